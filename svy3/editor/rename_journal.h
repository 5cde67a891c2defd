// RenameJournal: file operations that write each change to a journal beside the project document
// before making it, so that a batch cut off halfway (the program killed, the machine down) can be
// put right later with RecoverRenames.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <boost/filesystem/path.hpp>

#include "svy3/editor/file_operations.h"
#include "svy3/platform/export.h"

namespace ZAR {

// Every change goes to disk through `inner` (the real file system when null) after its record is
// written and synced to the journal, and is marked done after. Changes outside the data folder
// `root` are refused (a filesystem_error, nothing done). The journal also records a fingerprint
// of the document's bytes when the batch began, which tells recovery whether the document was
// saved after the moves.
//
// Use: make the journal, edit (the editor's moves go through it), save the document, keep the
// moves (GpzSvy::KeepRenames), then Finish. A batch that failed and was undone is finished too.
class SVY3_API RenameJournal : public FileOperations {
  public:
    // Creates the journal for `document` (JournalPath). Throws boost::filesystem::filesystem_error
    // when a journal already exists (an earlier batch needs recovery) or it cannot be written.
    RenameJournal(const boost::filesystem::path& document, const boost::filesystem::path& root,
                  FileOperations* inner = nullptr);
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;
    // Closes the journal; it stays on disk unless Finish removed it.
    ~RenameJournal() override;

    bool Exists(const boost::filesystem::path& path) override;
    bool IsEmptyDirectory(const boost::filesystem::path& path) override;
    std::vector<boost::filesystem::path> FilesWithStem(const boost::filesystem::path& directory,
                                                       const std::string& stem) override;
    void Move(const boost::filesystem::path& from, const boost::filesystem::path& to) override;
    void Copy(const boost::filesystem::path& from, const boost::filesystem::path& to) override;
    void CreateDirectory(const boost::filesystem::path& directory) override;
    void RemoveDirectory(const boost::filesystem::path& directory) override;
    void RemoveFile(const boost::filesystem::path& path) override;

    // The disk and the document agree: removes the journal.
    void Finish();

    // Where the journal of `document` lives: beside it, its name followed by ".svy3-journal".
    static boost::filesystem::path JournalPath(const boost::filesystem::path& document);

  private:
    FileOperations& Inner() const;
    void Record(const std::string& line);
    // Writes the change's record, makes it through `change`, marks it done.
    template <class Change>
    void Journaled(const char* kind, const boost::filesystem::path& from,
                   const boost::filesystem::path& to, Change change);

    boost::filesystem::path m_journal;
    boost::filesystem::path m_root;
    FileOperations* m_inner;
    std::FILE* m_file = nullptr;
};

// What RecoverRenames did.
enum class RecoveryResult {
    kNothingToDo,    // no journal
    kRolledBack,     // the document was not saved: every change of the batch was undone
    kRolledForward,  // the document was saved: the batch was completed (backups removed)
    kIncomplete,     // something could not be put right; the journal stays for another try
};

// Finds the journal of `document` and makes the disk agree with the document again: rolls the
// batch back when the document still has the bytes it had when the batch began, else forward.
// Each action taken (or failed) is added to `report`. Changes go through `operations` (the real
// file system when null); nothing outside the document's data folder is touched, whatever the
// journal says.
SVY3_API RecoveryResult RecoverRenames(const boost::filesystem::path& document,
                                       std::vector<std::string>& report,
                                       FileOperations* operations = nullptr);

}  // namespace ZAR
