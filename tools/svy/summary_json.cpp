#include "tools/svy/summary_json.h"

namespace svy_tool {

using nlohmann::json;

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
             {"settings", file.settingsIndex}};
}

void to_json(json& j, const LineSummary& line) {
    j = json{{"name", line.name},
             {"set", line.set},
             {"type", line.type},
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
        {"messages", summary.messages}};
}

}  // namespace svy_tool
