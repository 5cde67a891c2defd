#include "svy3/platform/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Same bits as strtod gives (so -0.0 and 0.0 differ).
void ExpectAsStrtod(const std::string& text) {
    const double expected = std::strtod(text.c_str(), nullptr);
    const double read = ZAR::LeadingDouble(text.c_str());
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0)
        << '"' << text << "\" read as " << read << ", strtod " << expected;
}

TEST(LeadingDouble, DecimalsReadAsStrtodReadsThem) {
    // Numbers as documents write them: fixed decimals of every precision and size, with signs,
    // leading blanks and trailing text, generated from a fixed seed.
    uint64_t state = 0x9E3779B97F4A7C15u;
    auto next = [&state]() {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return state >> 11;
    };
    std::vector<std::string> texts;
    char text[128];
    for (int i = 0; i < 20000; ++i) {
        const double magnitude =
            std::ldexp(static_cast<double>(next()), -static_cast<int>(next() % 80));
        const int precision = static_cast<int>(next() % 21);
        const char* sign = next() % 3 == 0 ? "-" : "";
        const char* tail = next() % 4 == 0 ? "m\"" : "";
        std::snprintf(text, sizeof text, "%s%.*f%s", sign, precision, magnitude, tail);
        texts.push_back(text);
    }
    // The edges of the quick path: 19 and 20 digits, digits around 2^53, no digits before or
    // after the point, exponents, hexadecimal, blanks, and texts without a number.
    std::istringstream edges(
        "9007199254740992|9007199254740993|900719925474099.3|1234567890123456789|"
        "12345678901234567890|0.1234567890123456789|1.00000000000000000001|.5|-.5|5.|-0|-0.000|"
        "000000000000000000000001.5|1e3|1.5E-3|2.5e|7.25.3|1-2|0x1A|  42.125|\t-3.5|-|.|-.||NA|"
        "inf|nan|1.7976931348623157e308|4.9e-324|0.30000000000000004|123456.789012345678");
    for (std::string edge; std::getline(edges, edge, '|');)
        texts.push_back(edge);
    for (const auto& t : texts)
        ExpectAsStrtod(t);
}

}  // namespace
