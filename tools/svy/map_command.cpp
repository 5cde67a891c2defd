#include "tools/svy/map_command.h"

#include <ostream>

#include <nlohmann/json.hpp>

#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
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

Json MapJson(const ZAR::GpzSvy120& editor, bool complete) {
    Json sets = Json::array();
    for (auto set = editor.Begin(); set != editor.End(); ++set) {
        Json lines = Json::array();
        for (auto line = editor.Begin(set); line != editor.End(set); ++line) {
            Json files = Json::array();
            for (auto file = editor.Begin(line); file != editor.End(line); ++file) {
                Json entry{{"path", file->first.string()},
                           {"positions", editor.EndPos(file) - editor.BeginPos(file)}};
                if (editor.BeginPos(file) != editor.EndPos(file)) {
                    entry["first"] = PositionJson(*editor.BeginPos(file));
                    entry["last"] = PositionJson(editor.Last(file));
                }
                files.push_back(std::move(entry));
            }
            lines.push_back(Json{{"name", line->first}, {"files", std::move(files)}});
        }
        sets.push_back(Json{{"name", set->first}, {"lines", std::move(lines)}});
    }
    return Json{{"project", editor.SvyFilePathName().string()},
                {"dataDir", editor.DataDir().string()},
                {"unit", ZAR::CMeasure::UnitToString(editor.Units())},
                {"complete", complete},
                {"lineSets", std::move(sets)}};
}

void PrintPosition(std::ostream& out, const ZAR::SvyLinePos& position) {
    out << "(" << position.X(ZAR::UNIT_M) << ", " << position.Y(ZAR::UNIT_M) << ", "
        << position.Z(ZAR::UNIT_M) << ") at " << position.m_dNormalizedFilePos;
}

void PrintMap(const ZAR::GpzSvy120& editor, std::ostream& out) {
    const std::string unit = ZAR::CMeasure::UnitToString(editor.Units());
    out << "Project: " << Shown(editor.SvyFilePathName().string()) << "\n"
        << "Data directory: " << Shown(editor.DataDir().string()) << "\n"
        << "Position unit: " << (unit.empty() ? "none" : unit) << "\n";
    for (auto set = editor.Begin(); set != editor.End(); ++set) {
        if (set->first.empty())
            out << "Lines outside line sets\n";
        else
            out << "Line set " << Shown(set->first) << "\n";
        for (auto line = editor.Begin(set); line != editor.End(set); ++line) {
            out << "  Line " << Shown(line->first) << "\n";
            for (auto file = editor.Begin(line); file != editor.End(line); ++file) {
                const auto count = editor.EndPos(file) - editor.BeginPos(file);
                out << "    " << Shown(file->first.string()) << ": " << count
                    << (count == 1 ? " position" : " positions");
                if (count > 0) {
                    out << ", first ";
                    PrintPosition(out, *editor.BeginPos(file));
                    out << ", last ";
                    PrintPosition(out, editor.Last(file));
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
    ZAR::GpzSvy120 editor;
    int32_t result = 0;
    try {
        result = editor.Load(project.c_str());
    } catch (const ZAR::CError& error) {
        err << "svy map: error " << error.Code() << ": " << error.what() << "\n";
        return kExitDocument;
    }
    if (result != 1)
        err << "svy map: data files whose sequence number is not 1 are not in the map\n";
    if (json)
        out << MapJson(editor, result == 1).dump(2, ' ', false, Json::error_handler_t::replace)
            << "\n";
    else
        PrintMap(editor, out);
    return 0;
}

}  // namespace svy_tool
