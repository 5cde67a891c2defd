// Small text helpers: letter case of ASCII texts (file extensions, kinds and unit names are
// compared without regard to case) and trimming.
#pragma once

#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// True when the texts are equal with ASCII letters compared without regard to case.
SVY3_API bool EqualIgnoringCase(const std::string& a, const std::string& b);
// The text with ASCII letters in lower case.
SVY3_API std::string ToLower(std::string text);
// The text with ASCII letters in upper case.
SVY3_API std::string ToUpper(std::string text);
// The text without the characters of `blanks` at either end.
SVY3_API std::string Trim(const std::string& text, const char* blanks = " \t\r\n\v\f");

}  // namespace ZAR
