// The commands that edit a project document and save it: svy rename-set, single-set, prefix,
// organise, and svy recover for a batch of moves that was cut off.
//
// Each loads the document through the editor, makes its change in memory, and saves only when the
// whole change succeeded. With dry-run they print what they would do and touch nothing. None runs
// while a journal of an earlier, cut-off batch of moves lies beside the document.
//
// Exit status: 0 done, 1 a document problem or a refused batch, 3 a file system problem (a missing
// project, an output that exists, a failed write); the document and every file stay as they were.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace ZAR {
class FileOperations;
}

namespace svy_tool {

struct OrganiseOptions {
    std::string project;
    bool nameFiles = false;    // repair line names; name every data file after its line
    bool intoDataDir = false;  // move the data files into the data folder ...
    bool lineDirs = false;     // ... or into a folder named after their line
    bool overwrite = false;    // a move may replace an existing file
    bool dryRun = false;
};

struct SingleSetOptions {
    std::string project, lineSet, output, newName, prefix;
    bool dryRun = false;
    bool force = false;  // replace an existing output (never the project itself)
};

// What tests replace: the file system under the journal, and a call at each stage of the
// organise command ("moved" after the moves, "saved" after the document was saved).
struct EditHooks {
    ZAR::FileOperations* fileOperations = nullptr;
    std::function<void(const std::string& stage)> stage;
};

// svy organise: plans the moves on a picture of the disk first and refuses the batch (nothing
// moved) when a move would leave the data folder, two files would get one name, or - without
// overwrite - a target exists. Then moves the files with a journal beside the document, saves
// the document and removes the journal.
int RunOrganise(const OrganiseOptions& options, std::ostream& out, std::ostream& err,
                const EditHooks& hooks = EditHooks());
// svy rename-set: renames a line set in the document.
int RunRenameSet(const std::string& project, const std::string& oldName, const std::string& newName,
                 bool dryRun, std::ostream& out, std::ostream& err);
// svy single-set: writes a copy of the project reduced to one line set, renamed, with an optional
// prefix for its data file folders. Refuses to write over the project.
int RunSingleSet(const SingleSetOptions& options, std::ostream& out, std::ostream& err);
// svy prefix: puts a prefix in front of every data file folder of a document that names no data
// folder.
int RunPrefix(const std::string& project, const std::string& prefix, bool dryRun, std::ostream& out,
              std::ostream& err);
// svy recover: puts right a batch of moves that was cut off (rolled back unless the document
// was saved after it, then completed).
int RunRecover(const std::string& project, std::ostream& out, std::ostream& err,
               ZAR::FileOperations* fileOperations = nullptr);

}  // namespace svy_tool
