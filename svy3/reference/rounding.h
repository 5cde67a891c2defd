// How a trace index computed from a distance is turned into a whole index.
#pragma once

#include <cstdint>

namespace ZAR {

// Rounding of a trace index. Any value other than the four below behaves as RoundNone.
enum ERounding : int32_t {
    RoundNone = 0,     // keep the fractional index
    RoundDown = 1,     // floor: largest whole number not above the index
    RoundUp = 2,       // ceiling: smallest whole number not below the index
    RoundNearest = 3,  // floor(index + 0.5): halves go up, also for negative indices (-2.5 -> -2)
};

}  // namespace ZAR
