// Sample radar surveys on disk: header, trace and odometer files as an instrument writes them.
#pragma once

#include <string>
#include <vector>

namespace svy3_samples {

struct RadarSurveyShape {
    int lines = 3;
    int filesPerLine = 3;
    int tracesPerFile = 200;
    int samplesPerTrace = 250;
    std::string prefix = "DEMO";  // file names are <prefix>C<line>B<seq>
    bool traces = true;           // false: empty trace files (for runs that read headers only)
    bool odometerFile = true;     // an odometer file <prefix>C1B1.sen for the first line
    std::string dateTime;         // acquisition time of every header; empty: now
};

// Writes the files of a sample survey into `folder` (created when missing): for every line and
// sequence number a header <prefix>C<line>B<seq>.HD and a trace file .DT1 with synthetic traces
// (a flat layer and a buried pipe across the lines), and, when asked, one odometer file for the
// first line. Returns the paths of the trace and odometer files in line and sequence order, or an
// empty list with the reason in `error`.
std::vector<std::string> WriteRadarSurvey(const std::string& folder, const RadarSurveyShape& shape,
                                          std::string& error);

}  // namespace svy3_samples
