// `svy info`: the summary of a project document, for people or as JSON.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

// Prints the summary of the project document at `project` to `out`: readable text, or JSON when
// `json` is set (bytes that are not UTF-8 become U+FFFD there; control characters are escaped in
// the text). Returns the process exit status (exit_status.h): 0 when the document was read.
int RunInfo(const std::string& project, bool json, std::ostream& out);

}  // namespace svy_tool
