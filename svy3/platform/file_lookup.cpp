#include "svy3/platform/file_lookup.h"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <cctype>

#include "svy3/platform/text.h"

namespace ZAR {
std::string FindFileIgnoringCase(const std::string& path) {
    namespace fs = boost::filesystem;
    boost::system::error_code ec;
    const fs::path wanted(path);
    const fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    const std::string name = wanted.filename().string();
    auto inFolder = [&](const std::string& entry) {
        return (wanted.has_parent_path() ? folder / entry : fs::path(entry)).string();
    };

    // The written name and its usual spellings first: a folder of thousands of radar files is
    // read only when none of them exists. A missing file reports "no such file" in `ec`; any
    // other status error ends the search.
    const std::string stem = wanted.stem().string(), ext = wanted.extension().string();
    for (const std::string& candidate :
         {name, stem + ToLower(ext), stem + ToUpper(ext), ToUpper(name), ToLower(name)}) {
        const fs::file_status status = fs::status(inFolder(candidate), ec);
        if (fs::exists(status))
            return inFolder(candidate);
        if (status.type() == fs::status_error)
            return path;
    }
    ec.clear();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (EqualIgnoringCase(it->path().filename().string(), name))
            return inFolder(it->path().filename().string());
    }
    return path;
}

}  // namespace ZAR
