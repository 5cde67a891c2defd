// Typed values of child elements and of the current element: numbers and flags as the editor
// writes and reads them.
#include <cmath>
#include <cstdio>
#include <sstream>

#include <boost/lexical_cast.hpp>

#include "svy3/editor/gpz_svy.h"

namespace ZAR {
namespace {

std::string Printf(const char* format, int precision, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return buffer;
}

// A float in general notation with 9 significant digits.
std::string FloatText(float value) {
    return Printf("%.*g", 9, value);
}

// A double narrowed to a float and written as a stream writes a float by default (6 significant
// digits), or with 17 significant digits. Infinities and NaN in the 17-digit form are spelled
// "infinity" and "nan", with a leading "-" when negative.
std::string DoubleText(double value, bool compact) {
    if (compact) {
        std::ostringstream os;
        os << static_cast<float>(value);
        return os.str();
    }
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-infinity" : "infinity";
    return Printf("%.*g", 17, value);
}

}  // namespace

bool GpzSvy::SetNodeVal(float value, const char* attribute) {
    return SetNodeTxt(FloatText(value), attribute);
}

bool GpzSvy::SetNodeVal(double value, const char* attribute) {
    return SetNodeTxt(DoubleText(value, m_bCompactNumbers), attribute);
}

bool GpzSvy::GetSubNodeText(std::string& text, const std::string& subNode, const char* attribute) {
    text.clear();
    bool first = true;
    if (!NextNode(first, subNode.c_str()))
        return false;
    const bool read = GetNodeTxt(text, attribute);
    ParentNode(nullptr);
    return read;
}

bool GpzSvy::SetSubNodeText(const std::string& text, const std::string& subNode,
                            const char* attribute) {
    if (!ChildNode(subNode.c_str(), eGpzFindOrCreate))
        return false;
    if (!SetNodeTxt(text, attribute))
        return false;
    return ParentNode(nullptr);
}

bool GpzSvy::GetSubNodeValue(int32_t& value, const std::string& subNode, const char* attribute) {
    std::string text;
    if (!GetSubNodeText(text, subNode, attribute))
        return false;
    value = boost::lexical_cast<int32_t>(text);
    return true;
}

bool GpzSvy::GetSubNodeValue(double& value, const std::string& subNode, const char* attribute) {
    std::string text;
    if (!GetSubNodeText(text, subNode, attribute))
        return false;
    value = boost::lexical_cast<double>(text);
    return true;
}

bool GpzSvy::GetSubNodeValue(bool& value, const std::string& subNode, const char* attribute) {
    std::string text;
    if (!GetSubNodeText(text, subNode, attribute))
        return false;
    if (text == "Y" || text == "y" || text == "1")
        value = true;
    else if (text == "N" || text == "n" || text == "0")
        value = false;
    else
        return false;
    return true;
}

bool GpzSvy::SetSubNodeValue(int32_t value, const std::string& subNode, const char* attribute) {
    return SetSubNodeText(std::to_string(value), subNode, attribute);
}

bool GpzSvy::SetSubNodeValue(uint32_t value, const std::string& subNode, const char* attribute) {
    return SetSubNodeText(std::to_string(value), subNode, attribute);
}

bool GpzSvy::SetSubNodeValue(float value, const std::string& subNode, const char* attribute) {
    return SetSubNodeText(FloatText(value), subNode, attribute);
}

bool GpzSvy::SetSubNodeValue(double value, const std::string& subNode, const char* attribute) {
    return SetSubNodeText(DoubleText(value, m_bCompactNumbers), subNode, attribute);
}

bool GpzSvy::SetSubNodeValue(bool value, const std::string& subNode, const char* attribute) {
    return SetSubNodeText(value ? "Y" : "N", subNode, attribute);
}

}  // namespace ZAR
