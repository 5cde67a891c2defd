// How the tool's commands report an error of the svy3 interface.
#pragma once

#include <iosfwd>
#include <string>

namespace svy3 {
class Error;
}

namespace svy_tool {

// Writes "svy VERB: error CODE: MESSAGE" (without "error CODE: " when the library gave no code).
void ReportError(const std::string& verb, const svy3::Error& error, std::ostream& err);

// The exit status of an error: a file system problem, or else a document problem.
int ExitStatusOf(const svy3::Error& error);

}  // namespace svy_tool
