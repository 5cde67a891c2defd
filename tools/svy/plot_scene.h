// What `svy plot` draws, gathered from a project: lines as polylines, fiducials as marks, the
// line sets for colours and the legend. Coordinates are in the local grid of the document (or in
// longitude and latitude, degrees).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "svy3/api/editor.h"

namespace svy3 {
class Project;
}

namespace svy_tool {

struct PlotPoint {
    double x = 0.0, y = 0.0;
};

struct PlotLine {
    std::string name;
    int set = -1;                   // index into PlotScene::sets; -1 outside line sets
    std::vector<PlotPoint> points;  // in the order surveyed: file by file, along each file
    bool fromPositions = true;      // false: laid out from the line's offset and odometer (dashed)
};

struct PlotMark {
    PlotPoint at;
    std::string comment;
};

struct PlotScene {
    std::string title;              // the project's name
    std::string unit = "m";         // of the coordinates (local grid)
    double metresPerUnit = 1.0;     // for the scale bar
    bool lonLat = false;            // x longitude, y latitude (degrees); else the local grid
    std::vector<std::string> sets;  // line set names, in the document's order
    std::vector<PlotLine> lines;
    std::vector<PlotMark> fiducials;
    int fiducialsLeftOut = 0;  // outside their file's odometer range, or the file has none
};

// Gathers the scene of `project`. With `relationship`, every point is carried to longitude and
// latitude; without it, the points stay in the local grid. Returns false with `error` set when
// the relationship cannot be fitted or a point cannot be converted.
bool BuildPlotScene(const svy3::Project& project,
                    const std::optional<svy3::Relationship>& relationship, bool lonLat,
                    PlotScene& scene, std::string& error);

}  // namespace svy_tool
