#include "svy3/external/uid.h"

#include <cstring>

namespace ZAR {

int32_t Str2UID(const std::string& text) {
    uint32_t hash = 2166136261u;
    for (unsigned char byte : text) {
        hash ^= byte;
        hash *= 16777619u;
    }
    // The bit pattern unchanged; memcpy avoids relying on the out-of-range conversion.
    int32_t id = 0;
    std::memcpy(&id, &hash, sizeof id);
    return id;
}

}  // namespace ZAR
