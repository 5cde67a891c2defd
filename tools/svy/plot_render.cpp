#include "tools/svy/plot_render.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <boost/filesystem/path.hpp>

#include "svy3/platform/text.h"

namespace svy_tool {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;  // along a meridian, and along the equator
constexpr double kTitleBand = 36.0, kScaleBand = 56.0, kLegendBand = 180.0, kMargin = 16.0;
// Room kept around the survey inside the plot area for the names before the lines' starts.
constexpr double kNameRoom = 40.0;
constexpr double kNameSize = 9.0, kNameGap = 4.0;
constexpr double kArrowLength = 10.0;  // arrowheads on the lines, pixels

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

struct Colour {
    double r, g, b;
};

// Line set colours, distinct on white; lines outside line sets are dark grey.
const Colour kPalette[] = {{0.12, 0.47, 0.71}, {0.84, 0.15, 0.16}, {0.17, 0.63, 0.17},
                           {0.58, 0.40, 0.74}, {1.00, 0.50, 0.05}, {0.55, 0.34, 0.29},
                           {0.89, 0.47, 0.76}, {0.09, 0.75, 0.81}};
const Colour kOutsideSets = {0.30, 0.30, 0.30};
const Colour kFiducial = {0.75, 0.0, 0.0};

Colour ColourOf(int set) {
    return set < 0 ? kOutsideSets : kPalette[static_cast<size_t>(set) % std::size(kPalette)];
}

void SetColour(cairo_t* cr, const Colour& c) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

// The smallest and largest coordinates of everything drawn.
void Bounds(const PlotScene& scene, PlotPoint& low, PlotPoint& high) {
    bool first = true;
    auto add = [&](const PlotPoint& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return;
        low = first ? p : PlotPoint{std::min(low.x, p.x), std::min(low.y, p.y)};
        high = first ? p : PlotPoint{std::max(high.x, p.x), std::max(high.y, p.y)};
        first = false;
    };
    for (const PlotLine& line : scene.lines)
        for (const PlotPoint& p : line.points)
            add(p);
    for (const PlotMark& mark : scene.fiducials)
        add(mark.at);
}

// 1, 2 or 5 times a power of ten, at most `limit` (limit > 0).
double NiceLength(double limit) {
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= limit)
            return step * power;
    return power;
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void Text(cairo_t* cr, double x, double y, const std::string& text, double size,
          bool bold = false) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// A filled arrowhead with its tip at `tip`, pointing along (dx, dy) (a unit vector).
void ArrowHead(cairo_t* cr, PlotPoint tip, double dx, double dy, double length, double half) {
    const PlotPoint base{tip.x - dx * length, tip.y - dy * length};
    cairo_move_to(cr, tip.x, tip.y);
    cairo_line_to(cr, base.x - dy * half, base.y + dx * half);
    cairo_line_to(cr, base.x + dy * half, base.y - dx * half);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// The unit vector from `from` towards the first of `points` (taken in the order given) that lies
// at least `reach` away, or towards the farthest one when none does; none when all coincide.
template <class Iterator>
std::optional<PlotPoint> Heading(PlotPoint from, Iterator begin, Iterator end, double reach) {
    PlotPoint best = from;
    double bestDistance = 0.0;
    for (Iterator it = begin; it != end; ++it) {
        const double distance = std::hypot(it->x - from.x, it->y - from.y);
        if (distance > bestDistance) {
            best = *it;
            bestDistance = distance;
        }
        if (distance >= reach)
            break;
    }
    if (!(bestDistance > 0.0))
        return std::nullopt;
    return PlotPoint{(best.x - from.x) / bestDistance, (best.y - from.y) / bestDistance};
}

void DrawLine(cairo_t* cr, const PlotFrame& frame, const PlotLine& line) {
    // Thinned to the picture's resolution: a point within half a pixel of the last one drawn adds
    // nothing, except the line's last point, which always ends it.
    std::vector<PlotPoint> drawn;
    for (size_t i = 0; i < line.points.size(); ++i) {
        const PlotPoint p = frame.ToDevice(line.points[i]);
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        if (!drawn.empty()) {
            const double step = std::hypot(p.x - drawn.back().x, p.y - drawn.back().y);
            if (step < 0.5 && (i + 1 < line.points.size() || step == 0.0))
                continue;
        }
        drawn.push_back(p);
    }
    if (drawn.empty())
        return;
    SetColour(cr, ColourOf(line.set));
    cairo_set_line_width(cr, 1.5);
    const double dash[] = {6.0, 4.0};
    cairo_set_dash(cr, dash, line.fromPositions ? 0 : 2, 0.0);
    cairo_move_to(cr, drawn.front().x, drawn.front().y);
    for (size_t i = 1; i < drawn.size(); ++i)
        cairo_line_to(cr, drawn[i].x, drawn[i].y);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);

    // Which way it was surveyed: an arrowhead at its end, pointing the way the last few pixels of
    // the line run (a single short segment would point wherever the last position jittered).
    if (const auto back = Heading(drawn.back(), drawn.rbegin() + 1, drawn.rend(), kArrowLength))
        ArrowHead(cr, drawn.back(), -back->x, -back->y, kArrowLength, kArrowLength * 0.4);

    // The name just before the line's start, along its first few pixels and centred on it, never
    // upside down: parallel neighbours keep their names apart, and the name marks where the line
    // begins as the arrowhead marks where it ends. A single point has its name beside it.
    const PlotPoint along = Heading(drawn.front(), drawn.begin() + 1, drawn.end(), kArrowLength)
                                .value_or(PlotPoint{0.0, -1.0});
    double angle = std::atan2(along.y, along.x);
    // Vertical lines read upwards.
    const bool flipped = angle > kPi / 2.0 - 1e-9 || angle < -kPi / 2.0;
    if (flipped)
        angle += kPi;
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kNameSize);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, line.name.c_str(), &extents);
    cairo_save(cr);
    cairo_translate(cr, drawn.front().x, drawn.front().y);
    cairo_rotate(cr, angle);
    // Read along the line, the text ends short of the start; read against it, it begins there.
    const double x = flipped ? kNameGap : -kNameGap - extents.x_advance;
    Text(cr, x, -extents.y_bearing / 2.0, line.name, kNameSize);
    cairo_restore(cr);
}

