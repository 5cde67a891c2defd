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
    if (fs::exists(wanted, ec) || ec)
        return path;
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
