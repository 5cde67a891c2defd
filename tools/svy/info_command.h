// `svy info`: the summary of a project document, for people or as JSON.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

// Prints the summary of the project document at `project` to `out`: readable text, or JSON when
// `json` is set. Returns the process exit status: 0 when the document could be opened.
int RunInfo(const std::string& project, bool json, std::ostream& out);

}  // namespace svy_tool