void DrawFiducials(cairo_t* cr, const PlotFrame& frame, const PlotScene& scene, bool labels) {
    SetColour(cr, kFiducial);
    cairo_set_line_width(cr, 1.0);
    for (const PlotMark& mark : scene.fiducials) {
        const PlotPoint p = frame.ToDevice(mark.at);
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        cairo_new_sub_path(cr);
        cairo_arc(cr, p.x, p.y, 3.0, 0.0, 2.0 * kPi);
        cairo_stroke(cr);
        if (labels)
            Text(cr, p.x + 5.0, p.y + 3.0, mark.comment, 9.0);
    }
}

void DrawScaleBar(cairo_t* cr, const PlotFrame& frame, const PlotScene& scene) {
    const double perUnit = frame.PixelsPerGroundUnit();
    const double width = frame.right - frame.left;
    if (!(perUnit > 0.0) || !std::isfinite(perUnit))
        return;
    const double length = NiceLength(width / 4.0 / perUnit);
    const double x = frame.left, y = frame.bottom + 24.0;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, x, y, length * perUnit, 4.0);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.0);
    for (double tick : {0.0, length * perUnit}) {
        cairo_move_to(cr, x + tick, y - 4.0);
        cairo_line_to(cr, x + tick, y + 8.0);
    }
    cairo_stroke(cr);
    Text(cr, x, y + 20.0, NumberText(length) + " " + scene.unit, 11.0);
}

void DrawNorthArrow(cairo_t* cr, const PlotFrame& frame, const PlotScene& scene) {
    const double x = frame.right - 14.0, tipY = frame.top + 8.0, baseY = frame.top + 44.0;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, x, baseY);
    cairo_line_to(cr, x, tipY + 8.0);
    cairo_stroke(cr);
    ArrowHead(cr, {x, tipY}, 0.0, -1.0, 12.0, 6.0);
    Text(cr, x - (scene.lonLat ? 4.0 : 9.0), baseY + 14.0, scene.lonLat ? "N" : "GN", 11.0, true);
}

void DrawLegend(cairo_t* cr, double left, double top, const PlotScene& scene) {
    std::vector<std::pair<int, std::string>> entries;
    for (size_t i = 0; i < scene.sets.size(); ++i)
        entries.emplace_back(static_cast<int>(i), scene.sets[i]);
    bool outside = false, laidOut = false;
    for (const PlotLine& line : scene.lines) {
        outside = outside || line.set < 0;
        laidOut = laidOut || !line.fromPositions;
    }
    if (outside)
        entries.emplace_back(-1, "outside line sets");
    double y = top + 10.0;
    cairo_set_line_width(cr, 3.0);
    for (const auto& [set, name] : entries) {
        SetColour(cr, ColourOf(set));
        cairo_move_to(cr, left, y);
        cairo_line_to(cr, left + 18.0, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        Text(cr, left + 24.0, y + 4.0, name.empty() ? "(unnamed set)" : name, 11.0);
        y += 18.0;
    }
    if (laidOut) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        Text(cr, left, y + 4.0, "dashed: no positions yet,", 10.0);
        Text(cr, left, y + 17.0, "laid out from offset", 10.0);
        Text(cr, left, y + 30.0, "and odometer", 10.0);
    }
}

