// ELineType: how a survey line runs, as derived from its positions.
#pragma once

#include <cstdint>

namespace ZAR {

enum ELineType : int32_t {
    eLineAny = -1,      // queries: any type
    eLineUnknown = 0,   // both X and Y vary along the line
    eLineReserved = 1,  // never derived; takes part in orders and queries
    eLineAlongX = 2,    // Y stays within the step size tolerance
    eLineAlongY = 3,    // X stays within the step size tolerance (also lines without positions)
};

}  // namespace ZAR
