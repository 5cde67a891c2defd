// Leading-number conversions of document texts, with the semantics of atoi and atof: leading
// blanks are skipped, the conversion stops at the first character that cannot continue the
// number, and a text without a number gives 0. Internal to the library.
#pragma once

#include <cstdint>

namespace ZAR {

// Leading decimal integer, saturated at the limits of the signed 32-bit range.
int32_t LeadingInt32(const char* text);
// Leading decimal integer, saturated at the limits of the signed 64-bit range.
int64_t LeadingInt64(const char* text);
// Leading floating-point number (decimal with optional exponent, as strtod reads it).
double LeadingDouble(const char* text);

}  // namespace ZAR
