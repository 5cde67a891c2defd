// CDataLineAndSequenceFileParams: the line and sequence numbers of a radar data file, taken from
// its file name, by which a selection of data files is put in order.
#pragma once

#include <cstdint>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// Name parts of one data file. A radar file name carries its numbers as "...C<line>B<sequence>",
// at the last "C" and the last "B" of the base name: LINE__C12B003.DT1 is line 12, sequence 3.
class SVY3_API CDataLineAndSequenceFileParams {
  public:
    CDataLineAndSequenceFileParams() = default;
    CDataLineAndSequenceFileParams(const CDataLineAndSequenceFileParams&) = default;
    CDataLineAndSequenceFileParams& operator=(const CDataLineAndSequenceFileParams&) = default;
    virtual ~CDataLineAndSequenceFileParams();

    // Fills the record from a file path (split at "\" and "/"): base name and extension (with its
    // dot, empty when the name has none), both upper-cased; for ".DT1" and ".HD" files the line
    // number between the last "C" and the last "B" and the sequence number after that "B" (leading
    // decimal digits, 0 when there are none). When both numbers are 0 or less, both become 1, so a
    // name without the pattern, and a file of any other kind, is line 1, sequence 1. Returns 1.
    int Parse(const std::string& path);

    // Line number first, then sequence number. Records with equal numbers are equal; when their
    // tie values differ and this record's tie flag pointer is set, 1 is stored through it.
    bool operator<(const CDataLineAndSequenceFileParams& other) const;

    int32_t SequenceNumber = 0;
    int32_t LineNumber = 0;
    int32_t m_nTie = 0;             // tie value, compared only to raise the tie flag
    std::string m_strBaseName;      // base name without folder and extension, upper case
    std::string m_strExt;           // extension with its dot, upper case
    int32_t* m_pTieFlag = nullptr;  // borrowed; receives 1 when a tie is met
};

}  // namespace ZAR
