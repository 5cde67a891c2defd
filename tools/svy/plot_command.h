// svy plot: a picture of a project's lines, fiducials and layout.
#pragma once

#include <iosfwd>
#include <string>

namespace svy_tool {

struct PlotOptions {
    std::string project;
    std::string output;             // .png, .svg or .pdf
    bool latlon = false;            // longitude and latitude through the GPS-to-data relationship
    bool labels = false;            // the fiducials' comments beside their marks
    std::string size = "1200x900";  // WIDTHxHEIGHT in pixels (points for SVG and PDF)
};

// Draws the project into the output (see RenderPlot for what the picture shows). The picture is
// written beside the output and moved into place when complete; it never replaces the project
// itself (whatever its name) nor a survey file (.svy, .hd, .dt1, .sen, .gps, any case). Fiducials
// outside their file's odometer range are left out and counted on `err`. Exit status 0; 1 when the
// project cannot be read or --latlon finds no usable relationship; 2 for an output that is not
// .png, .svg or .pdf, a bad size or the project itself; 3 when the project is missing or the
// picture cannot be written.
int RunPlot(const PlotOptions& options, std::ostream& out, std::ostream& err);

}  // namespace svy_tool
