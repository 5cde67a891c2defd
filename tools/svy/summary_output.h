// Printing a project summary for people (text) and for programs (JSON).
#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/svy/project_summary.h"

namespace svy_tool {

// Text of a document as printed for people: control characters (and DEL) as \xNN, so that a
// name cannot move the cursor, clear the terminal or split a line of the listing.
std::string Shown(const std::string& text);

// A readable report: version, provenance, site, line sets, lines with their files, settings and
// messages.
void PrintSummary(const ProjectSummary& summary, std::ostream& out);

// The same content as a JSON object.
nlohmann::json SummaryToJson(const ProjectSummary& summary);

// The name of a line type code: "free", "reserved", "along X", "along Y", or "?".
const char* LineTypeName(int type);

}  // namespace svy_tool
