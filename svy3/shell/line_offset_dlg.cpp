#include "svy3/shell/line_offset_dlg.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "svy3/platform/message_box.h"
#include "svy3/shell/line_offset_prompt.h"

namespace ZAR {
namespace {

enum class ParseResult { Ok, NotANumber, OutOfRange };

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Shortest decimal text that reads back as exactly `value`.
std::string FormatOffset(double value) {
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc())
        return std::string();
    return std::string(buffer, result.ptr);
}

// For a complete decimal number that lies outside the range of a double: true when its magnitude
// is below 1 (it is too small and reads as zero), false when it is too large.
bool IsBelowOne(const char* p, const char* last) {
    if (p != last && *p == '-')
        ++p;
    long long order = 0;  // decimal order of the first significant digit of the mantissa
    bool significant = false;
    bool fraction = false;
    for (; p != last && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            fraction = true;
        } else if (!significant) {
            if (fraction)
                --order;  // every fraction digit up to the first significant one
            significant = *p != '0';
        } else if (!fraction) {
            ++order;  // every further integer digit
        }
    }
    long long exponent = 0;
    bool negative = false;
    if (p != last)
        ++p;  // the exponent mark
    if (p != last && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    for (; p != last; ++p)
        if (exponent < 1000000000000LL)
            exponent = exponent * 10 + (*p - '0');
    return order + (negative ? -exponent : exponent) < 0;
}

// Reads the edit box the way the dialog's data exchange does: one finite decimal number with
// optional blanks around it and an optional sign, in the accepted range.
ParseResult ParseOffset(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && IsBlank(*first))
        ++first;
    while (last != first && IsBlank(last[-1]))
        --last;
    // from_chars takes a minus sign but no plus sign; "+-1" stays refused.
    if (first != last && *first == '+' && (last - first < 2 || first[1] != '-'))
        ++first;
    if (first == last)
        return ParseResult::NotANumber;

    double parsed = 0.0;
    const std::from_chars_result result =
        std::from_chars(first, last, parsed, std::chars_format::general);
    if (result.ptr != last)
        return ParseResult::NotANumber;
    if (result.ec == std::errc::result_out_of_range) {
        // A number beyond what a double holds: too large is out of range, too small is zero.
        if (!IsBelowOne(first, last))
            return ParseResult::OutOfRange;
        parsed = 0.0;
    } else if (result.ec != std::errc() || !std::isfinite(parsed)) {
        return ParseResult::NotANumber;  // "nan", "inf" and the like
    }
    if (parsed < CLineOffsetDlg::kMinOffset || parsed > CLineOffsetDlg::kMaxOffset)
        return ParseResult::OutOfRange;
    value = parsed + 0.0;  // "-0" becomes 0
    return ParseResult::Ok;
}

}  // namespace

int CLineOffsetDlg::DoModal() {
    std::string text = FormatOffset(m_dOffset);
    for (;;) {
        if (!AskLineOffsetPrompt(text))
            return IDCANCEL;
        double value = 0.0;
        switch (ParseOffset(text, value)) {
            case ParseResult::Ok:
                m_dOffset = value;
                return IDOK;
            case ParseResult::NotANumber:
                ShowMessageBox(kNotANumberMessage, MessageIcon::Exclamation);
                break;
            case ParseResult::OutOfRange:
                ShowMessageBox(kOutOfRangeMessage, MessageIcon::Exclamation);
                break;
        }
    }
}

}  // namespace ZAR
