// Identifiers of short type texts (operation and file type identifiers of project documents).
#pragma once

#include <cstdint>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// 32-bit identifier of a text: the 32-bit FNV-1a hash of its bytes (offset basis 2166136261,
// prime 16777619), its bit pattern read as a signed integer. Equal texts give equal identifiers
// on every platform and in every run; the empty text gives -2128831035 (0x811C9DC5). Different
// texts may collide; no failure is signalled.
SVY3_API int32_t Str2UID(const std::string& text);

}  // namespace ZAR
