// svy export: the positions and fiducials of every line of a project, as GeoJSON or CSV.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

struct ExportOptions {
    std::string project;
    bool geojson = false;  // GeoJSON (the default when neither format is chosen)
    bool csv = false;
    // Longitude and latitude (WGS84) through the document's GPS-to-data relationship, instead of
    // local-grid coordinates as the document holds them.
    bool latlon = false;
    std::string output;  // file to write; standard output when empty
};

// Writes, for every data file with positions, a LineString of its positions (a Point when it has
// one), and for every fiducial comment a Point placed by interpolating the file's positions at
// its odometer distance. Properties: kind, line set, line, file, unit, and for fiducials the
// odometer distance, flag and comment. Fiducials that cannot be placed are skipped with a note on
// `err`. Exit status 0, or 1 when the project cannot be read, --latlon finds no relationship, or
// the output cannot be written.
int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace svy_tool
