// Tests on numbers read from documents and headers.
#pragma once

#include "svy3/platform/export.h"

namespace ZAR {

// True when `value` is not a number (a NaN of either sign or payload). Infinities are numbers.
SVY3_API bool IsNaN(double value);

}  // namespace ZAR
