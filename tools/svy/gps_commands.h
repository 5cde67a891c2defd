// The commands that put positions, fiducials, a GPS file and the GPS-to-data relationship into a
// project document: svy positions, fiducials, gps and relation.
//
// Each loads the document, checks its whole input first (every CSV row, every number) and refuses
// with the row and the reason before anything changes; only then edits the document in memory
// and saves it (atomically, through the editor's Save).
//
// Lines are named by line set and line; a line set "-" or "" names the lines outside line sets.
//
// Exit status: 0 done, 1 refused or failed (the document as it was).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace svy_tool {

struct LineAddress {
    std::string project, lineSet, line;
};

// svy positions: replaces a line's positions by the rows of a CSV file: x, y, z ("NA" for no
// height), normalized file position (0..1, in order). Coordinates are in `unit` ("m" unless
// given) and are written in metres. A first row that is not numbers is a header.
int RunPositions(const LineAddress& address, const std::string& csv, const std::string& unit,
                 std::ostream& out, std::ostream& err);
// svy fiducials: replaces a line's fiducial comments by the rows of a CSV file: flag (a letter
// D, C, I, N or a code), odometer distance in metres, comment (the rest of the row).
int RunFiducials(const LineAddress& address, const std::string& csv, std::ostream& out,
                 std::ostream& err);
// svy gps: attaches the GPS file `file` (a .GPS file inside the data folder) to a line.
int RunGps(const LineAddress& address, const std::string& file, std::ostream& out,
           std::ostream& err);

struct RelationOptions {
    std::string project;
    bool show = false;
    // Shift and rotation: the UTM easting and northing (in `zone`) of the local origin, and the
    // angle of the local X axis from east, counterclockwise, in degrees.
    std::vector<double> shift;
    double rotation = 0.0;
    // Two points: local X, local Y, latitude, longitude, twice.
    std::vector<double> points;
    std::string zone;
};

// svy relation: prints the GPS-to-data relationship (show, or when nothing else is asked), or
// sets it from a shift and rotation in a UTM zone or from two points known in both systems.
int RunRelation(const RelationOptions& options, std::ostream& out, std::ostream& err);

}  // namespace svy_tool
