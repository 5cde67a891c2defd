// RenamePlan: file operations that change nothing on disk. They play a batch of moves on a picture
// of the file system, record every step and check the whole batch before any file really moves.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "svy3/editor/file_operations.h"
#include "svy3/platform/export.h"

namespace ZAR {

// Use it as the editor's FileOperations for a first pass of an edit (see GpzSvy::Modify): the
// editor then walks the document and "moves" files exactly as it would, while only the picture
// changes. Queries answer from the picture: the real file system where the plan has not touched
// it.
class SVY3_API RenamePlan : public FileOperations {
  public:
    struct Step {
        enum Kind { kMove, kCopy, kMakeDirectory, kRemoveDirectory, kRemoveFile, kKept } kind;
        boost::filesystem::path from;
        boost::filesystem::path to;  // empty for folder steps and removals
    };

    // `root`: the folder that every change must stay inside (the document's data folder).
    explicit RenamePlan(const boost::filesystem::path& root);

    bool Exists(const boost::filesystem::path& path) override;
    bool IsEmptyDirectory(const boost::filesystem::path& path) override;
    std::vector<boost::filesystem::path> FilesWithStem(const boost::filesystem::path& directory,
                                                       const std::string& stem) override;
    void Move(const boost::filesystem::path& from, const boost::filesystem::path& to) override;
    void Copy(const boost::filesystem::path& from, const boost::filesystem::path& to) override;
    void CreateDirectory(const boost::filesystem::path& directory) override;
    void RemoveDirectory(const boost::filesystem::path& directory) override;
    void RemoveFile(const boost::filesystem::path& path) override;
    void TakenAsMade(const boost::filesystem::path& source,
                     const boost::filesystem::path& target) override;

    const std::vector<Step>& Steps() const { return m_steps; }
    // One readable line per step: "move A -> B", "copy A -> B", "make folder D", "remove folder
    // D", "remove F", "keep A (B exists)".
    std::vector<std::string> Describe() const;
    // What makes the batch unsafe, one message per problem, empty when none: a change outside
    // the root (symbolic links resolved), two files going to one name, and - unless `overwrite` -
    // a move not made because its target exists (the document would then name a file that is
    // not the data file). A batch with problems must not be run.
    std::vector<std::string> Problems(bool overwrite) const;

  private:
    enum class State { kAbsent, kFile, kDirectory };
    State StateOf(const boost::filesystem::path& path) const;
    [[noreturn]] void Fail(const char* what, const boost::filesystem::path& path,
                           boost::system::errc::errc_t code) const;

    boost::filesystem::path m_root;
    std::map<boost::filesystem::path, State> m_picture;  // what the plan changed
    std::vector<Step> m_steps;
};

// True when `path` lies inside `root` once symbolic links are resolved (as far as the path
// exists) and "." and ".." are taken away.
SVY3_API bool IsInsideFolder(const boost::filesystem::path& root,
                             const boost::filesystem::path& path);

}  // namespace ZAR
