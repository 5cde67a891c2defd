#include "tools/svy/summary_json.h"

#include <string>
#include <vector>

#include "tools/svy/summary_output.h"

namespace svy_tool {

using nlohmann::json;

namespace {

// The library's messages, one per line (each starts on a line of its own).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        const auto end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

void to_json(json& j, const ProvenanceEntry& entry) {
    j = json{{"block", entry.block},     {"kind", entry.kind},      {"name", entry.name},
             {"version", entry.version}, {"dip", entry.dip},        {"date", entry.date},
             {"time", entry.time},       {"comment", entry.comment}};
}

void to_json(json& j, const SettingsSummary& settings) {
    j = json{{"sampleCount", settings.sampleCount},
             {"timeZero", settings.timeZero},
             {"sampleIntervalNs", settings.sampleIntervalNs},
             {"stepSizeMetres", settings.stepSizeMetres},
             {"frequencyMHz", settings.frequencyMHz},
             {"pulserVoltage", settings.pulserVoltage},
             {"odometerTicksPerMetre", settings.odometerTicksPerMetre},
             {"antennaSeparationMetres", settings.antennaSeparationMetres},
             {"surveyMode", settings.surveyMode},
             {"processing", settings.processing}};
}

void to_json(json& j, const FileSummary& file) {
    j = json{{"path", file.path},
             {"kind", file.kind},
             {"odometer", json::array({file.odoStart, file.odoEnd, file.odoStep})},
             {"dims", json::array({file.dim0, file.dim1, file.dim2})},
             {"positions", file.positionCount},
             // 1-based, as the text output numbers them; null without settings.
             {"settings", file.settingsIndex >= 0 ? json(file.settingsIndex + 1) : json()}};
}

void to_json(json& j, const LineSummary& line) {
    j = json{{"name", line.name},
             {"set", line.set},
             {"type", LineTypeName(line.type)},
             {"start", json::array({line.startX, line.startY})},
             {"end", json::array({line.endX, line.endY})},
             {"direction", std::string(1, line.direction)},
             {"lateralOffset", line.lateralOffset},
             {"positions", line.positionCount},
             {"fileSlots", line.fileSlots},
             {"files", line.files}};
}

void to_json(json& j, const ProjectSummary& summary) {
    json fields = json::object();
    for (const auto& field : summary.siteFields)
        fields[field.first] = field.second;
    j = json{
        {"path", summary.path},
        {"version", summary.version},
        {"dataDir", summary.dataDir},
        {"provenance", summary.provenance},
        {"site",
         {{"fields", fields}, {"comments", summary.siteComments}, {"jobDate", summary.jobDate}}},
        {"lineSets", summary.lineSets},
        {"lines", summary.lines},
        {"settings", summary.settings},
        {"messages", Lines(summary.messages)}};
}

}  // namespace svy_tool
