#include "svy3/xmlfile/attribute_text.h"

#include "svy3/platform/leading_number.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

std::string AttributeText(CSVYXmlFile& file, const char* name) {
    std::string text = name;
    file.GetNodeAttribute(text);
    return text;
}

double AttributeDouble(CSVYXmlFile& file, const char* name) {
    return LeadingDouble(AttributeText(file, name).c_str());
}

int32_t AttributeInt32(CSVYXmlFile& file, const char* name) {
    return LeadingInt32(AttributeText(file, name).c_str());
}

}  // namespace ZAR
