#include "tools/svy/create_command.h"

#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include <boost/filesystem.hpp>

#include "svy3/platform/file_lookup.h"
#include "svy3/platform/text.h"
#include "svy3/svy3.h"
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

// Answers the line offset dialog: with the given spacing, or by asking on the terminal.
ZAR::LineOffsetPrompt MakePrompt(double lineSpacing) {
    if (lineSpacing >= 0.0) {
        return [lineSpacing](std::string& text) {
            char number[32];
            std::snprintf(number, sizeof number, "%.17g", lineSpacing);
            text = number;
            return true;
        };
    }
    if (!isatty(STDIN_FILENO))
        return {};  // no terminal: the dialog keeps its preset
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

// Checks every radar header before creating, so that unreadable ones are named (the creator skips
// them silently) and a long selection shows its progress.
int CheckHeaders(const std::vector<std::string>& files) {
    ProgressBar progress("reading headers", files.size(), files.size() > 300);
    int unreadable = 0;
    for (const std::string& file : files) {
        progress.Advance();
        const std::string ext = LowerExtension(file);
        if (ext != ".dt1")
            continue;
        const std::string header = ZAR::FindFileIgnoringCase(
            boost::filesystem::path(file).replace_extension(".hd").string());
        ZAR::GprParam param;
        if (param.Load(header, 0) != 0) {
            progress.Clear();
            std::cerr << "svy create: skipping " << file << ": its header " << header
                      << " cannot be read\n";
            ++unreadable;
        }
    }
    progress.Finish();
    return unreadable;
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
        return 1;
    }
    std::string dataDir = options.dataDir;
    if (dataDir.empty())
        dataDir = boost::filesystem::path(files.front()).parent_path().string();
    if (dataDir.empty())
        dataDir = ".";
    if (dataDir.back() != '/' && dataDir.back() != '\\')
        dataDir += '/';

    const int skipped = CheckHeaders(files);

    ZAR::SCreatedBy creator;
    creator.name = options.createdBy;
    creator.version = ZAR::GetVersionResource().fileVersionText;
    creator.DIP = ZAR::GetSoftwareDipText();
    creator.dateTime = ZAR::CDateTime::GetCurrentTime();
    int32_t result = 0;
    {
        const ZAR::CScopedLineOffsetPrompt prompt(MakePrompt(options.lineSpacing));
        const ZAR::CScopedMessageBoxHandler messages(
            [](const std::string& text, ZAR::MessageIcon) { std::cerr << text << "\n"; });
        ZAR::CSVYXmlFile file;
        result = file.CreateNewFile_V110(options.output, creator, files, dataDir.c_str());
    }

    switch (result) {
        case 0:
            break;
        case -1:
            std::cerr << "svy create: the project was not created\n";
            return 1;
        case 201:
        case 202:
            std::cerr << "svy create: cannot write " << options.output << "\n";
            return 1;
        default:
            std::cerr << "svy create: writing " << options.output << " failed (" << result << ")\n";
            return 1;
    }
    if (options.quiet)
        return 0;

    ProjectSummary summary;
    std::string error;
    if (!SummarizeProject(options.output, summary, error)) {
        std::cerr << "svy create: " << error << "\n";
        return 1;
    }
    size_t fileCount = 0;
    for (const LineSummary& line : summary.lines)
        fileCount += line.files.size();
    out << "Wrote " << options.output << ": " << summary.lines.size() << " lines, " << fileCount
        << " data files from " << files.size() << " selected files";
    if (skipped)
        out << " (" << skipped << " without a readable header)";
    out << ", data folder " << summary.dataDir << "\n";
    return 0;
}

}  // namespace svy_tool
