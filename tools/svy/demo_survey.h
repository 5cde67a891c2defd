// `svy demo`: a realistic sample survey on disk, its project document and its summary.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

// Generates the sample survey in `folder` (3 lines of 3 files, see tools/samples/sample_survey.h),
// creates its project document demo.svy there and prints its summary to `out`. Returns the process
// exit status.
int RunDemo(const std::string& folder, std::ostream& out);

}  // namespace svy_tool
