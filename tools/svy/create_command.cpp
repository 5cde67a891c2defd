#include "tools/svy/create_command.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <boost/filesystem.hpp>

#include "svy3/platform/file_lookup.h"
#include "svy3/platform/text.h"
#include "svy3/svy3.h"
#include "tools/svy/error_report.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/progress_bar.h"
#include "tools/svy/project_summary.h"

namespace svy_tool {
namespace {

std::string LowerExtension(const std::string& path) {
    return ZAR::ToLower(boost::filesystem::path(path).extension().string());
}

bool IsDataFile(const std::string& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".dt1" || ext == ".hd" || ext == ".sen";
}

// Asks for the line spacing on the terminal, or, without one, keeps the preset and says so.
ZAR::LineOffsetPrompt MakePrompt() {
    if (!isatty(STDIN_FILENO)) {
        // No terminal: the dialog keeps its preset, and the user is told which it is.
        return [](std::string& text) {
            std::cerr << "svy create: no terminal and no --line-spacing: lines are " << text
                      << " m apart\n";
            return true;
        };
    }
    return [](std::string& text) {
        std::cerr << "Line spacing in metres [" << text << "]: " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer))
            return false;  // end of input closes the dialog
        if (!answer.empty())
            text = answer;
        return true;
    };
}

struct HeaderCount {
    int readable = 0, unreadable = 0;
};

// Checks every radar header before creating, so that unreadable ones are named (the creator skips
// them silently) and a long selection shows its progress.
HeaderCount CheckHeaders(const std::vector<std::string>& files) {
    ProgressBar progress("reading headers", files.size(), files.size() > 300);
    HeaderCount count;
    for (const std::string& file : files) {
        progress.Advance();
        const std::string ext = LowerExtension(file);
        if (ext == ".sen")
            ++count.readable;  // read by the creator, which fails when it cannot
        if (ext != ".dt1")
            continue;
        struct stat info {};
        if (stat(file.c_str(), &info) != 0) {
            progress.Clear();
            std::cerr << "svy create: skipping " << file << ": " << std::strerror(errno) << "\n";
            ++count.unreadable;
            continue;
        }
        const std::string header = ZAR::FindFileIgnoringCase(
            boost::filesystem::path(file).replace_extension(".hd").string());
        ZAR::GprParam param;
        if (param.Load(header, 0) != 0) {
            progress.Clear();
            std::cerr << "svy create: skipping " << file << ": its header " << header
                      << " cannot be read\n";
            ++count.unreadable;
        } else {
            ++count.readable;
        }
    }
    progress.Finish();
    return count;
}

// The longest path by which the library opens a document.
constexpr size_t kLongestPath = ZAR::CSVYXmlFile::kTextBufferSize - 1;

bool SameFile(const struct stat& a, const std::string& path) {
    struct stat b {};
    return stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Why the output may not be written, or "" when it may; `status` gets the exit status.
std::string RefuseOutput(const CreateOptions& options, const std::vector<std::string>& files,
                         int& status) {
    status = kExitUsage;
    if (IsDataFile(options.output))
        return options.output +
               " has the extension of a radar data file; a project document "
               "is not written there";
    if (options.output.size() > kLongestPath)
        return status = kExitFileSystem,
               "the path " + options.output + " is " + std::to_string(options.output.size()) +
                   " bytes long; project documents are opened by paths of at most " +
                   std::to_string(kLongestPath) + " bytes";
    struct stat target {};
    if (stat(options.output.c_str(), &target) != 0)
        return errno == ENOENT ? std::string() : options.output + ": " + std::strerror(errno);
    for (const std::vector<std::string>* list : {&files, &options.inputs})
        for (const std::string& input : *list)
            if (SameFile(target, input))
                return options.output + " is one of the input files (" + input + ")";
    status = kExitFileSystem;
    if (S_ISDIR(target.st_mode))
        return options.output + " is a folder";
    if (!options.force)
        return options.output + " exists; use --force to replace it";
    return std::string();
}

}  // namespace

std::vector<std::string> ExpandSelection(const std::vector<std::string>& inputs) {
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        if (input.find_first_of("*?[") == std::string::npos) {
            if (IsDataFile(input))
                files.push_back(input);
            continue;
        }
        glob_t matches{};
        if (glob(input.c_str(), 0, nullptr, &matches) == 0) {
            for (size_t i = 0; i < matches.gl_pathc; ++i)
                if (IsDataFile(matches.gl_pathv[i]))
                    files.emplace_back(matches.gl_pathv[i]);
        } else {
            std::cerr << "svy create: no file matches " << input << "\n";
        }
        globfree(&matches);
    }
    return files;
}

int RunCreate(const CreateOptions& options, std::ostream& out) {
    const std::vector<std::string> files = ExpandSelection(options.inputs);
    if (files.empty()) {
        std::cerr << "svy create: no .DT1, .HD or .sen files selected\n";
        return kExitUsage;
    }
    int status = kExitOk;
    const std::string refusal = RefuseOutput(options, files, status);
    if (!refusal.empty()) {
        std::cerr << "svy create: " << refusal << "\n";
        return status;
    }
    const HeaderCount headers = CheckHeaders(files);
    if (headers.readable == 0) {
        std::cerr << "svy create: no data file could be read; nothing written\n";
        return kExitDocument;
    }

    svy3::CreateOptions create;
    create.data_dir = options.dataDir;
    if (options.lineSpacing >= 0.0)
        create.line_spacing = options.lineSpacing;
    else
        create.ask_line_spacing = MakePrompt();
    create.created_by = options.createdBy;
    create.overwrite = options.force;
    ProjectSummary summary;
    try {
        const svy3::Project project = svy3::create(options.output, files, create);
        for (const std::string& message : project.warnings())
            std::cerr << message << "\n";
        SummarizeProject(project, summary);
    } catch (const svy3::Error& error) {
        for (const std::string& message : error.messages())
            std::cerr << message << "\n";
        std::cerr << "svy create: " << error.what() << "\n";
        return ExitStatusOf(error);
    }
    size_t fileCount = 0;
    for (const LineSummary& line : summary.lines)
        fileCount += line.files.size();
    if (options.quiet)
        return kExitOk;
    out << "Wrote " << options.output << ": " << summary.lines.size() << " lines, " << fileCount
        << " data files from " << files.size() << " selected files";
    if (headers.unreadable)
        out << " (" << headers.unreadable << " without a readable header)";
    out << ", data folder " << summary.dataDir << "\n";
    return kExitOk;
}

}  // namespace svy_tool
