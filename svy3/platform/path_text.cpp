#include "svy3/platform/path_text.h"

#include <algorithm>

namespace ZAR {

std::string ToFileSystemPath(const std::string& documentPath) {
#if defined(_WIN32)
    return documentPath;
#else
    std::string path = documentPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
#endif
}

std::string::size_type LastSeparator(const std::string& path) {
    // Windows takes both separators too, so one rule serves every platform.
    return path.find_last_of("\\/");
}

}  // namespace ZAR
