// The editor's line map: built by walking the document's data block, read through iterators and
// printed by Dump.
#include <algorithm>

#include <boost/filesystem/exception.hpp>
#include <ostream>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy.h"
#include "svy3/external/cfile.h"
#include "svy3/platform/text.h"

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

// A Windows path with a drive letter ("C:/surveys"): absolute where it was written, though not on
// this system.
bool HasDriveLetter(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' &&
           ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

[[noreturn]] void ThrowNavigationFailure(int32_t code) {
    throw CError("Malformed SVY file: XML file navigation failure.", code, 5);
}

}  // namespace

fs::path GpzSvy::DataDir() const {
    if (m_dataDirectory.empty())
        return m_svyFilePath.parent_path();
    if (m_dataDirectory.is_relative() && !HasDriveLetter(m_dataDirectory.string()) &&
        !m_svyFilePath.empty())
        return m_svyFilePath.parent_path() / m_dataDirectory;
    return m_dataDirectory;
}

fs::path GpzSvy::DataPath(const fs::path& documentPath) const {
    return documentPath.has_root_directory() ? documentPath : DataDir() / documentPath;
}

bool GpzSvy::FillMap(uint32_t flags) {
    m_lineMap.clear();
    m_renames.Clear();
    bool error = false;
    ParentNode("ZAR_SVY");  // from wherever the cursor stands up to the root element
    bool first = true;
    if (!NextNode(first, "Data"))
        throw CError("Malformed SVY file: <ZAR_SVY><Data> not found.", -20, 5);
    AddLinesToMap(std::string(), error, flags);

    first = true;
    std::string lineSetName;
    while (NextNode(first, "LineSet")) {
        if (!GetNodeTxt(lineSetName, "name"))
            throw CError(
                "Malformed SVY file: <LineSet name=??"
                "?> not found.",
                -21, 5);
        AddLinesToMap(lineSetName, error, flags);
    }
    if (!first && !ParentNode(nullptr))
        ThrowNavigationFailure(-22);
    return !error;
}

void GpzSvy::AddLinesToMap(const std::string& lineSetName, bool& error, uint32_t flags) {
    bool first = true;
    while (NextNode(first, "Line"))
        AddDataFilesToMap(lineSetName, error, flags);
    if (!first && !ParentNode(nullptr))
        ThrowNavigationFailure(-10);
}

void GpzSvy::AddDataFilesToMap(const std::string& lineSetName, bool& error, uint32_t flags) {
    std::string lineName;
    if (!GetNodeTxt(lineName, "name"))
        throw CError(
            "Malformed SVY file: Unable to read <Line name=??"
            "?> entry.",
            -11, 5);
    const bool overwrite = (flags & kOverwriteFlag) != 0;
    if ((flags & kRepairNamesFlag) && !cfile::IsLegalFilename(lineName, false)) {
        std::string repaired = lineName;
        if (!cfile::SanitizeName(repaired, true))
            throw CError(
                "Malformed SVY file: Unsupported SVY file content <Line name=\"" + lineName + "\">",
                -28, 5);
        if (!SetNodeTxt(repaired, "name"))
            throw CError("Malformed SVY file: Unable to update <Line name=\"" + lineName +
                             "\" to \"" + repaired + "\"",
                         -29, 5);
        m_documentChanges.push_back("Line \"" + lineName + "\" renamed \"" + repaired + "\"");
        lineName = repaired;
    }
    const fs::path lineDirectory = (flags & kLineDirectoriesFlag) ? fs::path(lineName) : fs::path();
    RenameFiles lineList(m_pFileOperations);

    FileMap* files = nullptr;  // the line's entry, made at its first data file
    bool first = true;
    fs::path relative;
    int32_t sequence = 0;
    while (NextNode(first, "DataFile")) {
        if (flags & kRepairNamesFlag)
            RenameFile(fs::path(lineName), &lineList, overwrite);
        if ((flags & kDataDirectoryFlag) || !lineDirectory.empty())
            RenameDirectory(lineDirectory, !(flags & kDataDirectoryFlag), &lineList, overwrite);
        if (!DataFileInfo(relative, sequence))
            throw CError("Malformed SVY file: Unable to read <DataFile> entry.", -12, 5);
        if (sequence != 1) {
            error = true;  // only the first file of a sequence is mapped
            continue;
        }
        if (!files)
            files = &m_lineMap[lineSetName][lineName];
        fs::path full = DataPath(relative);
        if (EqualIgnoringCase(full.extension().string(), ".HD+DT1")) {
            full.replace_extension(".HD");
            GetDataFilePos((*files)[full]);
            (*files)[full.replace_extension(".DT1")];
        } else {
            (*files)[full];
        }
    }
    if (!lineList.Empty()) {
        // The files beside each renamed pair that share its stem follow it.
        try {
            if (!lineList.SiblingRun(
                    nullptr, overwrite ? RenameFiles::kOverwrite : RenameFiles::kKeepExisting)) {
                lineList.Undo();
                throw CError("SVY file problem: Unable to rename file " + lineList.Description() +
                                 " file already exist.",
                             -13, 5);
            }
        } catch (const boost::filesystem::filesystem_error& failure) {
            lineList.Undo();
            throw CError("SVY file problem: Unable to rename file " + lineList.Description() +
                             "\" due to the following error.\r\n" + failure.what(),
                         -14, 5);
        }
        m_renames.AdoptChanges(lineList);  // undone with the rest of the rebuild
    }
    if (!first && !ParentNode(nullptr))
        ThrowNavigationFailure(-15);
}

void GpzSvy::GetDataFilePos(PosList& positions) {
    positions.clear();
    SvyLinePos position;
    bool first = true;
    while (NextNode(first, "Position")) {
        if (!PosInfo(position))
            throw CError("Malformed SVY file: Unable to read <Position X=? Y=? Z=? ...> entry.",
                         -16, 5);
        positions.push_back(position);
    }
    if (!first && !ParentNode(nullptr))
        ThrowNavigationFailure(-17);
    std::stable_sort(positions.begin(), positions.end());
}

void GpzSvy::Dump(std::ostream& os) const {
    for (const auto& set : m_lineMap) {
        for (const auto& line : set.second) {
            for (const auto& file : line.second) {
                os << '[' << set.first << "][" << line.first << "][" << file.first.string() << ']';
                for (const SvyLinePos& position : file.second)
                    os << position;
                os << std::endl;
            }
        }
    }
}

}  // namespace ZAR
