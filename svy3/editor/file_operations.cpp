#include "svy3/editor/file_operations.h"

#include <algorithm>

#include <boost/filesystem/operations.hpp>

#include "svy3/platform/text.h"

namespace ZAR {
namespace fs = boost::filesystem;

FileOperations::~FileOperations() = default;

bool FileOperations::Exists(const fs::path& path) {
    boost::system::error_code ec;
    return fs::symlink_status(path, ec).type() > fs::file_not_found;
}

bool FileOperations::IsEmptyDirectory(const fs::path& path) {
    boost::system::error_code ec;
    return fs::is_directory(path, ec) && fs::is_empty(path, ec) && !ec;
}

std::vector<fs::path> FileOperations::FilesWithStem(const fs::path& directory,
                                                    const std::string& stem) {
    std::vector<fs::path> files;
    boost::system::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        boost::system::error_code statusError;
        if (fs::is_regular_file(it->status(statusError)) &&
            EqualIgnoringCase(it->path().stem().string(), stem))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void FileOperations::Move(const fs::path& from, const fs::path& to) {
    boost::system::error_code ec;
    if (Exists(to) && !fs::equivalent(from, to, ec))  // a rename would replace it silently
        throw fs::filesystem_error(
            "cannot move", from, to,
            boost::system::errc::make_error_code(boost::system::errc::file_exists));
    fs::rename(from, to, ec);
    if (ec == boost::system::errc::cross_device_link) {
        Copy(from, to);
        fs::remove(from);
        return;
    }
    if (ec)
        throw fs::filesystem_error("cannot move", from, to, ec);
}

void FileOperations::Copy(const fs::path& from, const fs::path& to) {
    boost::system::error_code ec;
    fs::copy_file(from, to, fs::copy_option::fail_if_exists, ec);
    if (ec) {
        boost::system::error_code ignored;
        if (ec != boost::system::errc::file_exists)
            fs::remove(to, ignored);  // what was written of the new file
        throw fs::filesystem_error("cannot copy", from, to, ec);
    }
}

void FileOperations::CreateDirectory(const fs::path& directory) {
    fs::create_directory(directory);
}

void FileOperations::RemoveDirectory(const fs::path& directory) {
    fs::remove(directory);
}

void FileOperations::RemoveFile(const fs::path& path) {
    fs::remove(path);
}

void FileOperations::TakenAsMade(const fs::path&, const fs::path&) {}

FileOperations& DefaultFileOperations() {
    static FileOperations operations;
    return operations;
}

}  // namespace ZAR
