#include "svy3/platform/file_access.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ZAR {
namespace platform {

#if defined(_WIN32)

namespace {
std::wstring Widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    return wide;
}
}  // namespace

bool CanOpenForWriting(const std::string& path) {
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

bool CanCreateForWriting(const std::string& path, bool& created) {
    created = false;
    std::wstring wide = Widen(path);
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    CloseHandle(h);
    return true;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}

#else

namespace {
bool IsRegularFile(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}
}  // namespace

bool CanOpenForWriting(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = IsRegularFile(fd);
    ::close(fd);
    return ok;
}

bool CanCreateForWriting(const std::string& path, bool& created) {
    created = false;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        created = true;
    }
    bool ok = IsRegularFile(fd);
    ::close(fd);
    return ok;
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

#endif

}  // namespace platform
}  // namespace ZAR
