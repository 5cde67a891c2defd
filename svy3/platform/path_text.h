// Paths as project documents hold them (Windows form, backslashes) and as the file system takes
// them.
#pragma once

#include <string>

namespace ZAR {

// A document's path text turned into a path for this platform's file system: on POSIX every
// backslash becomes a slash; on Windows the text is unchanged.
std::string ToFileSystemPath(const std::string& documentPath);

// Position of the last path separator of `path` (a backslash or a slash), or
// std::string::npos when it has none.
std::string::size_type LastSeparator(const std::string& path);

}  // namespace ZAR
