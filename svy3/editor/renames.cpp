// Renaming survey data on disk and in the document together: data files and their folders, line
// sets, and the data paths of a document.
#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy.h"
#include "svy3/platform/text.h"

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

const char kNullParameter[] = "Null parameter not allowed.";
const char kDataNotFound[] = "Malformed SVY file: <ZAR_SVY><Data> not found.";
const char kLineSetNotFound[] =
    "Malformed SVY file: <LineSet name=??"
    "?> not found.";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The document's form of a relative folder: backslashes between the elements.
std::string DocumentFolder(const fs::path& folder) {
    std::string text = folder.string();
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    return text;
}

// Adds the moves of one data file: a radar pair moves as its two files (the pair itself goes to
// the line's list, for the files beside it); anything else as itself.
void AddDataFileMoves(RenameFiles& editorList, RenameFiles* lineList, fs::path source,
                      fs::path target) {
    if (source == target)
        return;
    if (!EqualIgnoringCase(source.extension().string(), ".HD+DT1")) {
        editorList.Add(source, target);
        return;
    }
    if (lineList)
        lineList->Add(source, target);
    editorList.Add(fs::path(source).replace_extension(".HD"),
                   fs::path(target).replace_extension(".HD"));
    editorList.Add(source.replace_extension(".DT1"), target.replace_extension(".DT1"));
}

}  // namespace

void GpzSvy::SetFileOperations(FileOperations* operations) {
    m_pFileOperations = operations;
    m_renames.SetFileOperations(operations);
}

bool GpzSvy::Modify(bool repairNames, bool intoDataDirectory, bool lineDirectories,
                    bool overwrite) {
    const uint32_t flags = (repairNames ? 1u : 0u) | (intoDataDirectory ? 2u : 0u) |
                           (lineDirectories ? 4u : 0u) | (overwrite ? 8u : 0u);
    if (flags == 0)
        return true;
    try {
        return FillMap(flags);
    } catch (...) {
        m_renames.Undo();  // no file stays moved for a document that no longer matches it
        throw;
    }
}

void GpzSvy::RunRenames(bool overwrite, int32_t runCode, int32_t errorCode) {
    try {
        if (!m_renames.Run(nullptr,
                           overwrite ? RenameFiles::kOverwrite : RenameFiles::kKeepExisting)) {
            m_renames.Undo();
            throw CError("SVY file problem: Unable to rename file " + m_renames.Description() +
                             " file already exist.",
                         runCode, 5);
        }
    } catch (const fs::filesystem_error& error) {
        m_renames.Undo();
        throw CError("SVY file problem: Unable to rename file " + m_renames.Description() +
                         "\" due to the following error.\r\n" + error.what(),
                     errorCode, 5);
    }
}

void GpzSvy::RenameFile(const fs::path& newName, RenameFiles* lineList, bool overwrite) {
    fs::path relative;
    int32_t sequence = 0;
    if (!DataFileInfo(relative, sequence))
        return;
    // The whole line name becomes the file's stem, dots included.
    const std::string oldStem = relative.stem().string();
    const std::string newStem = newName.string();
    if (oldStem == newStem)
        return;
    const fs::path source = DataPath(relative);
    const fs::path target =
        DataPath(relative.parent_path() / (newStem + relative.extension().string()));
    AddDataFileMoves(m_renames, lineList, source, target);
    RunRenames(overwrite, -32, -33);
    if (!SetNodeTxt(newStem, "name")) {
        m_renames.Undo();
        throw CError("Malformed SVY file: Unable to update <Line name=" + Quoted(oldStem) + " to " +
                         Quoted(newStem),
                     -34, 5);
    }
    m_documentChanges.push_back("DataFile " + Quoted(oldStem) + " renamed " + Quoted(newStem));
}

void GpzSvy::RenameDirectory(const fs::path& directory, bool relative, RenameFiles* lineList,
                             bool overwrite) {
    fs::path file;
    int32_t sequence = 0;
    if (!DataFileInfo(file, sequence))
        throw CError("Malformed SVY file: Unable to modify <DataFile><DataFile> entry.", -38, 5);
    const fs::path oldFolder = file.parent_path();
    const fs::path newFolder = relative ? oldFolder / directory : directory;
    const fs::path source = DataPath(file);
    const fs::path target = DataPath(newFolder / file.filename());
    AddDataFileMoves(m_renames, lineList, source, target);
    RunRenames(overwrite, -35, -36);
    if (!ModifyFileDirPath(true, DocumentFolder(newFolder))) {
        m_renames.Undo();
        throw CError("SVY file problem: Unable to change directory " +
                         Quoted(DocumentFolder(oldFolder)) + " to " +
                         Quoted(DocumentFolder(newFolder)),
                     -37, 5);
    }
    if (oldFolder != newFolder)
        m_documentChanges.push_back("DataFile " + Quoted(file.filename().string()) + " folder " +
                                    Quoted(DocumentFolder(oldFolder)) + " to " +
                                    Quoted(DocumentFolder(newFolder)));
}

