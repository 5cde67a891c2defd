// The small platform helpers: message boxes, printf-style texts, file names in any case and
// leading numbers.
#include <gmock/gmock.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/message_box.h"
#include "svy3/platform/string_format.h"

namespace {

using testing::ElementsAre;
using testing::Pair;

TEST(MessageBox, HandlerReceivesTextAndIconIsRestoredAndDefaultWritesToStandardError) {
    {
        svy3_test::MessageBoxCapture capture;
        ZAR::ShowMessageBox("shown", ZAR::MessageIcon::None);
        EXPECT_THAT(capture.messages(), ElementsAre(Pair("shown", ZAR::MessageIcon::None)));
    }
    // The capture put the default back: an empty handler is what was installed before it.
    EXPECT_FALSE(ZAR::SetMessageBoxHandler({}));
    testing::internal::CaptureStderr();
    ZAR::ShowMessageBox("to stderr", ZAR::MessageIcon::Exclamation);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
}

// Texts that fit the function's own small buffer and texts that need a second pass.
TEST(StringFormat, ShortAndLongTextsComeOutWhole) {
    for (size_t length : {0u, 62u, 63u, 64u, 300u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(ZAR::StringFormat("%s|%d", text.c_str(), 5), text + "|5") << length;
    }
}

TEST(FileLookup, FindsNamesThatDifferOnlyInLetterCase) {
    svy3_test::TempDir dir;
    for (const char* name : {"LINE01.HD", "Mixed.Hd", "exact.hd"})
        svy3_test::WriteFile(dir.File(name), "x");
    // Wanted and found; the last by a scan of the folder. Nothing matches: the path comes back
    // unchanged, also in a missing folder.
    const std::pair<const char*, const char*> cases[] = {
        {"exact.hd", "exact.hd"}, {"LINE01.hd", "LINE01.HD"},   {"line01.hd", "LINE01.HD"},
        {"other.hd", "other.hd"}, {"no/such.hd", "no/such.hd"}, {"MIXED.HD", "Mixed.Hd"}};
    for (const auto& [wanted, found] : cases)
        EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File(wanted)), dir.File(found));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(""), "");
}

TEST(LeadingInteger, BlanksSignDigitsAndSaturation) {
    const std::tuple<const char*, int32_t, int64_t> cases[] = {
        {" \t\n\v\f\r-42x", -42, -42},
        {"+7", 7, 7},
        {"x5", 0, 0},
        {"", 0, 0},
        {nullptr, 0, 0},
        {"2147483648", INT32_MAX, 2147483648},
        {"-2147483649", INT32_MIN, -2147483649},
        {"-9223372036854775809", INT32_MIN, INT64_MIN},
        {"99999999999999999999", INT32_MAX, INT64_MAX}};
    for (const auto& [text, int32, int64] : cases) {
        EXPECT_EQ(ZAR::LeadingInt32(text), int32) << (text ? text : "null");
        EXPECT_EQ(ZAR::LeadingInt64(text), int64) << (text ? text : "null");
    }
}

TEST(LeadingDouble, DecimalsReadAsStrtodReadsThem) {
    // The edges of the quick path: 19 and 20 digits, digits around 2^53, no digits before or
    // after the point, exponents, hexadecimal, blanks, and texts without a number.
    std::istringstream edges(
        "9007199254740992|9007199254740993|900719925474099.3|1234567890123456789|"
        "12345678901234567890|0.1234567890123456789|1.00000000000000000001|.5|-.5|5.|-0|-0.000|"
        "000000000000000000000001.5|1e3|1.5E-3|2.5e|7.25.3|1-2|0x1A|  "
        "42.125|\t-3.5|\r7|\n\v\f9|-|.|-.||NA|"
        "inf|nan|1.7976931348623157e308|4.9e-324|0.30000000000000004|123456.789012345678");
    std::vector<std::string> texts;
    for (std::string edge; std::getline(edges, edge, '|');)
        texts.push_back(edge);
    // Numbers as documents write them: fixed decimals of every precision and size, with signs,
    // leading blanks and trailing text, generated from a fixed seed.
    std::mt19937_64 next(0x9E3779B97F4A7C15u);
    char text[128];
    for (int i = 0; i < 20000; ++i) {
        const double magnitude =
            std::ldexp(static_cast<double>(next() >> 11), -static_cast<int>(next() % 80));
        const int precision = static_cast<int>(next() % 21);
        const char* sign = next() % 3 == 0 ? "-" : "";
        const char* tail = next() % 4 == 0 ? "m\"" : "";
        std::snprintf(text, sizeof text, "%s%.*f%s", sign, precision, magnitude, tail);
        texts.push_back(text);
    }
    for (const std::string& t : texts) {
        // Same bits as strtod gives (so -0.0 and 0.0 differ).
        const double expected = std::strtod(t.c_str(), nullptr),
                     read = ZAR::LeadingDouble(t.c_str());
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0)
            << '"' << t << "\" read as " << read << ", strtod " << expected;
    }
}

}  // namespace
