// What the fuzz targets share: a scratch path of their own, the input written to it, and no
// message boxes.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "svy3/platform/message_box.h"

namespace svy3_fuzz {

// "/tmp/svy3-fuzz-<name>-<process id><suffix>": one per target and process.
inline std::string ScratchPath(const std::string& name, const std::string& suffix) {
    return "/tmp/svy3-fuzz-" + name + "-" + std::to_string(getpid()) + suffix;
}

// Writes the input to `path`; false when it cannot be written.
inline bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// Message boxes would print on every input: they go nowhere for the whole run.
inline void QuietMessageBoxes() {
    static const bool quiet = [] {
        ZAR::SetMessageBoxHandler([](const std::string&, ZAR::MessageIcon) {});
        return true;
    }();
    (void)quiet;
}

}  // namespace svy3_fuzz
