// Orderings of the data block reader. Internal to the library.
#pragma once

#include <cmath>

namespace ZAR {

// a < b, with NaN placed after every number, so that sorting never meets an inconsistent order.
inline bool OrderedLess(double a, double b) {
    if (std::isnan(a))
        return false;
    if (std::isnan(b))
        return true;
    return a < b;
}

}  // namespace ZAR
