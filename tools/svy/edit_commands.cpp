#include "tools/svy/edit_commands.h"

#include <optional>
#include <ostream>
#include <vector>

#include <boost/filesystem/operations.hpp>

#include "svy3/api.h"
#include "svy3/editor/rename_journal.h"
#include "tools/svy/error_report.h"
#include "tools/svy/exit_status.h"

namespace svy_tool {
namespace fs = boost::filesystem;

namespace {

// Loads the project into `editor`; returns kExitOk, or the status with the reason on `err` when
// it cannot be edited.
int Open(const std::string& verb, const std::string& project, std::optional<svy3::Editor>& editor,
         std::ostream& err) {
    boost::system::error_code ec;
    if (fs::exists(ZAR::RenameJournal::JournalPath(project), ec)) {
        err << "svy " << verb << ": an earlier batch of moves on this project was cut off; run "
            << "'svy recover " << project << "' first\n";
        return kExitDocument;
    }
    try {
        editor.emplace(project);
        return kExitOk;
    } catch (const svy3::Error& error) {
        ReportError(verb, error, err);
        return ExitStatusOf(error);
    }
}

void PrintChanges(const std::vector<std::string>& changes, const char* prefix, std::ostream& out) {
    for (const std::string& change : changes)
        out << prefix << change << "\n";
}

int Save(const std::string& verb, svy3::Editor& editor, const std::string& target,
         std::ostream& err) {
    try {
        if (target.empty())
            editor.save();
        else
            editor.save_as(target);
        return 0;
    } catch (const svy3::Error& error) {
        ReportError(verb, error, err);
        return ExitStatusOf(error);
    }
}

// Runs an edit of the document only (no file moves), then prints and saves it unless dry.
template <class Edit>
int EditDocument(const std::string& verb, const std::string& project, bool dryRun,
                 std::ostream& out, std::ostream& err, Edit edit) {
    std::optional<svy3::Editor> editor;
    if (const int status = Open(verb, project, editor, err))
        return status;
    try {
        edit(*editor);
    } catch (const svy3::Error& error) {
        ReportError(verb, error, err);
        return 1;
    }
    PrintChanges(editor->changes(), dryRun ? "would change: " : "changed: ", out);
    return dryRun ? 0 : Save(verb, *editor, std::string(), err);
}

}  // namespace

int RunRenameSet(const std::string& project, const std::string& oldName, const std::string& newName,
                 bool dryRun, std::ostream& out, std::ostream& err) {
    return EditDocument("rename-set", project, dryRun, out, err,
                        [&](svy3::Editor& editor) { editor.rename_line_set(oldName, newName); });
}

int RunPrefix(const std::string& project, const std::string& prefix, bool dryRun, std::ostream& out,
              std::ostream& err) {
    return EditDocument("prefix", project, dryRun, out, err,
                        [&](svy3::Editor& editor) { editor.prefix_data_path(prefix); });
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
    std::optional<svy3::Editor> editor;
    if (const int status = Open("single-set", options.project, editor, err))
        return status;
    try {
        editor->make_single_line_set(options.lineSet);
        if (!options.newName.empty())
            editor->rename_line_set(options.lineSet, options.newName);
        if (!options.prefix.empty())
            editor->prefix_data_path(options.prefix);
    } catch (const svy3::Error& error) {
        if (error.kind() == svy3::Error::Kind::refused)
            err << "svy single-set: the document names its data folder (DataDirPath); no prefix "
                << "can be given\n";
        else
            ReportError("single-set", error, err);
        return 1;
    }
    PrintChanges(editor->changes(), options.dryRun ? "would change: " : "changed: ", out);
    return options.dryRun ? 0 : Save("single-set", *editor, options.output, err);
}

int RunOrganise(const OrganiseOptions& options, std::ostream& out, std::ostream& err,
                const EditHooks& hooks) {
    const char* verb = "organise";
    std::optional<svy3::Editor> editor;
    if (const int status = Open(verb, options.project, editor, err))
        return status;
    svy3::OrganiseOptions organise;
    organise.name_files = options.nameFiles;
    organise.into_data_dir = options.intoDataDir;
    organise.line_dirs = options.lineDirs;
    organise.overwrite = options.overwrite;
    organise.dry_run = options.dryRun;
    organise.file_operations = hooks.fileOperations;
    organise.stage = hooks.stage;
    bool planned = false;
    organise.on_plan = [&](const svy3::OrganiseReport& plan) {
        planned = true;
        for (const std::string& step : plan.moves)
            out << (options.dryRun ? "would " : "will ") << step << "\n";
        PrintChanges(plan.changes, options.dryRun ? "would change: " : "will change: ", out);
        for (const std::string& problem : plan.problems)
            err << "svy organise: " << problem << "\n";
    };
    svy3::OrganiseReport report;
    try {
        report = editor->organise(organise);
    } catch (const svy3::Error& error) {
        ReportError(verb, error, err);
        if (!planned) {  // the plan itself failed
            for (const std::string& message : error.messages())
                err << message << "\n";
            return 1;
        }
        if (error.kind() == svy3::Error::Kind::interrupted)
            err << "svy organise: some files could not be put back; run 'svy recover "
                << options.project << "'\n";
        else
            for (const std::string& message : error.messages())
                err << "svy organise: " << message << "\n";
        return error.code() != 0 ? 1 : ExitStatusOf(error);
    }
    if (!report.problems.empty()) {
        err << "svy organise: nothing was moved\n";
        return 1;
    }
    if (report.done)
        out << "moved " << report.moves.size() << " files and folders; saved " << options.project
            << "\n";
    return 0;
}

int RunRecover(const std::string& project, std::ostream& out, std::ostream& err,
               ZAR::FileOperations* fileOperations) {
    std::vector<std::string> report;
    const svy3::Recovery result = svy3::Editor::recover(project, report, fileOperations);
    for (const std::string& line : report)
        out << line << "\n";
    switch (result) {
        case svy3::Recovery::nothing_to_do:
            out << "nothing to recover: no batch of moves was cut off\n";
            return 0;
        case svy3::Recovery::rolled_back:
            out << "rolled back: the files are where the document names them\n";
            return 0;
        case svy3::Recovery::rolled_forward:
            out << "completed: the document was saved after the moves\n";
            return 0;
        case svy3::Recovery::incomplete:
            break;
    }
    err << "svy recover: not everything could be put right; the journal stays for another try\n";
    return 1;
}

}  // namespace svy_tool
