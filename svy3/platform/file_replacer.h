// Replacing a file's contents so that a failed write never destroys the previous file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace ZAR {
namespace platform {

// Writes new contents for `path`: `write` fills a temporary file in the same folder, which is then
// renamed over `path` (over the file a symbolic link points to, when `path` is one). An existing
// file keeps its permissions. Returns true when the new contents are in place; on any failure
// (`write` returning false included) the temporary file is removed and `path` is as it was.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

}  // namespace platform
}  // namespace ZAR
