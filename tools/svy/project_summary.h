// What `svy info` tells about a project document, gathered through the library.
#pragma once

#include <string>
#include <vector>

namespace svy3 {
class Project;
}

namespace svy_tool {

struct ProvenanceEntry {
    std::string block;  // "SiteDefinition" or "Data"
    std::string kind;   // "created" or "modified"
    std::string name, version, dip, date, time, comment;
};

struct SettingsSummary {
    int sampleCount = 0;
    double timeZero = 0, sampleIntervalNs = 0, stepSizeMetres = 0, frequencyMHz = 0;
    double pulserVoltage = 0, odometerTicksPerMetre = 0, antennaSeparationMetres = 0;
    std::string surveyMode;
    std::vector<std::string> processing;
};

struct FileSummary {
    std::string path, kind;
    double odoStart = 0, odoEnd = 0, odoStep = 0;  // metres
    int dim0 = 0, dim1 = 0, dim2 = 0;
    int positionCount = 0;
    int settingsIndex = -1;  // index into ProjectSummary::settings
};

struct LineSummary {
    std::string name, set;  // set: empty for a line outside line sets
    int type = 0;
    double startX = 0, endX = 0, startY = 0, endY = 0;
    double positionCount = 0;
    char direction = 'N';
    double lateralOffset = 0;  // metres from the first line, from the line's distance reference
    std::vector<FileSummary> files;  // empty slots (gaps in the sequence) are not listed
    int fileSlots = 0;
};

struct ProjectSummary {
    std::string path, version, dataDir;
    std::vector<ProvenanceEntry> provenance;
    std::vector<std::pair<std::string, std::string>> siteFields;
    std::vector<std::string> siteComments;
    std::string jobDate;  // "" when the job has no valid date
    std::vector<std::string> lineSets;
    std::vector<LineSummary> lines;
    std::vector<SettingsSummary> settings;
    std::string messages;  // what the library reported while opening (one message per line)
};

// Why the project document at `path` cannot be opened, found before the library tries: a path
// longer than the 255 bytes the library's document cursor accepts, a missing file, a folder, a
// file that cannot be read. "" when none of these; otherwise the message, with the exit status
// (exit_status.h) in `status`.
std::string ProjectFileProblem(const std::string& path, int& status);

// Fills `summary` from an opened project (its messages left out).
void SummarizeProject(const svy3::Project& project, ProjectSummary& summary);

// Opens the project document at `path` through the library and fills `summary`. Message boxes
// the library shows go to standard error and into summary.messages. Returns false, with the
// reason in `error`, when the document cannot be opened.
bool SummarizeProject(const std::string& path, ProjectSummary& summary, std::string& error);

}  // namespace svy_tool
