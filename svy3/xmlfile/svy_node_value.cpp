#include "svy3/xmlfile/svy_node_value.h"

#include <cinttypes>
#include <cstdio>

#include "svy3/external/uid.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/string_format.h"

namespace ZAR {

int32_t CSVYNodeValue::m_bOk = 0;
std::string CSVYNodeValue::m_str;

namespace {

// The zero check: a value of 0 counts only when the text holds a written zero.
int32_t ZeroChecked(bool isZero, const std::string& text) {
    return !isZero || text.find('0') != std::string::npos ? 1 : 0;
}

template <class Int>
Int FromLeadingInteger(const char* text);
template <>
int16_t FromLeadingInteger<int16_t>(const char* text) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(LeadingInt32(text))));
}
template <>
int32_t FromLeadingInteger<int32_t>(const char* text) {
    return LeadingInt32(text);
}
template <>
uint32_t FromLeadingInteger<uint32_t>(const char* text) {
    return static_cast<uint32_t>(LeadingInt32(text));
}
template <>
int64_t FromLeadingInteger<int64_t>(const char* text) {
    return LeadingInt64(text);
}

}  // namespace

void CSVYNodeValue::SetErrFlag(int32_t* error) {
    if (error && !m_bOk)
        *error = 1;
}

int32_t CSVYNodeValue::ReadText(std::string& text, CSVYXmlFile* file, const char* attribute) {
    if (!file)
        return 0;
    if (attribute) {
        text = attribute;
        return file->GetNodeAttribute(text);
    }
    return file->GetNodeText(text);
}

int32_t CSVYNodeValue::WriteText(const std::string& text, CSVYXmlFile* file, const char* attribute,
                                 int32_t* error) {
    if (!file)
        m_bOk = 0;
    else if (attribute)
        m_bOk = file->SetNodeAttribute(attribute, text);
    else
        m_bOk = file->SetNodeText(text);
    SetErrFlag(error);
    return m_bOk;
}

int32_t CSVYNodeValue::Get(std::string& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    m_bOk = ReadText(value, file, attribute);
    SetErrFlag(error);
    return m_bOk;
}

template <class Int>
int32_t CSVYNodeValue::GetInteger(Int& value, CSVYXmlFile* file, const char* attribute,
                                  int32_t* error) {
    m_bOk = ReadText(m_str, file, attribute);
    if (m_bOk) {
        value = FromLeadingInteger<Int>(m_str.c_str());
        m_bOk = ZeroChecked(value == 0, m_str);
    }
    SetErrFlag(error);
    return m_bOk;
}

template <class Real>
int32_t CSVYNodeValue::GetReal(Real& value, CSVYXmlFile* file, const char* attribute,
                               int32_t* error) {
    m_bOk = ReadText(m_str, file, attribute);
    if (m_bOk) {
        value = static_cast<Real>(LeadingDouble(m_str.c_str()));
        m_bOk = ZeroChecked(value == 0, m_str);
    }
    SetErrFlag(error);
    return 1;
}

int32_t CSVYNodeValue::Get(int16_t& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return GetInteger(value, file, attribute, error);
}

int32_t CSVYNodeValue::Get(int32_t& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return GetInteger(value, file, attribute, error);
}

int32_t CSVYNodeValue::Get(uint32_t& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return GetInteger(value, file, attribute, error);
}

int32_t CSVYNodeValue::Get(int64_t& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return GetInteger(value, file, attribute, error);
}

int32_t CSVYNodeValue::Get(double& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return GetReal(value, file, attribute, error);
}

int32_t CSVYNodeValue::Get(float& value, CSVYXmlFile* file, const char* attribute, int32_t* error) {
    return GetReal(value, file, attribute, error);
}

int32_t CSVYNodeValue::GetUID(int32_t& value, CSVYXmlFile* file, const char* attribute,
                              int32_t* error) {
    m_bOk = ReadText(m_str, file, attribute);
    if (m_bOk)
        value = static_cast<int32_t>(Str2UID(m_str));
    SetErrFlag(error);
    return m_bOk;
}

int32_t CSVYNodeValue::Set(const std::string& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return WriteText(value, file, attribute, error);
}

int32_t CSVYNodeValue::Set(int32_t value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    m_str = StringFormat("%d", value);
    return WriteText(m_str, file, attribute, error);
}

int32_t CSVYNodeValue::SetUID(int32_t value, CSVYXmlFile* file, const char* attribute,
                              int32_t* error) {
    return Set(value, file, attribute, error);
}

int32_t CSVYNodeValue::Set(uint32_t value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    m_str = StringFormat("%u", value);
    return WriteText(m_str, file, attribute, error);
}

int32_t CSVYNodeValue::Set(int64_t value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    m_str = StringFormat("%" PRId64, value);
    return WriteText(m_str, file, attribute, error);
}

int32_t CSVYNodeValue::Set(double value, CSVYXmlFile* file, const char* attribute, int32_t* error) {
    m_str = StringFormat("%f", value);
    return WriteText(m_str, file, attribute, error);
}

int32_t CSVYNodeValue::Set(const SMeasure& value, CSVYXmlFile* file, const char* attribute,
                           int32_t* error) {
    return Set(value.value, file, attribute, error);
}

}  // namespace ZAR
