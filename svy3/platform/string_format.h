// printf-style formatting into a std::string.
#pragma once

#include <string>

namespace ZAR {

// Formats like snprintf and returns the whole text, however long.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
StringFormat(const char* format, ...);

}  // namespace ZAR
