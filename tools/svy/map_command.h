// svy map: a project document's line map as the editor builds it.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

// Loads `project` through the editor and prints its line sets, lines and data files (full paths,
// position count, first and last position), readably or as JSON. Editor errors go to `err` with
// their code and message. Returns 0 when the map was built (a data file left out of the map is
// reported on `err`), 1 when the document was refused.
int RunMap(const std::string& project, bool json, std::ostream& out, std::ostream& err);

}  // namespace svy_tool
