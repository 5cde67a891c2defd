#include "tools/svy/map_command.h"

#include <ostream>

#include <nlohmann/json.hpp>

#include "svy3/api.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {
namespace {

using Json = nlohmann::ordered_json;

Json PositionJson(const ZAR::SvyLinePos& position) {
    return Json{{"x", position.X(ZAR::UNIT_M)},
                {"y", position.Y(ZAR::UNIT_M)},
                {"z", position.Z(ZAR::UNIT_M)},  // NaN (no height) is written as null
                {"filePos", position.m_dNormalizedFilePos}};
}

Json MapJson(const svy3::Editor& editor) {
    Json sets = Json::array();
    for (const auto& [set, lines] : editor.map()) {
        Json linesJson = Json::array();
        for (const auto& [line, files] : lines) {
            Json filesJson = Json::array();
            for (const auto& [path, positions] : files) {
                Json entry{{"path", path.string()}, {"positions", positions.size()}};
                if (!positions.empty()) {
                    entry["first"] = PositionJson(positions.front());
                    entry["last"] = PositionJson(positions.back());
                }
                filesJson.push_back(std::move(entry));
            }
            linesJson.push_back(Json{{"name", line}, {"files", std::move(filesJson)}});
        }
        sets.push_back(Json{{"name", set}, {"lines", std::move(linesJson)}});
    }
    return Json{{"project", editor.path()},
                {"dataDir", editor.data_dir()},
                {"unit", editor.unit()},
                {"complete", editor.complete()},
                {"lineSets", std::move(sets)}};
}

void PrintPosition(std::ostream& out, const ZAR::SvyLinePos& position) {
    out << "(" << position.X(ZAR::UNIT_M) << ", " << position.Y(ZAR::UNIT_M) << ", "
        << position.Z(ZAR::UNIT_M) << ") at " << position.m_dNormalizedFilePos;
}

void PrintMap(const svy3::Editor& editor, std::ostream& out) {
    const std::string unit = editor.unit();
    out << "Project: " << Shown(editor.path()) << "\n"
        << "Data directory: " << Shown(editor.data_dir()) << "\n"
        << "Position unit: " << (unit.empty() ? "none" : unit) << "\n";
    for (const auto& [set, lines] : editor.map()) {
        if (set.empty())
            out << "Lines outside line sets\n";
        else
            out << "Line set " << Shown(set) << "\n";
        for (const auto& [line, files] : lines) {
            out << "  Line " << Shown(line) << "\n";
            for (const auto& [path, positions] : files) {
                const size_t count = positions.size();
                out << "    " << Shown(path.string()) << ": " << count
                    << (count == 1 ? " position" : " positions");
                if (count > 0) {
                    out << ", first ";
                    PrintPosition(out, positions.front());
                    out << ", last ";
                    PrintPosition(out, positions.back());
                }
                out << "\n";
            }
        }
    }
}

}  // namespace

int RunMap(const std::string& project, bool json, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    const std::string problem = ProjectFileProblem(project, status);
    if (!problem.empty()) {
        err << "svy map: " << problem << "\n";
        return status;
    }
    try {
        const svy3::Editor editor(project);
        if (!editor.complete())
            err << "svy map: data files whose sequence number is not 1 are not in the map\n";
        if (json)
            out << MapJson(editor).dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        else
            PrintMap(editor, out);
    } catch (const svy3::Error& error) {
        err << "svy map: error " << error.code() << ": " << error.what() << "\n";
        return kExitDocument;
    }
    return 0;
}

}  // namespace svy_tool
