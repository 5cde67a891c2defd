#include "svy3/platform/version_text.h"

#include <cstring>

namespace ZAR {
namespace platform {

void CopyVersionText(const char* text, char* buffer, int32_t size) {
    if (!buffer || size <= 0)
        return;
    const size_t length = std::strlen(text);
    if (length + 2 <= static_cast<size_t>(size))
        std::memcpy(buffer, text, length + 1);
    else
        buffer[0] = '\0';
    buffer[size - 1] = '\0';
}

void CopyVersionTextTruncated(const char* text, char* buffer, int32_t size) {
    if (!buffer || size <= 0)
        return;
    const size_t length = std::strlen(text);
    const size_t copied = length < static_cast<size_t>(size - 1) ? length : size - 1;
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    buffer[size - 1] = '\0';
}

}  // namespace platform
}  // namespace ZAR
