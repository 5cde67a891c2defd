// File tests the XML layer makes before it loads or saves a document.
#pragma once

#include <string>

namespace ZAR {
namespace platform {

// True when the existing file at `path` can be opened for reading and writing. The file is closed
// again at once and left as it was; a missing file or a folder gives false.
bool CanOpenForWriting(const std::string& path);

// True when `path` can be written: an existing file must open for reading and writing (it is not
// truncated), a missing one is created empty. `created` tells whether the test created the file,
// so that a caller whose write then fails can remove it again.
bool CanCreateForWriting(const std::string& path, bool& created);

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& path);

}  // namespace platform
}  // namespace ZAR
