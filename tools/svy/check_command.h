// `svy check` and `svy lines`: whether a project's data files are on disk as its document says,
// and its lines as a table.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/svy/project_summary.h"

namespace svy_tool {

// A problem with one data file of a project.
struct FileProblem {
    std::string line, file;  // the line's name and the file's path as the document holds it
    std::string problem;
};

// Checks every data file of the summarised project at `project`: each file it needs (.HD and
// .DT1 of a radar file, .sen of an odometer file) is on disk, each radar header can be read, and
// the file's dimensions are known and agree with its header. Files are looked for where the
// library looks for headers: beside the document (in their own folder there), then in the
// document's data folder (relative to the document when relative); names in any letter case.
std::vector<FileProblem> CheckDataFiles(const std::string& project, const ProjectSummary& summary);

// Prints one line per problem (or a line saying that all is well; JSON when `json` is set).
// Returns the exit status: 0 when there is no problem, 1 when there is one (exit_status.h for a
// document that cannot be read).
int RunCheck(const std::string& project, bool json, std::ostream& out, std::ostream& err);

// Prints the project's lines, one per row: as aligned text, or as CSV (RFC 4180: a header row,
// fields with commas, quotes or line breaks quoted) when `csv` is set.
int RunLines(const std::string& project, bool csv, std::ostream& out, std::ostream& err);

}  // namespace svy_tool
