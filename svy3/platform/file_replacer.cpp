#include "svy3/platform/file_replacer.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ZAR {
namespace platform {
namespace {

const char kSuffix[] = ".svy3-";
constexpr size_t kSuffixLength = sizeof kSuffix - 1;
constexpr size_t kUniqueLength = 6;

std::atomic<ReplaceStep> g_failingStep{ReplaceStep::None};

bool Fails(ReplaceStep step) {
    return g_failingStep.load(std::memory_order_relaxed) == step;
}

// Writes through `write` into `file`, flushes, syncs and closes it; false when anything failed.
bool WriteAndClose(std::FILE* file, const std::function<bool(std::FILE*)>& write) {
    bool ok = write(file) && !Fails(ReplaceStep::Write);
    ok = std::fflush(file) == 0 && ok;
    ok = !std::ferror(file) && ok;
#if !defined(_WIN32)
    ok = ok && !Fails(ReplaceStep::Sync) && ::fsync(::fileno(file)) == 0;
#else
    ok = ok && !Fails(ReplaceStep::Sync) && _commit(_fileno(file)) == 0;
#endif
    ok = std::fclose(file) == 0 && ok;
    return ok && !Fails(ReplaceStep::Close);
}

// Whether `name` (a name in the folder of `base`) is a temporary file of a replacement of `base`.
bool IsTemporaryOf(const std::string& name, const std::string& base) {
    if (name.size() != base.size() + kSuffixLength + kUniqueLength ||
        name.compare(0, base.size(), base) != 0 ||
        name.compare(base.size(), kSuffixLength, kSuffix) != 0)
        return false;
    for (size_t i = base.size() + kSuffixLength; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// The folder part (with its separator, empty for none) and the name part of a path.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
#if defined(_WIN32)
    const size_t slash = path.find_last_of("\\/");
#else
    const size_t slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

void FailReplaceStepForTesting(ReplaceStep step) {
    g_failingStep.store(step, std::memory_order_relaxed);
}

#if defined(_WIN32)

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const auto parts = SplitPath(path);
    WIN32_FIND_DATAA found;
    const std::string pattern = path + kSuffix + "??????";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                IsTemporaryOf(found.cFileName, parts.second))
                DeleteFileA((parts.first + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::vector<char> name(path.begin(), path.end());
    const std::string suffix = std::string(kSuffix) + "XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    if (Fails(ReplaceStep::Create) || _mktemp_s(name.data(), name.size()) != 0)
        return false;
    std::FILE* file = std::fopen(name.data(), "wb");
    if (!file)
        return false;
    if (!WriteAndClose(file, write) || Fails(ReplaceStep::Rename) ||
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

// Removes the temporary files that killed replacements of `target` left in its folder.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st;
        if (IsTemporaryOf(entry->d_name, base) &&
            ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

void SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::string target = ResolveTarget(path);
    const auto parts = SplitPath(target);
    RemoveLeftovers(parts.first, parts.second);
    std::string pattern = target + kSuffix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (Fails(ReplaceStep::Create))
        return false;
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
    if (!WriteAndClose(file, write) || Fails(ReplaceStep::Rename) ||
        ::rename(name.data(), target.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    SyncFolder(parts.first);
    return true;
}

#endif

}  // namespace platform
}  // namespace ZAR
