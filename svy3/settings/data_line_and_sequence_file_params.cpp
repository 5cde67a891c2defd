#include "svy3/settings/data_line_and_sequence_file_params.h"

#include <cctype>
#include <climits>

#include "svy3/platform/path_text.h"

namespace ZAR {
namespace {

std::string ToUpper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Value of the decimal digits at the start of text[first, last); 0 when there are none. Large
// values stop at INT32_MAX.
int32_t LeadingDigits(const std::string& text, std::string::size_type first,
                      std::string::size_type last) {
    int64_t value = 0;
    for (auto i = first; i < last && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

CDataLineAndSequenceFileParams::~CDataLineAndSequenceFileParams() = default;

int CDataLineAndSequenceFileParams::Parse(const std::string& path) {
    const auto separator = LastSeparator(path);
    const std::string fileName = separator == std::string::npos ? path : path.substr(separator + 1);
    const auto dot = fileName.rfind('.');
    m_strBaseName = ToUpper(fileName.substr(0, dot));
    m_strExt = dot == std::string::npos ? std::string() : ToUpper(fileName.substr(dot));
    LineNumber = 0;
    SequenceNumber = 0;

    if (m_strExt == ".DT1" || m_strExt == ".HD") {
        const auto c = m_strBaseName.rfind('C');
        const auto b = m_strBaseName.rfind('B');
        if (c != std::string::npos && b != std::string::npos) {
            // A "B" before the "C" leaves an empty line span.
            LineNumber = LeadingDigits(m_strBaseName, c + 1, b);
            SequenceNumber = LeadingDigits(m_strBaseName, b + 1, m_strBaseName.size());
        }
    }
    if (LineNumber <= 0 && SequenceNumber <= 0) {
        LineNumber = 1;
        SequenceNumber = 1;
    }
    return 1;
}

bool CDataLineAndSequenceFileParams::operator<(const CDataLineAndSequenceFileParams& other) const {
    if (LineNumber != other.LineNumber)
        return LineNumber < other.LineNumber;
    if (SequenceNumber != other.SequenceNumber)
        return SequenceNumber < other.SequenceNumber;
    if (m_nTie != other.m_nTie && m_pTieFlag)
        *m_pTieFlag = 1;
    return false;
}

}  // namespace ZAR
