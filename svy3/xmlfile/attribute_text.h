// Attribute reads with the cursor's in-out convention, as the block readers use them. Internal to
// the library.
#pragma once

#include <cstdint>
#include <string>

namespace ZAR {

class CSVYXmlFile;

// The current element's attribute `name` as text; a missing attribute reads as its own name, so
// that a number parsed from it is 0.
std::string AttributeText(CSVYXmlFile& file, const char* name);
// The leading floating-point number of the attribute's text (0 when missing).
double AttributeDouble(CSVYXmlFile& file, const char* name);
// The leading integer of the attribute's text (0 when missing).
int32_t AttributeInt32(CSVYXmlFile& file, const char* name);

}  // namespace ZAR
