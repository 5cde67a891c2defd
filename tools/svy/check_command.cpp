#include "tools/svy/check_command.h"

#include <charconv>
#include <ostream>

#include <boost/filesystem.hpp>
#include <nlohmann/json.hpp>

#include "svy3/platform/text.h"
#include "svy3/svy3.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {
namespace {

namespace fs = boost::filesystem;

// A path as the document writes it (backslashes) turned into one for this file system.
std::string OnDisk(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// Where a file of the document may be: beside the document, then in its data folder.
std::vector<std::string> Candidates(const std::string& project, const std::string& dataDir,
                                    const std::string& relative) {
    fs::path folder = fs::path(project).parent_path();
    if (folder.empty())
        folder = ".";
    std::vector<std::string> candidates{(folder / OnDisk(relative)).string()};
    if (!dataDir.empty()) {
        fs::path data = OnDisk(dataDir);
        if (data.is_relative())
            data = folder / data;
        candidates.push_back((data / OnDisk(relative)).string());
    }
    return candidates;
}

// The path of the first candidate on disk (any letter case); "" when none is.
std::string Find(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        const std::string found = ZAR::FindFileIgnoringCase(candidate);
        boost::system::error_code error;
        if (fs::is_regular_file(found, error))
            return found;
    }
    return std::string();
}

// The extensions a file of the given kind needs on disk.
std::vector<std::string> NeededExtensions(const std::string& kind) {
    const std::string lower = ZAR::ToLower(kind);
    if (lower == "hd+dt1" || lower == ".dt1")
        return {".HD", ".DT1"};
    if (lower == ".hd")
        return {".HD"};
    if (lower == ".sen")
        return {".sen"};
    return {};
}

std::string Dimensions(int samples, int traces) {
    return std::to_string(samples) + " samples x " + std::to_string(traces) + " traces";
}

void CheckFile(const std::string& project, const std::string& dataDir, const LineSummary& line,
               const FileSummary& file, std::vector<FileProblem>& problems) {
    auto report = [&](const std::string& problem) {
        problems.push_back(FileProblem{line.name, file.path, problem});
    };
    const std::vector<std::string> extensions = NeededExtensions(file.kind);
    if (extensions.empty()) {
        report("unknown file kind \"" + file.kind + "\"");
        return;
    }
    std::string header;
    for (const std::string& extension : extensions) {
        const std::vector<std::string> candidates =
            Candidates(project, dataDir, file.path + extension);
        const std::string found = Find(candidates);
        if (found.empty()) {
            std::string places = candidates.front();
            for (size_t i = 1; i < candidates.size(); ++i)
                places += " or " + candidates[i];
            report("missing " + extension + " file (looked for " + places + ")");
        } else if (extension == ".HD") {
            header = found;
        }
    }
    if (extensions.front() != ".HD")
        return;
    if (file.dim1 < 0 || file.dim2 < 0)
        report("dimensions unknown");
    if (header.empty())
        return;
    ZAR::GprParam param;
    if (param.Load(header, 0) != ZAR::GprParam::LoadOk) {
        report("header " + header + " cannot be read");
        return;
    }
    const ZAR::SGprParam& read = *param.GetGprParam();
    if (file.dim1 >= 0 && file.dim2 >= 0 &&
        (static_cast<uint32_t>(file.dim1) != read.SamplesPerTrace ||
         static_cast<uint32_t>(file.dim2) != read.NumTraces))
        report(
            "the document says " + Dimensions(file.dim1, file.dim2) + ", the header " +
            Dimensions(static_cast<int>(read.SamplesPerTrace), static_cast<int>(read.NumTraces)));
}

// Opens the project for a command; on failure prints why and gives the exit status.
int Summarize(const char* command, const std::string& project, ProjectSummary& summary,
              std::ostream& err) {
    int status = kExitOk;
    std::string error = ProjectFileProblem(project, status);
    if (!error.empty()) {
        err << "svy " << command << ": " << error << "\n";
        return status;
    }
    if (!SummarizeProject(project, summary, error)) {
        err << "svy " << command << ": " << error << "\n";
        return kExitDocument;
    }
    return kExitOk;
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string Csv(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The shortest decimal text that reads back as `value`.
std::string Number(double value) {
    char text[64];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

std::vector<FileProblem> CheckDataFiles(const std::string& project, const ProjectSummary& summary) {
    std::vector<FileProblem> problems;
    for (const LineSummary& line : summary.lines)
        for (const FileSummary& file : line.files)
            CheckFile(project, summary.dataDir, line, file, problems);
    return problems;
}

int RunCheck(const std::string& project, bool json, std::ostream& out, std::ostream& err) {
    ProjectSummary summary;
    if (const int status = Summarize("check", project, summary, err))
        return status;
    const std::vector<FileProblem> problems = CheckDataFiles(project, summary);
    size_t files = 0;
    for (const LineSummary& line : summary.lines)
        files += line.files.size();
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const FileProblem& p : problems)
            list.push_back({{"line", p.line}, {"file", p.file}, {"problem", p.problem}});
        const nlohmann::ordered_json report{
            {"project", project}, {"dataFiles", files}, {"problems", std::move(list)}};
        out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    } else {
        for (const FileProblem& p : problems)
            out << Shown(p.line) << ": " << Shown(p.file) << ": " << Shown(p.problem) << "\n";
        if (problems.empty())
            out << Shown(project) << ": " << files << " data files, all on disk and readable\n";
    }
    return problems.empty() ? kExitOk : kExitDocument;
}

int RunLines(const std::string& project, bool csv, std::ostream& out, std::ostream& err) {
    ProjectSummary summary;
    if (const int status = Summarize("lines", project, summary, err))
        return status;
    if (csv)
        out << "line,set,start_x,start_y,end_x,end_y,direction,lateral_offset_m,files,positions"
               "\r\n";
    for (const LineSummary& line : summary.lines) {
        const std::string fields[] = {line.name,
                                      line.set,
                                      Number(line.startX),
                                      Number(line.startY),
                                      Number(line.endX),
                                      Number(line.endY),
                                      std::string(1, line.direction),
                                      Number(line.lateralOffset),
                                      std::to_string(line.files.size()),
                                      Number(line.positionCount)};
        const char* separator = "";
        for (const std::string& field : fields) {
            out << separator << (csv ? Csv(field) : Shown(field));
            separator = csv ? "," : "\t";
        }
        out << (csv ? "\r\n" : "\n");
    }
    return kExitOk;
}

}  // namespace svy_tool
