#include "tools/svy/plot_scene.h"

#include <algorithm>
#include <cmath>

#include <boost/filesystem/path.hpp>

#include "svy3/api.h"
#include "tools/svy/local_to_gps.h"

namespace svy_tool {
namespace {

constexpr int kMetreCode = 1;             // unit code of positions in metres
constexpr double kFootInMetres = 0.3048;  // any other unit code: feet

double MetresPerUnit(int unitCode) {
    return unitCode == kMetreCode ? 1.0 : kFootInMetres;
}

// The point at normalized file position `t`, between the positions around it.
PlotPoint At(svy3::Span<const svy3::Position> positions, double t, double factor) {
    auto point = [factor](const svy3::Position& p) {
        return PlotPoint{p.X * factor, p.Y * factor};
    };
    if (t <= positions.front().normalizedFilePos)
        return point(positions.front());
    if (t >= positions.back().normalizedFilePos)
        return point(positions.back());
    const auto after = std::upper_bound(
        positions.begin(), positions.end(), t,
        [](double value, const svy3::Position& p) { return value < p.normalizedFilePos; });
    const PlotPoint a = point(*(after - 1)), b = point(*after);
    const double span = after->normalizedFilePos - (after - 1)->normalizedFilePos;
    const double f = span > 0.0 ? (t - (after - 1)->normalizedFilePos) / span : 0.0;
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

// Where along its file a fiducial lies, from 0 to 1.
double FilePosition(const svy3::DataFile& file, double ododist) {
    const svy3::OdometerRange odometer = file.odometer();
    const double length = odometer.end - odometer.start;
    if (!(length > 0.0))
        return 0.0;
    return std::clamp((ododist - odometer.start) / length, 0.0, 1.0);
}

// The files whose positions draw the line: its radar files, or any file when none has positions.
std::vector<const svy3::DataFile*> DrawnFiles(const svy3::Line& line) {
    std::vector<const svy3::DataFile*> radar, any;
    for (const svy3::DataFile& file : line.files()) {
        if (file.positions().empty())
            continue;
        (file.is_radar() ? radar : any).push_back(&file);
    }
    return radar.empty() ? any : radar;
}

void AddLine(const svy3::Line& line, int set, int unitCode, PlotScene& scene) {
    PlotLine drawn;
    drawn.name = line.name();
    drawn.set = set;
    const std::vector<const svy3::DataFile*> files = DrawnFiles(line);
    for (const svy3::DataFile* file : files) {
        const double factor =
            MetresPerUnit(file->positions().front().unit) / MetresPerUnit(unitCode);
        for (const svy3::Position& p : file->positions())
            drawn.points.push_back({p.X * factor, p.Y * factor});
        for (const svy3::Fiducial& fid : file->fiducials())
            scene.fiducials.push_back(
                {At(file->positions(), FilePosition(*file, fid.ododist), factor), fid.comment});
    }
    if (files.empty()) {
        // No positions yet: along Y at the line's offset, over its odometer extent.
        drawn.fromPositions = false;
        const double perMetre = 1.0 / MetresPerUnit(unitCode);
        const double x = line.lateral_offset() * perMetre;
        double start = 0.0, end = 0.0;
        bool first = true;
        for (const svy3::DataFile& file : line.files()) {
            const svy3::OdometerRange odometer = file.odometer();
            start = first ? odometer.start : std::min(start, odometer.start);
            end = first ? odometer.end : std::max(end, odometer.end);
            first = false;
            for (const svy3::Fiducial& fid : file.fiducials())
                scene.fiducials.push_back({{x, fid.ododist * perMetre}, fid.comment});
        }
        drawn.points = {{x, start * perMetre}, {x, end * perMetre}};
    }
    scene.lines.push_back(std::move(drawn));
}

}  // namespace

bool BuildPlotScene(const svy3::Project& project,
                    const std::optional<svy3::Relationship>& relationship, bool lonLat,
                    PlotScene& scene, std::string& error) {
    scene = PlotScene();
    scene.title = boost::filesystem::path(project.path()).stem().string();
    int unitCode = kMetreCode;  // the unit of the first position
    bool found = false;
    for (const svy3::Line& line : project.lines())
        for (const svy3::DataFile& file : line.files())
            if (!found && !file.positions().empty()) {
                unitCode = file.positions().front().unit;
                found = true;
            }
    scene.unit = unitCode == kMetreCode ? "m" : "ft";
    scene.metresPerUnit = MetresPerUnit(unitCode);

    for (const svy3::LineSet& set : project.line_sets())
        scene.sets.push_back(set.name());
    for (const svy3::Line& line : project.lines()) {
        const auto set = std::find(scene.sets.begin(), scene.sets.end(), line.set());
        AddLine(line, line.set().empty() ? -1 : static_cast<int>(set - scene.sets.begin()),
                unitCode, scene);
    }
    if (!lonLat)
        return true;

    LocalToGps gps;
    if (!relationship || !gps.Fit(*relationship, error))
        return false;
    auto convert = [&](PlotPoint& point) {
        double latitude = 0.0, longitude = 0.0;
        if (!gps.Convert(point.x * scene.metresPerUnit, point.y * scene.metresPerUnit, latitude,
                         longitude)) {
            error = "a point of the survey lies outside the UTM zones";
            return false;
        }
        point = {longitude, latitude};
        return true;
    };
    for (PlotLine& line : scene.lines)
        for (PlotPoint& point : line.points)
            if (!convert(point))
                return false;
    for (PlotMark& mark : scene.fiducials)
        if (!convert(mark.at))
            return false;
    scene.lonLat = true;
    scene.unit = "m";
    return true;
}

}  // namespace svy_tool
