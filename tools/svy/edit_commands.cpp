#include "tools/svy/edit_commands.h"

#include <ostream>
#include <vector>

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/editor/rename_journal.h"
#include "svy3/editor/rename_plan.h"
#include "svy3/platform/text.h"
#include "tools/svy/exit_status.h"

namespace svy_tool {
namespace fs = boost::filesystem;

namespace {

// The exit status for an editor error: a missing or unloadable file is a file system problem.
int StatusOf(const ZAR::CError& error) {
    return error.Code() == -3 || error.Code() == -4 ? kExitFileSystem : kExitDocument;
}

// Loads the project into `editor`; returns kExitOk, or the status with the reason on `err` when
// it cannot be edited.
int Open(const std::string& verb, const std::string& project, ZAR::GpzSvy120& editor,
         std::ostream& err) {
    boost::system::error_code ec;
    if (fs::exists(ZAR::RenameJournal::JournalPath(project), ec)) {
        err << "svy " << verb << ": an earlier batch of moves on this project was cut off; run "
            << "'svy recover " << project << "' first\n";
        return kExitDocument;
    }
    try {
        editor.Load(project.c_str());
        return kExitOk;
    } catch (const ZAR::CError& error) {
        err << "svy " << verb << ": error " << error.Code() << ": " << error.what() << "\n";
        return StatusOf(error);
    }
}

void PrintChanges(const ZAR::GpzSvy& editor, const char* prefix, std::ostream& out) {
    for (const std::string& change : editor.DocumentChanges())
        out << prefix << change << "\n";
}

int Save(const std::string& verb, ZAR::GpzSvy120& editor, const std::string& target,
         std::ostream& err) {
    if (editor.Save(target.empty() ? nullptr : target.c_str()))
        return 0;
    err << "svy " << verb << ": cannot write " << (target.empty() ? "the project" : target)
        << "; it is as it was\n";
    return kExitFileSystem;
}

// Runs an edit of the document only (no file moves), then prints and saves it unless dry.
template <class Edit>
int EditDocument(const std::string& verb, const std::string& project, bool dryRun,
                 std::ostream& out, std::ostream& err, Edit edit) {
    ZAR::GpzSvy120 editor;
    if (const int status = Open(verb, project, editor, err))
        return status;
    try {
        if (!edit(editor))
            return 1;
    } catch (const ZAR::CError& error) {
        err << "svy " << verb << ": error " << error.Code() << ": " << error.what() << "\n";
        return 1;
    }
    PrintChanges(editor, dryRun ? "would change: " : "changed: ", out);
    return dryRun ? 0 : Save(verb, editor, std::string(), err);
}

}  // namespace

int RunRenameSet(const std::string& project, const std::string& oldName, const std::string& newName,
                 bool dryRun, std::ostream& out, std::ostream& err) {
    return EditDocument("rename-set", project, dryRun, out, err, [&](ZAR::GpzSvy120& editor) {
        return editor.RenameLineSet(oldName.c_str(), newName.c_str());
    });
}

int RunPrefix(const std::string& project, const std::string& prefix, bool dryRun, std::ostream& out,
              std::ostream& err) {
    return EditDocument("prefix", project, dryRun, out, err, [&](ZAR::GpzSvy120& editor) {
        if (editor.PrefixDataPath(prefix.c_str()))
            return true;
        err << "svy prefix: the document names its data folder (DataDirPath); nothing changed\n";
        return false;
    });
}

int RunSingleSet(const SingleSetOptions& options, std::ostream& out, std::ostream& err) {
    boost::system::error_code ec;
    if (fs::exists(options.output, ec) && fs::equivalent(options.output, options.project, ec)) {
        err << "svy single-set: " << options.output << " is the project itself; write the copy "
            << "to another file\n";
        return kExitFileSystem;
    }
    if (!options.dryRun && !options.force && fs::exists(options.output, ec)) {
        err << "svy single-set: " << options.output << " exists; use --force to replace it\n";
        return kExitFileSystem;
    }
    ZAR::GpzSvy120 editor;
    if (const int status = Open("single-set", options.project, editor, err))
        return status;
    try {
        editor.MakeSingleLineSet(options.lineSet.c_str());
        if (!options.newName.empty())
            editor.RenameLineSet(options.lineSet.c_str(), options.newName.c_str());
        if (!options.prefix.empty() && !editor.PrefixDataPath(options.prefix.c_str())) {
            err << "svy single-set: the document names its data folder (DataDirPath); no prefix "
                << "can be given\n";
            return 1;
        }
    } catch (const ZAR::CError& error) {
        err << "svy single-set: error " << error.Code() << ": " << error.what() << "\n";
        return 1;
    }
    PrintChanges(editor, options.dryRun ? "would change: " : "changed: ", out);
    return options.dryRun ? 0 : Save("single-set", editor, options.output, err);
}

int RunOrganise(const OrganiseOptions& options, std::ostream& out, std::ostream& err,
                const EditHooks& hooks) {
    const char* verb = "organise";
    // First pass: the same edit on a picture of the disk, to see the whole batch.
    ZAR::GpzSvy120 planned;
    if (const int status = Open(verb, options.project, planned, err))
        return status;
    ZAR::RenamePlan plan(planned.DataDir());
    planned.SetFileOperations(&plan);
    try {
        planned.Modify(options.nameFiles, options.intoDataDir, options.lineDirs, options.overwrite);
    } catch (const ZAR::CError& error) {
        err << "svy organise: error " << error.Code() << ": " << error.what()
            << "\nnothing was moved\n";
        return 1;
    }
    const std::vector<std::string> problems = plan.Problems(options.overwrite);
    for (const std::string& step : plan.Describe())
        out << (options.dryRun ? "would " : "will ") << step << "\n";
    PrintChanges(planned, options.dryRun ? "would change: " : "will change: ", out);
    for (const std::string& problem : problems)
        err << "svy organise: " << problem << "\n";
    if (!problems.empty()) {
        err << "svy organise: nothing was moved\n";
        return 1;
    }
    if (options.dryRun || plan.Steps().empty())
        return 0;

    // Second pass: the real moves, each written to the journal first.
    ZAR::GpzSvy120 editor;
    if (const int status = Open(verb, options.project, editor, err))
        return status;
    try {
        ZAR::RenameJournal journal(options.project, editor.DataDir(), hooks.fileOperations);
        editor.SetFileOperations(&journal);
        try {
            editor.Modify(options.nameFiles, options.intoDataDir, options.lineDirs,
                          options.overwrite);
        } catch (const ZAR::CError& error) {
            err << "svy organise: error " << error.Code() << ": " << error.what() << "\n";
            if (editor.UndoRenames()) {
                journal.Finish();
                err << "svy organise: every file is back where it was\n";
            } else {
                err << "svy organise: some files could not be put back; run 'svy recover "
                    << options.project << "'\n";
            }
            return 1;
        }
        if (hooks.stage)
            hooks.stage("moved");
        if (!editor.Save(nullptr)) {
            editor.UndoRenames();
            journal.Finish();
            err << "svy organise: cannot write the project; the files were moved back\n";
            return kExitFileSystem;
        }
        if (hooks.stage)
            hooks.stage("saved");
        editor.KeepRenames();
        journal.Finish();
    } catch (const fs::filesystem_error& error) {
        err << "svy organise: " << error.what() << "\n";
        return kExitFileSystem;
    }
    out << "moved " << plan.Steps().size() << " files and folders; saved " << options.project
        << "\n";
    return 0;
}

int RunRecover(const std::string& project, std::ostream& out, std::ostream& err,
               ZAR::FileOperations* fileOperations) {
    std::vector<std::string> report;
    const ZAR::RecoveryResult result = ZAR::RecoverRenames(project, report, fileOperations);
    for (const std::string& line : report)
        out << line << "\n";
    switch (result) {
        case ZAR::RecoveryResult::kNothingToDo:
            out << "nothing to recover: no batch of moves was cut off\n";
            return 0;
        case ZAR::RecoveryResult::kRolledBack:
            out << "rolled back: the files are where the document names them\n";
            return 0;
        case ZAR::RecoveryResult::kRolledForward:
            out << "completed: the document was saved after the moves\n";
            return 0;
        case ZAR::RecoveryResult::kIncomplete:
            break;
    }
    err << "svy recover: not everything could be put right; the journal stays for another try\n";
    return 1;
}

}  // namespace svy_tool
