// Replacing a file's contents so that a failed or interrupted write never destroys the previous
// file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace ZAR {
namespace platform {

// Writes new contents for `path`: `write` fills a temporary file in the same folder, named after
// the file with the suffix ".svy3-" and six letters or digits, which is flushed, synced, closed and
// renamed over `path` (over the file a symbolic link points to, when `path` is one); the folder is
// then synced so that the new name survives a power cut (where the file system allows it; a folder
// that cannot be synced does not fail the replacement). An existing file keeps its permissions.
// Temporary files of that naming for the same file, left by a replacement that was killed, are
// removed first; two processes saving the same file at the same moment may therefore fail one of
// the saves, never the file. Returns true when the new contents are in place; on any failure
// (`write` returning false included) the temporary file is removed and `path` is as it was.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The steps of a replacement that can fail, in order.
enum class ReplaceStep { None, Create, Write, Sync, Close, Rename };

// Test seam: every following replacement fails at `step` as if the system had refused it (the step
// is not carried out, except that a file is always closed), until called with ReplaceStep::None.
void FailReplaceStepForTesting(ReplaceStep step);

}  // namespace platform
}  // namespace ZAR