void Draw(cairo_t* cr, const PlotScene& scene, int width, int height, bool labels) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    const PlotFrame frame(scene, width, height);
    cairo_save(cr);
    cairo_rectangle(cr, 0, frame.top - 12.0, width - kLegendBand, frame.bottom - frame.top + 24.0);
    cairo_clip(cr);
    for (const PlotLine& line : scene.lines)
        DrawLine(cr, frame, line);
    DrawFiducials(cr, frame, scene, labels);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    Text(cr, kMargin, 24.0, scene.title, 16.0, true);
    DrawScaleBar(cr, frame, scene);
    DrawNorthArrow(cr, frame, scene);
    DrawLegend(cr, width - kLegendBand + kMargin, frame.top, scene);
}

// Lets go of cairo's font caches and fontconfig's configuration when the process ends, after the
// last picture (every surface and context is gone by then), so that memory checkers see nothing
// left allocated. Kept until then: loading fonts again for every picture would cost time.
class FontCachesReleasedAtExit {
  public:
    ~FontCachesReleasedAtExit() {
        cairo_debug_reset_static_data();
        FcFini();
    }
};

std::string CairoError(cairo_status_t status) {
    return cairo_status_to_string(status);
}

}  // namespace

std::optional<PlotFormat> PlotFormatOf(const std::string& path) {
    const std::string ext = ZAR::ToLower(boost::filesystem::path(path).extension().string());
    if (ext == ".png")
        return PlotFormat::png;
    if (ext == ".svg")
        return PlotFormat::svg;
    if (ext == ".pdf")
        return PlotFormat::pdf;
    return std::nullopt;
}

PlotFrame::PlotFrame(const PlotScene& scene, int width, int height)
    : left(kMargin),
      top(kTitleBand + kMargin),
      right(width - kLegendBand),
      bottom(height - kScaleBand) {
    PlotPoint low, high;
    Bounds(scene, low, high);
    m_centre = {(low.x + high.x) / 2.0, (low.y + high.y) / 2.0};
    m_xStretch = scene.lonLat ? std::cos(m_centre.y * kPi / 180.0) : 1.0;
    double spanX = (high.x - low.x) * m_xStretch, spanY = high.y - low.y;
    // A survey that is one straight line along an axis still gets a width: a tenth of its length,
    // or one unit for a single point.
    const double least =
        std::max(std::max(spanX, spanY) / 10.0, scene.lonLat ? 1.0 / kMetresPerDegree : 1.0);
    spanX = std::max(spanX, least) * 1.1;
    spanY = std::max(spanY, least) * 1.1;
    const double areaWidth = std::max(right - left - 2.0 * kNameRoom, 1.0),
                 areaHeight = std::max(bottom - top - 2.0 * kNameRoom, 1.0);
    m_scale = std::min(areaWidth / spanX, areaHeight / spanY);
    m_deviceCentre = {(left + right) / 2.0, (top + bottom) / 2.0};
    m_pixelsPerGroundUnit = scene.lonLat ? m_scale / kMetresPerDegree : m_scale;
}

PlotPoint PlotFrame::ToDevice(PlotPoint world) const {
    return {m_deviceCentre.x + (world.x - m_centre.x) * m_xStretch * m_scale,
            m_deviceCentre.y - (world.y - m_centre.y) * m_scale};
}

bool RenderPlot(const PlotScene& scene, const std::string& path, PlotFormat format, int width,
                int height, bool labels, std::string& error) {
    // Written under a temporary name beside the target, then moved into place.
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);  // as a new file would get, not mkstemp's owner-only mode
    close(fd);
    static FontCachesReleasedAtExit releaseFontCaches;
    Surface surface;
    switch (format) {
        case PlotFormat::png:
            surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
            break;
        case PlotFormat::svg:
            surface.reset(cairo_svg_surface_create(temporary.c_str(), width, height));
            break;
        case PlotFormat::pdf:
            surface.reset(cairo_pdf_surface_create(temporary.c_str(), width, height));
            break;
    }
    cairo_status_t status = cairo_surface_status(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) {
        const Context context(cairo_create(surface.get()));
        Draw(context.get(), scene, width, height, labels);
        status = cairo_status(context.get());
    }
    if (status == CAIRO_STATUS_SUCCESS && format == PlotFormat::png)
        status = cairo_surface_write_to_png(surface.get(), temporary.c_str());
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface.get());
    surface.reset();
    if (status != CAIRO_STATUS_SUCCESS || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = status != CAIRO_STATUS_SUCCESS ? CairoError(status) : std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace svy_tool