bool GpzSvy::PrefixLinesDataFilePath(const char* prefix) {
    if (!prefix)
        return false;
    bool firstLine = true;
    while (NextNode(firstLine, "Line")) {
        bool firstFile = true;
        while (NextNode(firstFile, "DataFile")) {
            if (!ChildNode("FileDirPath", eGpzFind))
                continue;
            std::string old;
            const std::string text = GetNodeTxt(old, nullptr) ? prefix + old : prefix;
            if (!SetNodeTxt(text, nullptr))
                return false;
            m_documentChanges.push_back("FileDirPath " + Quoted(old) + " to " + Quoted(text));
            ParentNode(nullptr);
        }
        if (!firstFile && !ParentNode(nullptr))
            return false;
    }
    return firstLine || ParentNode(nullptr);
}

bool GpzSvy::PrefixDataPath(const char* prefix) {
    if (!prefix)
        throw CError(kNullParameter, -1, 5);
    if (!m_dataDirectory.empty())
        return false;
    ParentNode("ZAR_SVY");
    bool first = true;
    if (!NextNode(first, "Data"))
        throw CError(kDataNotFound, -23, 5);
    const char kUpdateFailed[] = "Malformed SVY file: Unable to update <FileDirPath> entry.";
    if (!PrefixLinesDataFilePath(prefix))
        throw CError(kUpdateFailed, -24, 5);
    first = true;
    while (NextNode(first, "LineSet")) {
        if (!PrefixLinesDataFilePath(prefix))
            throw CError(kUpdateFailed, -25, 5);
    }
    if (!first && !ParentNode(nullptr))
        throw CError("Malformed SVY file: XML file navigation failure.", -26, 5);
    FillMap(0);
    return true;
}

bool GpzSvy::RenameLineSet(const char* oldName, const char* newName) {
    if (!oldName || !newName)
        throw CError(kNullParameter, -27, 5);
    ParentNode("ZAR_SVY");
    bool first = true;
    if (!NextNode(first, "Data"))
        throw CError(kDataNotFound, -28, 5);
    first = true;
    std::string name;
    bool found = false;
    while (!found && NextNode(first, "LineSet")) {
        if (!GetNodeTxt(name, "name"))
            throw CError(kLineSetNotFound, -29, 5);
        found = name == oldName;
    }
    if (!found)
        throw CError(
            "Malformed SVY file: Uable to find <LineSet name=??"
            "?> to rename.",
            -31, 5);
    if (!SetNodeTxt(newName, "name"))
        throw CError(
            "Malformed SVY file: Unable to update <LineSet name=??"
            "?> entry.",
            -30, 5);
    m_documentChanges.push_back("LineSet " + Quoted(oldName) + " renamed " + Quoted(newName));
    FillMap(0);
    return true;
}

void GpzSvy::MakeSingleLineSet(const char* name) {
    if (!name)
        throw CError(kNullParameter, -1, 5);
    ParentNode("ZAR_SVY");
    bool first = true;
    if (!NextNode(first, "Data"))
        throw CError(kDataNotFound, -18, 5);
    if (*name) {
        std::string line;
        while (ChildNode("Line", eGpzFind)) {
            GetNodeTxt(line, "name");
            DeleteNode();  // the cursor goes back to Data
            m_documentChanges.push_back("Line " + Quoted(line) + " removed");
        }
    }
    first = true;
    std::string setName;
    while (NextNode(first, "LineSet")) {
        if (!GetNodeTxt(setName, "name"))
            throw CError(kLineSetNotFound, -19, 5);
        if (setName != name) {
            DeleteNode();
            m_documentChanges.push_back("LineSet " + Quoted(setName) + " removed");
            first = true;  // from Data again
        }
    }
    if (!first)
        ParentNode(nullptr);
    FillMap(0);
}

}  // namespace ZAR
