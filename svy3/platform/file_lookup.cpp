#include "svy3/platform/file_lookup.h"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <cctype>

namespace ZAR {
namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string FindFileIgnoringCase(const std::string& path) {
    namespace fs = boost::filesystem;
    boost::system::error_code ec;
    const fs::path wanted(path);
    // A missing file reports "no such file" in `ec`; any other status error ends the search.
    const fs::file_status status = fs::status(wanted, ec);
    if (fs::exists(status) || status.type() == fs::status_error)
        return path;
    ec.clear();
    const fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    const std::string name = wanted.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (EqualIgnoringCase(it->path().filename().string(), name))
            return (wanted.has_parent_path() ? folder / it->path().filename()
                                             : it->path().filename())
                .string();
    }
    return path;
}

}  // namespace ZAR
