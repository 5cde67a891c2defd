#include "svy3/xmlfile/attribute_text.h"

#include "svy3/platform/leading_number.h"
#include "svy3/xmlfile/direct_read.h"

namespace ZAR {

// The value is read in place; where the cursor's read would fail the name stands for it.
static const char* ValueOrName(CSVYXmlFile& file, const char* name) {
    const char* value = AttributeValue(CursorNode(file), name);
    return value ? value : name;
}

std::string AttributeText(CSVYXmlFile& file, const char* name) {
    return ValueOrName(file, name);
}

double AttributeDouble(CSVYXmlFile& file, const char* name) {
    return LeadingDouble(ValueOrName(file, name));
}

int32_t AttributeInt32(CSVYXmlFile& file, const char* name) {
    return LeadingInt32(ValueOrName(file, name));
}

}  // namespace ZAR
