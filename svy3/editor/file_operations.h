// FileOperations: the file-system calls through which the editor moves survey data. Everything the
// editor does to files on disk goes through one of these objects, so that a program (or a test)
// can record the moves, simulate them, confine them to a folder or make any of them fail.
#pragma once

#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "svy3/platform/export.h"

namespace ZAR {

class SVY3_API FileOperations {
  public:
    virtual ~FileOperations();

    // True when something exists at `path` (a broken symbolic link counts); never throws.
    virtual bool Exists(const boost::filesystem::path& path);
    // True when `path` is a directory with nothing in it; never throws.
    virtual bool IsEmptyDirectory(const boost::filesystem::path& path);
    // The regular files of `directory` whose stem equals `stem` without regard to letter case,
    // sorted by name; empty when the directory cannot be read.
    virtual std::vector<boost::filesystem::path> FilesWithStem(
        const boost::filesystem::path& directory, const std::string& stem);

    // Each of these throws boost::filesystem::filesystem_error when it fails and then leaves
    // nothing behind: a failed copy removes what it wrote of the target.
    // Moves a file; refuses to replace an existing `to` (unless it is `from` itself under another
    // letter case). Across file systems it copies and removes.
    virtual void Move(const boost::filesystem::path& from, const boost::filesystem::path& to);
    // Copies a regular file; refuses to replace an existing `to`.
    virtual void Copy(const boost::filesystem::path& from, const boost::filesystem::path& to);
    virtual void CreateDirectory(const boost::filesystem::path& directory);
    // Removes an empty directory.
    virtual void RemoveDirectory(const boost::filesystem::path& directory);
    // Removes a file (used to drop a backup once a batch of moves is kept).
    virtual void RemoveFile(const boost::filesystem::path& path);

    // Told when a batch takes a move as made because its target exists (nothing is moved); does
    // nothing here. Lets a planner see the moves that would not happen.
    virtual void TakenAsMade(const boost::filesystem::path& source,
                             const boost::filesystem::path& target);
};

// The process's real file system.
SVY3_API FileOperations& DefaultFileOperations();

}  // namespace ZAR
