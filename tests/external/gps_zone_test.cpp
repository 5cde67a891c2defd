#include "svy3/external/gps_zone.h"

#include <gtest/gtest.h>

namespace {

using ZAR::CGps;

TEST(GpsZone, ReadsZoneTextsAndRefusesOthers) {
    // Blanks around the text and one between, either letter case, a leading zero; plain texts
    // such as "17T" are read in the round trip below.
    const std::pair<const char*, std::pair<int, char>> read[] = {
        {"17 t", {17, 'T'}}, {" 7c\t", {7, 'C'}}, {"07T", {7, 'T'}}};
    for (const auto& [text, zone] : read) {
        const auto got = CGps::Zone(std::string(text));
        ASSERT_TRUE(got) << text;
        EXPECT_EQ(*got, zone) << text;
    }
    for (const char* text : {"", "0Z", "0C", "61C", "17I", "17O", "17A", "17Y", "17", "T", "17TT",
                             "17  T", "-1C", "123C", "1 7T", "+7T"})
        EXPECT_FALSE(CGps::Zone(std::string(text))) << "'" << text << "'";
}

TEST(GpsZone, FormatAndReadAreInverse) {
    for (int number = 1; number <= 60; ++number)
        for (char letter = 'C'; letter <= 'X'; ++letter) {
            if (letter == 'I' || letter == 'O')
                continue;
            const auto back = CGps::Zone(CGps::Zone(std::make_pair(number, letter)));
            ASSERT_TRUE(back) << number << letter;
            EXPECT_EQ(*back, std::make_pair(number, letter));
        }
    EXPECT_EQ(CGps::Zone(17, 'T'), "17T");
    EXPECT_EQ(CGps::Zone(5, 't'), "5T");
    // Invalid pairs give the empty text, which reads back as no zone.
    for (const auto& pair : {std::make_pair(0, 'T'), std::make_pair(61, 'T'),
                             std::make_pair(17, 'I'), std::make_pair(17, '\0')}) {
        EXPECT_EQ(CGps::Zone(pair), "") << pair.first;
        EXPECT_FALSE(CGps::Zone(CGps::Zone(pair)));
    }
}

}  // namespace
