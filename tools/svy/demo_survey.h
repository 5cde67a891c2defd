// `svy demo`: a realistic sample survey on disk, its project document and its summary.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace svy_tool {

struct DemoShape {
    int lines = 3;
    int filesPerLine = 3;
    int tracesPerFile = 200;
    int samplesPerTrace = 250;
};

// Writes the radar files of a sample survey into `folder` (created when missing): for every line
// and sequence number a header DEMOC<line>B<seq>.HD and a trace file DEMOC<line>B<seq>.DT1 with
// synthetic traces (a flat layer and a buried pipe), and one odometer file DEMOC1B1.sen for the
// first line. Returns the paths of the trace and odometer files, or an empty list with `error`.
std::vector<std::string> WriteDemoSurvey(const std::string& folder, const DemoShape& shape,
                                         std::string& error);

// Generates the sample survey in `folder`, creates its project document demo.svy there and prints
// its summary to `out`. Returns the process exit status.
int RunDemo(const std::string& folder, std::ostream& out);

}  // namespace svy_tool
