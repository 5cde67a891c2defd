#include "svy3/external/gps_zone.h"

#include <cctype>

#include <boost/make_shared.hpp>

namespace ZAR {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

char CGps::BandLetter(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (upper < 'C' || upper > 'X' || upper == 'I' || upper == 'O')
        return '\0';
    return upper;
}

boost::shared_ptr<std::pair<int, char>> CGps::Zone(const std::string& text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i]))
        ++i;
    while (end > i && IsBlank(text[end - 1]))
        --end;
    // One or two digits, at most one blank, one letter, nothing else.
    int number = 0;
    std::size_t digits = 0;
    for (; i < end && IsDigit(text[i]) && digits < 2; ++i, ++digits)
        number = number * 10 + (text[i] - '0');
    if (digits == 0)
        return {};
    if (i < end && IsBlank(text[i]))
        ++i;
    if (i + 1 != end || number < 1 || number > 60)
        return {};
    const char letter = BandLetter(text[i]);
    if (letter == '\0')
        return {};
    return boost::make_shared<std::pair<int, char>>(number, letter);
}

std::string CGps::Zone(const std::pair<int, char>& zone) {
    const char letter = BandLetter(zone.second);
    if (zone.first < 1 || zone.first > 60 || letter == '\0')
        return std::string();
    return std::to_string(zone.first) + letter;
}

}  // namespace ZAR
