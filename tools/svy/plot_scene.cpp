#include "tools/svy/plot_scene.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <boost/filesystem/path.hpp>

#include "svy3/api.h"
#include "tools/svy/local_to_gps.h"

namespace svy_tool {
namespace {

constexpr int kMetreCode = 1;             // unit code of positions in metres
constexpr double kFootInMetres = 0.3048;  // any other unit code: feet
// A fiducial this far (as a share of its file) beyond an end of its file's odometer range is
// still at that end: odometer distances are written rounded.
constexpr double kFileEndTolerance = 1e-6;

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

// Where along its file a fiducial lies, from 0 to 1; none when the file has no odometer range or
// the fiducial lies outside it (it could only be put at an end of the line, where it is not).
std::optional<double> FilePosition(const svy3::DataFile& file, double ododist) {
    const svy3::OdometerRange odometer = file.odometer();
    const double length = odometer.end - odometer.start;
    if (!(length > 0.0))
        return std::nullopt;
    const double t = (ododist - odometer.start) / length;
    if (!(t >= -kFileEndTolerance && t <= 1.0 + kFileEndTolerance))
        return std::nullopt;
    return std::clamp(t, 0.0, 1.0);
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

// A line without positions, laid out from what the document knows: along Y (the axis of a line
// without positions) at its lateral offset, over the odometer range of its files, from the start
// of the range to its end.
void LayOutLine(const svy3::Line& line, int unitCode, PlotLine& drawn, PlotScene& scene) {
    drawn.fromPositions = false;
    const double perMetre = 1.0 / MetresPerUnit(unitCode);
    auto at = [&](double along) {
        return PlotPoint{line.lateral_offset() * perMetre, along * perMetre};
    };
    double start = 0.0, end = 0.0;
    bool first = true;
    for (const svy3::DataFile& file : line.files()) {
        const svy3::OdometerRange odometer = file.odometer();
        start = first ? odometer.start : std::min(start, odometer.start);
        end = first ? odometer.end : std::max(end, odometer.end);
        first = false;
        for (const svy3::Fiducial& fid : file.fiducials()) {
            if (FilePosition(file, fid.ododist))
                scene.fiducials.push_back({at(fid.ododist), fid.comment});
            else
                ++scene.fiducialsLeftOut;
        }
    }
    drawn.points = {at(start), at(end)};
}

void AddLine(const svy3::Line& line, int set, int unitCode, PlotScene& scene) {
    PlotLine drawn;
    drawn.name = line.name();
    drawn.set = set;
    const std::vector<const svy3::DataFile*> files = DrawnFiles(line);
    for (const svy3::DataFile* file : files) {
        const double factor =
            MetresPerUnit(file->positions().front().unit) / MetresPerUnit(unitCode);
        drawn.points.reserve(drawn.points.size() + file->positions().size());
        for (const svy3::Position& p : file->positions())
            drawn.points.push_back({p.X * factor, p.Y * factor});
        for (const svy3::Fiducial& fid : file->fiducials()) {
            if (const std::optional<double> t = FilePosition(*file, fid.ododist))
                scene.fiducials.push_back({At(file->positions(), *t, factor), fid.comment});
            else
                ++scene.fiducialsLeftOut;
        }
    }
    if (files.empty())
        LayOutLine(line, unitCode, drawn, scene);
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
