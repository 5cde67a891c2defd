// JSON forms of the summary records, found by nlohmann::json through argument-dependent lookup:
// `nlohmann::json(summary)` gives the object `svy info --json` prints.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/svy/project_summary.h"

namespace svy_tool {

// block, kind, name, version, dip, date, time, comment.
void to_json(nlohmann::json& j, const ProvenanceEntry& entry);
// The acquisition settings, with units in the key names.
void to_json(nlohmann::json& j, const SettingsSummary& settings);
// path, kind, odometer [start, end, step], dims [0, 1, 2], positions, settings (index or -1).
void to_json(nlohmann::json& j, const FileSummary& file);
// name, set, type, start [x, y], end [x, y], direction, lateralOffset, positions, fileSlots, files.
void to_json(nlohmann::json& j, const LineSummary& line);
// The whole summary; the site is {fields: {name: text}, comments, jobDate}.
void to_json(nlohmann::json& j, const ProjectSummary& summary);

}  // namespace svy_tool
