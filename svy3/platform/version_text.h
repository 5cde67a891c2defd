// Copying a module version text into a caller's buffer.
#pragma once

#include <cstdint>

namespace ZAR {
namespace platform {

// Copies `text` into `buffer` of `size` bytes the way every module version function does: the
// copy is limited to size - 1 bytes and the last byte of the buffer always receives a terminator,
// so the whole text arrives only when size is at least its length plus 2. A smaller buffer is
// left holding the empty text. Nothing is written when buffer is null or size is not positive.
void CopyVersionText(const char* text, char* buffer, int32_t size);

// Copies `text` into `buffer` of `size` bytes, cut to size - 1 characters when it is longer, and
// terminates it in the last byte. Nothing is written when buffer is null or size is not positive.
void CopyVersionTextTruncated(const char* text, char* buffer, int32_t size);

}  // namespace platform
}  // namespace ZAR
