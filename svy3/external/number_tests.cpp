#include "svy3/external/number_tests.h"

#include <cmath>

namespace ZAR {

bool IsNaN(double value) {
    return std::isnan(value);
}

}  // namespace ZAR
