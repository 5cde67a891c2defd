#include "svy3/platform/leading_number.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace ZAR {
namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Digits after optional blanks and sign, accumulated with saturation at [min, max].
template <class Int>
Int LeadingInteger(const char* text) {
    if (!text)
        return 0;
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    using Limits = std::numeric_limits<Int>;
    Int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const int digit = *text - '0';
        if (negative) {
            if (value < (Limits::min() + digit) / 10)
                return Limits::min();
            value = value * 10 - digit;
        } else {
            if (value > (Limits::max() - digit) / 10)
                return Limits::max();
            value = value * 10 + digit;
        }
    }
    return value;
}

// A plain decimal number, "-123.4567" (no exponent, at most 19 digits), whose digits as an integer
// are exact in a double and whose scale is an exact power of ten: one division, correctly rounded,
// gives the same value as strtod. False for anything else.
bool PlainDecimal(const char* text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = *text == '-';
    if (negative)
        ++text;
    uint64_t digits = 0;
    const char* start = text;
    for (unsigned digit; (digit = static_cast<unsigned char>(*text) - 0u - '0') <= 9; ++text)
        digits = digits * 10 + digit;
    int count = static_cast<int>(text - start), fraction = 0;
    if (*text == '.') {
        const char* point = ++text;
        for (unsigned digit; (digit = static_cast<unsigned char>(*text) - 0u - '0') <= 9; ++text)
            digits = digits * 10 + digit;
        fraction = static_cast<int>(text - point);
        count += fraction;
    }
    if (count == 0 || count > 19 || *text == 'e' || *text == 'E' || digits > (uint64_t(1) << 53))
        return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

int32_t LeadingInt32(const char* text) {
    return LeadingInteger<int32_t>(text);
}

int64_t LeadingInt64(const char* text) {
    return LeadingInteger<int64_t>(text);
}

double LeadingDouble(const char* text) {
    if (!text)
        return 0.0;
    while (IsBlank(*text))
        ++text;
    // The common case, a plain decimal number, through from_chars (no locale, no allocation);
    // it gives the same value as strtod. Signs and anything unusual go to strtod.
    const char* begin = text;
    if (*begin == '-' || (*begin >= '0' && *begin <= '9') || *begin == '.') {
        const bool hexadecimal = begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X');
        if (!hexadecimal) {
            double value = 0.0;
            if (PlainDecimal(begin, value))
                return value;
            // Only the characters a number can hold are handed over, so a long text is not scanned.
            const char* end = begin;
            while ((*end >= '0' && *end <= '9') || *end == '.' || *end == 'e' || *end == 'E' ||
                   *end == '+' || *end == '-')
                ++end;
            std::from_chars_result r = std::from_chars(begin, end, value);
            if (r.ec == std::errc())
                return value;
        }
    }
    return std::strtod(text, nullptr);
}

}  // namespace ZAR
