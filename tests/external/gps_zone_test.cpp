#include "svy3/external/gps_zone.h"

#include <gtest/gtest.h>

namespace {

using ZAR::CGps;

TEST(GpsZone, ReadsZoneTextsAndRefusesOthers) {
    const struct {
        const char* text;
        int number;
        char letter;
    } cases[] = {{"17T", 17, 'T'}, {"17 t", 17, 'T'}, {" 7c ", 7, 'C'},
                 {"07T", 7, 'T'},  {"60X", 60, 'X'},  {"1M", 1, 'M'}};
    for (const auto& c : cases) {
        const auto zone = CGps::Zone(std::string(c.text));
        ASSERT_TRUE(zone) << c.text;
        EXPECT_EQ(*zone, std::make_pair(c.number, c.letter)) << c.text;
    }
    for (const char* text : {"", "0Z", "0C", "61C", "17I", "17O", "17A", "17Y", "17", "T", "17TT",
                             "17  T", "-1C", "123C", "1 7T", "+7T"})
        EXPECT_FALSE(CGps::Zone(std::string(text))) << "'" << text << "'";
}

TEST(GpsZone, FormatAndReadAreInverse) {
    int count = 0;
    for (int number = 1; number <= 60; ++number)
        for (char letter = 'C'; letter <= 'X'; ++letter) {
            if (letter == 'I' || letter == 'O')
                continue;
            const auto back = CGps::Zone(CGps::Zone(std::make_pair(number, letter)));
            ASSERT_TRUE(back) << number << letter;
            EXPECT_EQ(*back, std::make_pair(number, letter));
            ++count;
        }
    EXPECT_EQ(count, 60 * 20);
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
