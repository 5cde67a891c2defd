#include "svy3/platform/file_replacer.h"

#include <cstdlib>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ZAR {
namespace platform {
namespace {

// Writes through `write` into `file`, flushes and closes it; false when anything failed.
bool WriteAndClose(std::FILE* file, const std::function<bool(std::FILE*)>& write) {
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = !std::ferror(file) && ok;
#if !defined(_WIN32)
    ok = ::fsync(::fileno(file)) == 0 && ok;
#endif
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

#if defined(_WIN32)

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".svy3-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    if (_mktemp_s(name.data(), name.size()) != 0)
        return false;
    std::FILE* file = std::fopen(name.data(), "wb");
    if (!file)
        return false;
    if (!WriteAndClose(file, write) ||
        !MoveFileExA(name.data(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(name.data());
        return false;
    }
    return true;
}

#else

namespace {

// The file that is really replaced: the target of a symbolic link, or the path itself.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

mode_t PermissionsFor(const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::string target = ResolveTarget(path);
    std::string pattern = target + ".svy3-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    ::fchmod(fd, PermissionsFor(target));
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(name.data());
        return false;
    }
    if (!WriteAndClose(file, write) || ::rename(name.data(), target.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    return true;
}

#endif

}  // namespace platform
}  // namespace ZAR
