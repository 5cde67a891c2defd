// Drawing a plot scene with cairo into a PNG, SVG or PDF file.
#pragma once

#include <optional>
#include <string>

#include "tools/svy/plot_scene.h"

namespace svy_tool {

enum class PlotFormat { png, svg, pdf };

// The format named by the path's extension (any letter case), or none.
std::optional<PlotFormat> PlotFormatOf(const std::string& path);

// Where the scene's coordinates land on a picture of `width` x `height` pixels (points for SVG
// and PDF): the survey fills the plot area with equal scales along both axes (in longitude and
// latitude, along the ground), Y upwards, keeping room inside it for the lines' names. The area
// leaves room for the title above, the scale bar below and the legend on the right.
class PlotFrame {
  public:
    PlotFrame(const PlotScene& scene, int width, int height);
    PlotPoint ToDevice(PlotPoint world) const;
    // Picture units per unit of the scene along the ground (metres or feet; in longitude and
    // latitude: per metre).
    double PixelsPerGroundUnit() const { return m_pixelsPerGroundUnit; }
    double left, top, right, bottom;  // the plot area

  private:
    double m_scale = 1.0;     // picture units per scene unit along y
    double m_xStretch = 1.0;  // cos(latitude) in longitude and latitude, else 1
    PlotPoint m_centre, m_deviceCentre;
    double m_pixelsPerGroundUnit = 1.0;
};

// Draws the scene: each line as a polyline in its line set's colour (dashed when laid out without
// positions) with its name just before its start and an arrowhead at its end, fiducials as rings
// (with their comments when `labels`), the project's name, a scale bar, a north arrow ("GN", grid
// north, in the local grid) and a legend of the line sets. Points closer than half a pixel to the
// last one drawn are skipped (a line's last point never is). The picture is written beside `path`
// and moved into place when complete. Returns false with `error` set when it cannot be written.
bool RenderPlot(const PlotScene& scene, const std::string& path, PlotFormat format, int width,
                int height, bool labels, std::string& error);

}  // namespace svy_tool
