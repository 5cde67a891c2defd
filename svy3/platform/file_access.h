// File tests the XML layer makes before it loads or saves a document.
#pragma once

#include <string>

namespace ZAR {
namespace platform {

// True when the existing file at `path` can be opened for reading and writing. The file is closed
// again at once and left as it was; a missing file or a folder gives false.
bool CanOpenForWriting(const std::string& path);

// True when `path` can be written by replacing it: an existing file must open for reading and
// writing (it is not truncated), and for a missing one its folder must exist and be writable.
// Nothing is created.
bool CanSaveTo(const std::string& path);

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& path);

}  // namespace platform
}  // namespace ZAR
