#include "svy3/external/cfile.h"

#include <cctype>
#include <cstring>

namespace ZAR {
namespace cfile {
namespace {

constexpr std::size_t kMaxNameBytes = 255;

bool IsIllegalCharacter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 32 || std::strchr("<>:\"|?*/\\", c) != nullptr;
}

bool IsBlankOrDot(char c) {
    return c == ' ' || c == '.';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, alone or as the part before the first dot.
bool IsReservedDeviceName(const std::string& name) {
    const std::string base = name.substr(0, name.find('.'));
    std::string upper;
    for (char c : base)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
        return true;
    return upper.size() == 4 &&
           (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

bool IsLegalElement(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameBytes || name == "." || name == "..")
        return false;
    for (char c : name)
        if (IsIllegalCharacter(c))
            return false;
    if (IsBlankOrDot(name.back()))
        return false;
    return !IsReservedDeviceName(name);
}

// Length of the longest prefix of at most `limit` bytes that does not split a UTF-8 sequence.
std::size_t Utf8Boundary(const std::string& text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    std::size_t cut = limit;
    // Step back over continuation bytes (10xxxxxx) to the start of the character that is cut.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

}  // namespace

bool IsLegalFilename(const std::string& name, bool allowSeparators) {
    if (!allowSeparators)
        return IsLegalElement(name);
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("/\\", begin);
        if (!IsLegalElement(name.substr(begin, end == std::string::npos ? end : end - begin)))
            return false;
        if (end == std::string::npos)
            return true;
        begin = end + 1;
    }
}

bool SanitizeName(std::string& name, bool replaceCharacters) {
    if (IsLegalElement(name))
        return true;
    std::string repaired;
    repaired.reserve(name.size());
    for (char c : name) {
        if (!IsIllegalCharacter(c))
            repaired += c;
        else if (replaceCharacters)
            repaired += '_';
    }
    repaired.resize(Utf8Boundary(repaired, kMaxNameBytes));
    while (!repaired.empty() && IsBlankOrDot(repaired.back()))
        repaired.pop_back();
    if (IsReservedDeviceName(repaired)) {
        repaired.insert(repaired.begin(), '_');
        if (repaired.size() > kMaxNameBytes)
            repaired.resize(Utf8Boundary(repaired, kMaxNameBytes));
        while (!repaired.empty() && IsBlankOrDot(repaired.back()))
            repaired.pop_back();
    }
    if (!IsLegalElement(repaired))
        return false;
    name = repaired;
    return true;
}

}  // namespace cfile
}  // namespace ZAR
