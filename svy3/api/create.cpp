#include "svy3/api/create.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <boost/filesystem/operations.hpp>
#include <boost/filesystem/path.hpp>

#include "svy3/api/message_capture.h"
#include "svy3/api/project_state.h"
#include "svy3/platform/text.h"
#include "svy3/shell/scoped_line_offset_prompt.h"
#include "svy3/shell/version_resource.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace svy3 {
namespace {
namespace fs = boost::filesystem;

bool HasDataExtension(const std::string& path) {
    const std::string ext = ZAR::ToLower(boost::filesystem::path(path).extension().string());
    return ext == ".dt1" || ext == ".hd" || ext == ".sen";
}

bool SameFile(const struct stat& a, const std::string& path) {
    struct stat b {};
    return stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void RefuseTarget(const std::string& path, const std::vector<std::string>& files, bool overwrite) {
    auto refuse = [](const std::string& message) { return Error(Error::Kind::refused, message); };
    if (files.empty())
        throw refuse("no data files were given");
    if (HasDataExtension(path))
        throw refuse(path +
                     " has the extension of a radar data file; a project document is not "
                     "written there");
    struct stat target {};
    if (stat(path.c_str(), &target) != 0) {
        if (errno == ENOENT)
            return;
        throw Error(Error::Kind::file_system, path + ": " + std::strerror(errno));
    }
    for (const std::string& file : files)
        if (SameFile(target, file))
            throw refuse(path + " is one of the input files (" + file + ")");
    if (S_ISDIR(target.st_mode))
        throw Error(Error::Kind::file_system, path + " is a folder");
    if (!overwrite)
        throw refuse(path + " exists; it is replaced only when asked to");
}

// The permissions of the document: those of the file it replaces, else those a new file gets.
mode_t TargetMode(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A new empty file beside `path` for the document being written; throws when none can be made.
std::string MakeTemporary(const std::string& path) {
    const boost::filesystem::path folder = boost::filesystem::path(path).parent_path();
    std::string name = folder.empty() ? ".svyXXXXXX" : (folder / ".svyXXXXXX").string();
    errno = ENAMETOOLONG;
    const int fd = name.size() < ZAR::CSVYXmlFile::kTextBufferSize ? mkstemp(&name[0]) : -1;
    if (fd < 0)
        throw Error(Error::Kind::file_system, "cannot write " + path + ": " + std::strerror(errno));
    fchmod(fd, TargetMode(path));
    close(fd);
    return name;
}

// Removes the temporary document unless it was put in place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }
    // Moves it to `target`; without `overwrite`, never over a file that appeared meanwhile.
    // Returns 0 or an errno value.
    int PutInPlace(const std::string& target, bool overwrite) {
        if (overwrite ? std::rename(path_.c_str(), target.c_str()) != 0
                      : link(path_.c_str(), target.c_str()) != 0)
            return errno;
        if (!overwrite)
            unlink(path_.c_str());
        path_.clear();
        return 0;
    }

  private:
    std::string path_;
};

// The data folder as the document names it: relative to the document's own folder (as the
// library's readers and the editor take a relative DataDirPath), so that the project opens from
// any current folder and moves with its data. A folder on another root stays absolute.
std::string DocumentRelative(const std::string& dataDir, const std::string& document) {
    const fs::path folder = fs::absolute(dataDir).lexically_normal();
    const fs::path base = fs::absolute(document).parent_path().lexically_normal();
    fs::path relative = folder.lexically_relative(base);
    if (relative.empty())
        return folder.string() + "/";
    std::string text = relative.string();
    if (text.back() == '.' && text.size() >= 2 && text[text.size() - 2] == '/')
        text.pop_back();  // "x/." from a folder given with a trailing separator
    return text.back() == '/' ? text : text + "/";
}

ZAR::LineOffsetPrompt SpacingPrompt(const CreateOptions& options) {
    if (options.line_spacing) {
        const double spacing = *options.line_spacing;
        return [spacing](std::string& text) {
            char number[32];
            std::snprintf(number, sizeof number, "%.17g", spacing);
            text = number;
            return true;
        };
    }
    if (options.ask_line_spacing)
        return options.ask_line_spacing;
    return [](std::string&) { return true; };  // the preset stays
}

}  // namespace

Project create(const std::string& path, const std::vector<std::string>& files,
               const CreateOptions& options) {
    RefuseTarget(path, files, options.overwrite);
    TemporaryFile temporary(MakeTemporary(path));

    std::string dataDir = options.data_dir;
    if (dataDir.empty())
        dataDir = boost::filesystem::path(files.front()).parent_path().string();
    if (dataDir.empty())
        dataDir = ".";
    if (dataDir.back() != '/' && dataDir.back() != '\\')
        dataDir += '/';
    ZAR::SCreatedBy creator;
    creator.name = options.created_by;
    creator.version = options.created_by_version.empty() ? ZAR::GetVersionResource().fileVersionText
                                                         : options.created_by_version;
    creator.DIP =
        options.created_by_dip.empty() ? ZAR::GetSoftwareDipText() : options.created_by_dip;
    creator.dateTime = ZAR::CDateTime::GetCurrentTime();

    std::vector<std::string> reports;
    int32_t result = 0;
    {
        const detail::MessageCapture capture(reports);
        const ZAR::CScopedLineOffsetPrompt prompt(SpacingPrompt(options));
        ZAR::CSVYXmlFile file;
        // The files are read through the folder as given (from the current folder); the
        // document then names it from its own folder.
        result = file.CreateNewFile_V110(temporary.path(), creator, files, dataDir.c_str());
        if (result == 0 && file.GotoRootNode() && file.GotoChildNode("Data") &&
            file.GotoChildNode("DataDirPath")) {
            file.SetNodeText(DocumentRelative(dataDir, path));
            result = file.Save();
        }
    }
    switch (result) {
        case 0:
            break;
        case -1:
            throw Error(Error::Kind::document, "the project was not created", result, reports);
        case 201:
        case 202:
            throw Error(Error::Kind::file_system, "cannot write " + path, result, reports);
        default:
            throw Error(Error::Kind::file_system,
                        "writing " + path + " failed (" + std::to_string(result) + ")", result,
                        reports);
    }

    Project project = [&] {
        try {
            return open(temporary.path());
        } catch (const Error& error) {
            std::vector<std::string> all = reports;
            all.insert(all.end(), error.messages().begin(), error.messages().end());
            throw Error(error.kind(), error.what(), error.code(), std::move(all));
        }
    }();
    size_t fileCount = 0;
    for (const Line& line : project.lines())
        fileCount += line.files().size();
    if (fileCount == 0)
        throw Error(Error::Kind::document, "no data file could be read; nothing written", 0,
                    reports);
    if (const int error = temporary.PutInPlace(path, options.overwrite))
        throw Error(Error::Kind::file_system, "cannot write " + path + ": " + std::strerror(error));

    Project::State& state = detail::ProjectAccess::Of(project);
    state.path = path;
    reports.insert(reports.end(), state.warnings.begin(), state.warnings.end());
    state.warnings = std::move(reports);
    return project;
}

}  // namespace svy3
