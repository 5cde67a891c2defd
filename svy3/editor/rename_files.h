// RenameFiles: a batch of pending file moves that is carried out in runs and can be undone.
#pragma once

#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "svy3/editor/file_operations.h"
#include "svy3/platform/export.h"

namespace ZAR {

// An ordered list of moves (source, target). Runs carry out the pending ones through a
// FileOperations object; every change made on disk (moves, copies, directories created and
// removed) is remembered, so that Undo can put everything back.
//
// Beyond the plain rules of a batch, two cases are handled so that undoing never loses a file:
// a move whose target already exists and is taken as made (no-overwrite mode) is not moved back by
// Undo, since nothing was moved; and a move in overwrite mode first sets the existing target aside
// under a hidden backup name beside it, which Undo restores and Keep (or the destructor) removes.
class SVY3_API RenameFiles {
  public:
    struct Entry {
        boost::filesystem::path source;
        boost::filesystem::path target;
        bool done = false;
        bool copy = false;   // copy the source instead of moving it
        bool taken = false;  // marked done because the target existed; nothing was moved
    };

    // A target replaced in overwrite mode waits under this prefix of its name, beside it.
    static constexpr const char* kReplacedPrefix = ".svy3-replaced-";

    // Overwrite modes of Run.
    enum { kKeepExisting = 0, kOverwrite = 1 };

    // Moves go through `operations` (the real file system when null); it must outlive the list.
    explicit RenameFiles(FileOperations* operations = nullptr);
    // A copy has the same entries and file operations; what was done on disk stays with the
    // original, which alone can undo or keep it.
    RenameFiles(const RenameFiles& other);
    RenameFiles& operator=(const RenameFiles& other);
    // Removes backups of replaced targets (see Keep) when the moves went to the real file system;
    // with other file operations, call Keep or Undo first.
    virtual ~RenameFiles();

    void SetFileOperations(FileOperations* operations);

    // Appends a pending move. When the source does not exist, the first earlier entry whose
    // source or target has the same file name (letter case ignored) supplies the file (its source
    // when that exists, else its target, followed through the list's later moves) and the new
    // entry copies it.
    void Add(const boost::filesystem::path& source, const boost::filesystem::path& target);
    // Carries out the pending entries in order. An entry whose target exists in mode
    // kKeepExisting is taken as made and ends the run (true; later entries stay pending). Missing
    // target folders are created; a source folder left empty is removed; a missing source leaves
    // its entry pending. False for a mode other than kKeepExisting and kOverwrite. File-system
    // failures throw boost::filesystem::filesystem_error with everything done so far recorded.
    // `description`, when given, replaces the entry's own description in Description().
    bool Run(const std::string* description, int mode);
    // Replaces every entry by moves of the regular files beside its source that share the
    // source's stem (letter case ignored), each to the entry's target with its own extension.
    // Each entry is replaced and run in turn (false as soon as a run is), so that when one data
    // file was moved twice (renamed, then into a folder), the files beside it follow it both
    // times rather than stopping halfway.
    bool SiblingRun(const std::string* description, int mode);
    // Puts back, in reverse order, every change the runs made on disk and marks the entries not
    // done. Returns false when something could not be put back: it goes on with the rest, and
    // what failed stays recorded for another Undo.
    bool Undo();
    // Accepts the changes made: removes the backups of replaced targets and forgets how to undo.
    // False when a backup could not be removed.
    bool Keep();
    // Takes over what `other` did on disk, as done after this list's own changes: Undo and Keep
    // of this list then cover both.
    void AdoptChanges(RenameFiles& other);
    // Keeps what was done and empties the list.
    void Clear();

    bool Empty() const { return m_entries.empty(); }
    const std::vector<Entry>& Entries() const { return m_entries; }
    // The description of the entry run last: "\"source\" to \"target\"" unless a description
    // was given to the run.
    const std::string& Description() const { return m_description; }
    static std::string Describe(const boost::filesystem::path& source,
                                const boost::filesystem::path& target);

  private:
    // One change made on disk, in the order made.
    struct Change {
        enum Kind { kMoved, kCopied, kMadeDirectory, kRemovedDirectory, kSetAside } kind;
        boost::filesystem::path from;
        boost::filesystem::path to;
    };

    FileOperations& Operations() const;
    // Where a file that was at `path` is now, following the moves made; empty when gone.
    boost::filesystem::path WhereNow(boost::filesystem::path path) const;
    void MakeDirectories(const boost::filesystem::path& directory);
    void RemoveIfEmpty(const boost::filesystem::path& directory);

    FileOperations* m_operations;
    std::vector<Entry> m_entries;
    std::vector<Change> m_changes;
    std::string m_description;
};

}  // namespace ZAR
