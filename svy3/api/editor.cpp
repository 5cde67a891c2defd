#include "svy3/api/editor.h"

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/editor/rename_journal.h"
#include "svy3/editor/rename_plan.h"
#include "svy3/external/measure.h"
#include "svy3/platform/text.h"

namespace svy3 {
namespace fs = boost::filesystem;

namespace {

// The interface's error for an editor error: a missing or unloadable file is a file system
// problem, everything else a document problem.
Error FromEditorError(const ZAR::CError& error, std::vector<std::string> messages = {}) {
    const bool file = error.Code() == -3 || error.Code() == -4;
    return Error(file ? Error::Kind::file_system : Error::Kind::document, error.what(),
                 error.Code(), std::move(messages));
}

// Refuses to write while a batch of moves on the document waits for recovery: a saved document
// would make recovery complete the batch instead of rolling it back.
void RefuseDuringRecovery(const std::string& path) {
    boost::system::error_code ec;
    if (fs::exists(ZAR::RenameJournal::JournalPath(path), ec))
        throw Error(Error::Kind::interrupted,
                    "an earlier batch of moves on this project was cut off; recover it first");
}

std::unique_ptr<ZAR::GpzSvy120> Load(const std::string& path, bool& complete) {
    auto editor = std::make_unique<ZAR::GpzSvy120>();
    editor->CompactNumbers(false);
    try {
        complete = editor->Load(path.c_str()) == 1;
    } catch (const ZAR::CError& error) {
        throw FromEditorError(error);
    }
    return editor;
}

Error Refused(const std::string& message) {
    return Error(Error::Kind::refused, message);
}

}  // namespace

Editor::Editor(const std::string& path) : editor_(Load(path, complete_)) {}
Editor::Editor(Editor&&) noexcept = default;
Editor& Editor::operator=(Editor&&) noexcept = default;
Editor::~Editor() = default;

std::string Editor::path() const {
    return editor_->SvyFilePathName().string();
}
std::string Editor::data_dir() const {
    return editor_->DataDir().string();
}

const ZAR::GpzSvy::LineSetMap& Editor::map() const {
    return editor_->Map();
}

std::string Editor::unit() const {
    return ZAR::CMeasure::UnitToString(editor_->Units());
}

const std::vector<std::string>& Editor::changes() const {
    return editor_->DocumentChanges();
}

ZAR::GpzSvy120& Editor::editor() {
    return *editor_;
}

void Editor::compact_numbers(bool compact) {
    editor_->CompactNumbers(compact);
}

void Editor::rename_line_set(const std::string& old_name, const std::string& new_name) {
    try {
        editor_->RenameLineSet(old_name.c_str(), new_name.c_str());
    } catch (const ZAR::CError& error) {
        throw FromEditorError(error);
    }
    modified_ = true;
}

void Editor::make_single_line_set(const std::string& name) {
    try {
        editor_->MakeSingleLineSet(name.c_str());
    } catch (const ZAR::CError& error) {
        throw FromEditorError(error);
    }
    modified_ = true;
}

void Editor::prefix_data_path(const std::string& prefix) {
    bool prefixed = false;
    try {
        prefixed = editor_->PrefixDataPath(prefix.c_str());
    } catch (const ZAR::CError& error) {
        throw FromEditorError(error);
    }
    if (!prefixed)
        throw Refused("the document names its data folder (DataDirPath); nothing changed");
    modified_ = true;
}

OrganiseReport Editor::organise(const OrganiseOptions& options) {
    if (modified_)
        throw Refused("the document has unsaved edits; save them before organising its files");
    const std::string document = path();
    RefuseDuringRecovery(document);
    bool complete = false;

    // First pass: the same edit on a picture of the disk, to see the whole batch.
    OrganiseReport report;
    std::unique_ptr<ZAR::GpzSvy120> planned = Load(document, complete);
    ZAR::RenamePlan plan(planned->DataDir());
    planned->SetFileOperations(&plan);
    try {
        planned->Modify(options.name_files, options.into_data_dir, options.line_dirs,
                        options.overwrite);
    } catch (const ZAR::CError& error) {
        throw FromEditorError(error, {"nothing was moved"});
    }
    report.moves = plan.Describe();
    report.changes = planned->DocumentChanges();
    report.problems = plan.Problems(options.overwrite);
    if (options.on_plan)
        options.on_plan(report);
    if (!report.problems.empty() || options.dry_run || report.moves.empty())
        return report;

    // Second pass: the real moves, each written to the journal first.
    std::unique_ptr<ZAR::GpzSvy120> editor = Load(document, complete);
    try {
        ZAR::RenameJournal journal(document, editor->DataDir(), options.file_operations);
        editor->SetFileOperations(&journal);
        try {
            editor->Modify(options.name_files, options.into_data_dir, options.line_dirs,
                           options.overwrite);
        } catch (const ZAR::CError& error) {
            if (!editor->UndoRenames())
                throw Error(Error::Kind::interrupted, error.what(), error.Code(),
                            {"some files could not be put back; recover the project"});
            journal.Finish();
            throw FromEditorError(error, {"every file is back where it was"});
        }
        if (options.stage)
            options.stage("moved");
        if (!editor->Save(nullptr)) {
            editor->UndoRenames();
            journal.Finish();
            throw Error(Error::Kind::file_system,
                        "cannot write the project; the files were moved back");
        }
        if (options.stage)
            options.stage("saved");
        editor->KeepRenames();
        journal.Finish();
        editor->SetFileOperations(nullptr);
    } catch (const fs::filesystem_error& error) {
        throw Error(Error::Kind::file_system, error.what());
    }
    editor->CompactNumbers(editor_->CompactNumbers());
    editor_ = std::move(editor);
    complete_ = complete;
    report.done = true;
    return report;
}

void Editor::GotoLine(const LineAddress& address) {
    bool found = false;
    if (!address.line.empty()) {
        // GotoLineNode looks into line sets only: lines outside them are looked up under Data.
        if (address.set.empty())
            found = editor_->GotoNode("/ZAR_SVY/Data", false) &&
                    editor_->FindSubnode("Line", "name", address.line);
        else
            found = editor_->GotoLineNode(&address.set, address.line);
    }
    if (!found)
        throw Refused("no line \"" + address.line + "\" " +
                      (address.set.empty() ? std::string("outside line sets")
                                           : "in line set \"" + address.set + "\"") +
                      "; nothing changed");
}

void Editor::set_positions(const LineAddress& line, const std::vector<NewPosition>& positions,
                           const std::string& unit) {
    const ZAR::Enum<ZAR::UNIT_TYPE> code = ZAR::CMeasure::StringToUnit(unit, false);
    if (code == ZAR::UNIT_NONE)
        throw Refused("unknown unit \"" + unit + "\"; nothing changed");
    ZAR::GpzSvy::PosList list;
    list.reserve(positions.size());
    for (const NewPosition& p : positions) {
        ZAR::SvyLinePos position;
        position.Set(p.x, p.y, p.z, code);
        position.m_dNormalizedFilePos = p.file_position;
        list.push_back(position);
    }
    GotoLine(line);
    if (!editor_->SetPos(list.begin(), list.end()))
        throw Refused("line \"" + line.line +
                      "\" has no .HD+DT1 data file to take the positions; nothing changed");
    modified_ = true;
}

void Editor::set_fiducials(const LineAddress& line, const std::vector<NewFiducial>& fiducials) {
    std::vector<NewFiducial> copy = fiducials;  // the iterator type takes mutable elements
    GotoLine(line);
    if (!editor_->SetFids(ZAR::SvyLineFidIterator(copy.begin()),
                          ZAR::SvyLineFidIterator(copy.end())))
        throw Refused("line \"" + line.line +
                      "\" has no .HD+DT1 data file to take the fiducials; nothing changed");
    modified_ = true;
}

void Editor::attach_gps_file(const LineAddress& line, const std::string& gps_path) {
    const fs::path path = fs::absolute(gps_path).lexically_normal();
    if (!ZAR::EqualIgnoringCase(path.extension().string(), ".GPS"))
        throw Refused(gps_path + " is not a .GPS file; nothing changed");
    boost::system::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw Refused(gps_path + " does not exist; nothing changed");
    const fs::path folder =
        path.parent_path().lexically_relative(editor_->DataDir().lexically_normal());
    if (folder.empty() || *folder.begin() == "..")
        throw Refused(gps_path + " lies outside the data folder " + editor_->DataDir().string() +
                      "; nothing changed");
    // The document's folders are written with backslashes.
    std::string directory;
    for (const fs::path& part : folder) {
        if (part == ".")
            continue;
        directory += (directory.empty() ? "" : "\\") + part.string();
    }
    GotoLine(line);
    if (!editor_->SetGpsFile(path.stem().string(), directory))
        throw Refused("line \"" + line.line +
                      "\" needs a .HD+DT1 data file with two positions and an odometer; nothing "
                      "changed");
    modified_ = true;
}

std::optional<Relationship> Editor::relationship() const {
    Relationship relationship;
    if (!editor_->GetGpsToDataRelationship(relationship))
        return std::nullopt;
    return relationship;
}

void Editor::set_relationship(const Relationship& relationship) {
    if (!editor_->SetGpsToDataRelationship(relationship))
        throw Error(Error::Kind::document, "cannot write the mapper settings; nothing changed");
    modified_ = true;
}

void Editor::save() {
    RefuseDuringRecovery(path());
    if (!editor_->Save(nullptr))
        throw Error(Error::Kind::file_system, "cannot write the project; it is as it was");
    modified_ = false;
}

void Editor::save_as(const std::string& path) {
    RefuseDuringRecovery(this->path());
    if (!editor_->Save(path.c_str()))
        throw Error(Error::Kind::file_system, "cannot write " + path + "; it is as it was");
}

Recovery Editor::recover(const std::string& path, std::vector<std::string>& report,
                         ZAR::FileOperations* file_operations) {
    switch (ZAR::RecoverRenames(path, report, file_operations)) {
        case ZAR::RecoveryResult::kNothingToDo:
            return Recovery::nothing_to_do;
        case ZAR::RecoveryResult::kRolledBack:
            return Recovery::rolled_back;
        case ZAR::RecoveryResult::kRolledForward:
            return Recovery::rolled_forward;
        case ZAR::RecoveryResult::kIncomplete:
            break;
    }
    return Recovery::incomplete;
}

}  // namespace svy3
