// CSVYNodeValue: typed reads and writes of the current node's text or of one of its attributes.
#pragma once

#include <cstdint>
#include <string>

#include "svy3/external/measure.h"
#include "svy3/platform/export.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

// Every operation reads or writes through `file`'s current node, which does not move. With
// `attribute` null the node's text is used (the text rule for reading; CSVYXmlFile::SetNodeText for
// writing), otherwise that attribute of the node. On failure 1 is stored through `error` when it
// is not null; success leaves it untouched, so one flag collects the failures of many calls.
//
// The outcome of the last call is in m_bOk (1 success, 0 failure) and its text in m_str; both
// are shared by the whole process, so calls must not run concurrently.
//
// Numbers are read by leading-number conversion (as atoi/atof; integers saturate at the signed
// 32-bit range, or the 64-bit range for 64-bit reads, before narrowing). A number read whose value
// is 0 succeeds only when the text contains the character '0', so a text without a number fails
// while a written zero succeeds. A failed read leaves the value as it was, except that a string
// read of a missing attribute leaves the attribute's name in the value.
class SVY3_API CSVYNodeValue {
  public:
    CSVYNodeValue() = default;
    CSVYNodeValue(const CSVYNodeValue&) = default;
    CSVYNodeValue& operator=(const CSVYNodeValue&) = default;
    virtual ~CSVYNodeValue() = default;

    // Reads the text itself. Returns m_bOk.
    static int32_t Get(std::string& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads a leading integer and keeps its low 16 bits. Returns m_bOk.
    static int32_t Get(int16_t& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads a leading integer. Returns m_bOk.
    static int32_t Get(int32_t& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads a leading signed 32-bit integer and keeps its bits. Returns m_bOk.
    static int32_t Get(uint32_t& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads a leading 64-bit integer. Returns m_bOk.
    static int32_t Get(int64_t& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads a leading floating-point number. Always returns 1: the outcome is in m_bOk and the
    // flag.
    static int32_t Get(double& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // As the double read, rounded to single precision. Always returns 1.
    static int32_t Get(float& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Reads an identifier text and turns it into its 32-bit identifier (Str2UID). Returns m_bOk.
    static int32_t GetUID(int32_t& value, CSVYXmlFile* file, const char* attribute = nullptr,
                          int32_t* error = nullptr);

    // Writes the text itself. Returns m_bOk.
    static int32_t Set(const std::string& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Writes "%d". Returns m_bOk.
    static int32_t Set(int32_t value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Writes an identifier as "%d". Returns m_bOk.
    static int32_t SetUID(int32_t value, CSVYXmlFile* file, const char* attribute = nullptr,
                          int32_t* error = nullptr);
    // Writes "%u". Returns m_bOk.
    static int32_t Set(uint32_t value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Writes the decimal 64-bit value, with a sign only when negative. Returns m_bOk.
    static int32_t Set(int64_t value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Writes "%f" (six decimals). Returns m_bOk.
    static int32_t Set(double value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);
    // Writes the measure's value with "%f"; the unit is not written. Returns m_bOk.
    static int32_t Set(const SMeasure& value, CSVYXmlFile* file, const char* attribute = nullptr,
                       int32_t* error = nullptr);

    static int32_t m_bOk;      // outcome of the last operation
    static std::string m_str;  // the last text read or the last number formatted

  private:
    static void SetErrFlag(int32_t* error);
    static int32_t ReadText(std::string& text, CSVYXmlFile* file, const char* attribute);
    static int32_t WriteText(const std::string& text, CSVYXmlFile* file, const char* attribute,
                             int32_t* error);
    template <class Int>
    static int32_t GetInteger(Int& value, CSVYXmlFile* file, const char* attribute, int32_t* error);
    template <class Real>
    static int32_t GetReal(Real& value, CSVYXmlFile* file, const char* attribute, int32_t* error);
};

}  // namespace ZAR
