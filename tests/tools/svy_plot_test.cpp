// svy plot: pictures of small documents, read back pixel by pixel where the lines, their
// arrowheads, the fiducials and the scale bar must and must not be; the SVG and PDF outputs;
// --latlon; and the outputs and sizes the command refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <memory>
#include <pugixml.hpp>

#include "editor/editor_support.h"
#include "support/document_support.h"
#include "svy3/api.h"
#include "tests/tools/tool_support.h"
#include "tools/svy/gps_commands.h"
#include "tools/svy/plot_command.h"
#include "tools/svy/plot_render.h"
#include "tools/svy/plot_scene.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::PositionXml;
using svy3_test::ReadFile;
using svy_tool::PlotPoint;
using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::HasSubstr;
namespace fs = boost::filesystem;

struct Rgb {
    int r, g, b;
};

// A PNG read back through cairo.
class Picture {
  public:
    explicit Picture(const std::string& path)
        : m_surface(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy) {}
    int Width() const { return cairo_image_surface_get_width(m_surface.get()); }
    int Height() const { return cairo_image_surface_get_height(m_surface.get()); }
    // The pixel that holds the point (white outside the picture).
    Rgb At(double x, double y) const {
        const int column = static_cast<int>(std::floor(x)), row = static_cast<int>(std::floor(y));
        if (column < 0 || row < 0 || column >= Width() || row >= Height())
            return {255, 255, 255};
        const unsigned char* data = cairo_image_surface_get_data(m_surface.get());
        const uint32_t pixel = *reinterpret_cast<const uint32_t*>(
            data + row * cairo_image_surface_get_stride(m_surface.get()) + column * 4);
        return {static_cast<int>(pixel >> 16 & 0xff), static_cast<int>(pixel >> 8 & 0xff),
                static_cast<int>(pixel & 0xff)};
    }
    // Anything drawn there, however faint.
    bool Inked(double x, double y) const {
        const Rgb c = At(x, y);
        return std::min({c.r, c.g, c.b}) < 250;
    }
    // The darkest pixel of the row within one pixel of x: the colour of a line through there.
    Rgb Darkest(double x, double y) const {
        Rgb best = At(x, y);
        for (double dx : {-1.0, 1.0}) {
            const Rgb c = At(x + dx, y);
            if (c.r + c.g + c.b < best.r + best.g + best.b)
                best = c;
        }
        return best;
    }
    // Pixels inked without a break from the one holding (x, y), stepping by (dx, dy); 0 when that
    // one is blank.
    int Run(double x, double y, double dx, double dy) const {
        int count = 0;
        while (Inked(x + count * dx, y + count * dy) && count < 10000)
            ++count;
        return count;
    }
    // Width of the ink across a vertical line at (x, y): left and right of it, without a break.
    int Across(double x, double y) const {
        const int right = Run(x, y, 1.0, 0.0);
        return right == 0 ? 0 : right + Run(x - 1.0, y, -1.0, 0.0);
    }
    // Reddish pixels (fiducial marks and comments) in the box.
    int Red(double left, double top, double right, double bottom) const {
        int count = 0;
        for (double y = top; y < bottom; y += 1.0)
            for (double x = left; x < right; x += 1.0) {
                const Rgb c = At(x, y);
                count += c.r - c.g > 60 && c.r - c.b > 60;
            }
        return count;
    }

  private:
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> m_surface;
};

// Whether two pixels show the same colour, however much of each pixel it covers: a pixel a line
// partly covers is white blended with the line's colour, so its distances from white keep their
// proportions.
bool SameColour(const Rgb& a, const Rgb& b) {
    const double ar = 255 - a.r, ag = 255 - a.g, ab = 255 - a.b;
    const double br = 255 - b.r, bg = 255 - b.g, bb = 255 - b.b;
    const double na = std::max({ar, ag, ab}), nb = std::max({br, bg, bb});
    if (na < 40 || nb < 40)
        return false;  // too faint to tell
    return std::abs(ar / na - br / nb) < 0.1 && std::abs(ag / na - bg / nb) < 0.1 &&
           std::abs(ab / na - bb / nb) < 0.1;
}

const char kOdometer[] = R"(<Odometer start="0" end="20" step="0.05" units="m"/>)";

// A radar file with a straight run of positions from (x0, y0) to (x1, y1), odometer 0 to 20 m.
std::string Track(double x0, double y0, double x1, double y1, const std::string& unit = "m",
                  const std::string& extra = "") {
    return DataFileXml("F", "HD+DT1", 1,
                       PositionXml(std::to_string(x0), std::to_string(y0), "NA", "0", unit) +
                           PositionXml(std::to_string(x1), std::to_string(y1), "NA", "1", unit) +
                           kOdometer + extra);
}

const int kWidth = 600, kHeight = 400;

class SvyPlotTest : public testing::Test {
  protected:
    std::string Project() const { return m_dir.File("survey.svy"); }
    // The document, with one Settings block for all its files.
    void Write(const std::string& lines) {
        svy3_test::WriteFile(Project(), R"(<?xml version="1.0"?><ZAR_SVY version="1.1.0">)"
                                        R"(<Data version="1.1.0"><DataDirPath/>)" +
                                            svy3_test::SettingsChildren().Xml() + lines +
                                            "</Data></ZAR_SVY>");
    }
    Output Plot(const std::string& output, bool labels = false, bool latlon = false,
                const std::string& size = "600x400") {
        return Invoke(svy_tool::RunPlot,
                      svy_tool::PlotOptions{Project(), output, latlon, labels, size});
    }
    // The scene the command draws, to find where the document's points land in the picture.
    svy_tool::PlotScene Scene(bool latlon = false) {
        svy_tool::PlotScene scene;
        std::string error;
        const auto relationship =
            latlon ? svy3::Editor(Project()).relationship() : std::optional<svy3::Relationship>();
        EXPECT_TRUE(
            svy_tool::BuildPlotScene(svy3::open(Project()), relationship, latlon, scene, error))
            << error;
        return scene;
    }

    svy3_test::TempDir m_dir;
};

// Three parallel lines 10 m apart in two line sets, the middle one surveyed the other way; a
// fiducial half way along L1.
const std::string kSurvey =
    R"(<LineSet name="S1"><Line name="L1">)" +
    Track(0, 0, 0, 20, "m",
          R"(<FIDComment units="m" ododist="10" fileflag="C">pipe</FIDComment>)") +
    R"(</Line><Line name="L2">)" + Track(10, 20, 10, 0) +
    R"(</Line></LineSet><LineSet name="S2"><Line name="L3">)" + Track(20, 0, 20, 20) +
    "</Line></LineSet>";

TEST_F(SvyPlotTest, LinesArrowsAndFiducialsLandWhereTheSurveyOrItsRelationshipPutsThem) {
    Write(kSurvey);
    for (bool labels : {false, true}) {
        SCOPED_TRACE(labels);
        const std::string png = m_dir.File(labels ? "labels.png" : "plain.png");
        const Output run = Plot(png, labels);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "wrote " + png + ": 3 lines, 1 fiducials\n");
        const Picture picture(png);
        ASSERT_EQ(svy3_test::Join(picture.Width(), picture.Height()), "600 400 ");
        const svy_tool::PlotFrame frame(Scene(), kWidth, kHeight);
        auto at = [&](double x, double y) { return frame.ToDevice({x, y}); };

        // Each line: ink a quarter of the way along, an arrowhead (ink well wider than the line)
        // just short of the end it was surveyed towards, none just past the start.
        const struct { double x, startY, endY; } lines[] = {{0, 0, 20}, {10, 20, 0}, {20, 0, 20}};
        for (const auto& line : lines) {
            SCOPED_TRACE(line.x);
            const PlotPoint start = at(line.x, line.startY), end = at(line.x, line.endY);
            const double toward = end.y > start.y ? 1.0 : -1.0;  // along the picture's rows
            EXPECT_TRUE(picture.Inked(start.x, (3 * start.y + end.y) / 4));
            EXPECT_GE(picture.Across(start.x, end.y - 7 * toward), 5);
            EXPECT_LE(picture.Across(start.x, start.y + 7 * toward), 3);
            EXPECT_LE(picture.Across(start.x, (start.y + end.y) / 2 + 20), 3);
        }
        // Colours by line set: L1 and L2 alike, L3 not.
        const Rgb l1 = picture.Darkest(at(0, 5).x, at(0, 5).y);
        EXPECT_TRUE(SameColour(l1, picture.Darkest(at(10, 5).x, at(10, 5).y)));
        EXPECT_FALSE(SameColour(l1, picture.Darkest(at(20, 5).x, at(20, 5).y)));
        // Nothing between neighbouring lines.
        for (double y = 2; y <= 18; y += 2)
            EXPECT_FALSE(picture.Inked(at(5, y).x, at(5, y).y)) << y;

        // The fiducial: a red ring half way along L1, its comment to the right only on --labels.
        const PlotPoint fid = at(0, 10);
        EXPECT_GT(picture.Red(fid.x - 4, fid.y - 4, fid.x + 5, fid.y + 5), 4);
        EXPECT_EQ(picture.Red(fid.x - 4, at(0, 5).y - 4, fid.x + 5, at(0, 5).y + 5), 0);
        const int comment = picture.Red(fid.x + 6, fid.y - 8, fid.x + 40, fid.y + 4);
        EXPECT_EQ(comment > 10, labels) << comment;

        // The north arrow's shaft at the top right of the plot area, nothing left of it.
        EXPECT_TRUE(picture.Inked(frame.right - 14, frame.top + 30));
        EXPECT_FALSE(picture.Inked(frame.right - 30, frame.top + 30));
    }

    // --latlon needs the relationship; with one, a local grid turned 25 degrees from east shows
    // its lines turned 25 degrees from north, at equal scales along the ground.
    const std::string png = m_dir.File("latlon.png");
    Output run = Plot(png, false, true);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("no GPS-to-data relationship"));
    EXPECT_FALSE(fs::exists(png));

    const svy_tool_test::TurnedGrid grid;
    const svy_tool::RelationOptions relation{Project(), false, {}, 0.0, grid.Points(), ""};
    ASSERT_EQ(Invoke(svy_tool::RunRelation, relation).status, 0);
    run = Plot(png, false, true);
    ASSERT_EQ(run.status, 0) << run.err;
    const svy_tool::PlotScene scene = Scene(true);
    EXPECT_TRUE(scene.lonLat);
    const auto [latitude, longitude] = grid.LatLong(0, 0);
    EXPECT_NEAR(scene.lines[0].points.front().x, longitude, 1e-7);
    EXPECT_NEAR(scene.lines[0].points.front().y, latitude, 1e-7);
    const svy_tool::PlotFrame frame(scene, kWidth, kHeight);
    const PlotPoint a = frame.ToDevice(scene.lines[0].points.front());
    const PlotPoint b = frame.ToDevice(scene.lines[0].points.back());
    EXPECT_NEAR(std::atan2(b.x - a.x, a.y - b.y) * 180.0 / std::acos(-1.0), -25.0, 0.5);
    EXPECT_TRUE(Picture(png).Inked((3 * a.x + b.x) / 4, (3 * a.y + b.y) / 4));
}

// The scale bar, measured against a line of known length in the same picture, is a round length
// (1, 2 or 5 times a power of ten) of at most a quarter of the plot area. Positions in feet are
// drawn to the scale of the first position's unit, and the bar is in that unit.
TEST_F(SvyPlotTest, ScaleBarIsARoundLengthAndUnitsMixToScale) {
    const struct {
        const char *first, *second;
        double ratio;  // length of the second line, drawn, over the first
    } cases[] = {{"m", "m", 1.0}, {"m", "ft", 0.3048}, {"ft", "m", 1.0 / 0.3048}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " " + c.second);
        Write(R"(<Line name="A">)" + Track(0, 0, 0, 20, c.first) + R"(</Line><Line name="B">)" +
              Track(5, 0, 5, 20, c.second) + "</Line>");
        const std::string png = m_dir.File("scale.png");
        ASSERT_EQ(Plot(png).status, 0);
        const Picture picture(png);
        const svy_tool::PlotScene scene = Scene();
        EXPECT_EQ(scene.unit, c.first);
        const svy_tool::PlotFrame frame(scene, kWidth, kHeight);
        const PlotPoint a = frame.ToDevice(scene.lines[0].points[0]);
        const PlotPoint b = frame.ToDevice(scene.lines[1].points[0]);
        // The lines' ink along their columns, from a point just past their starts.
        const double lengthA = picture.Run(a.x, a.y - 2, 0.0, -1.0) + 2;
        const double lengthB = picture.Run(b.x, b.y - 2, 0.0, -1.0) + 2;
        EXPECT_NEAR(lengthB / lengthA, c.ratio, 0.02 * c.ratio);
        // Lines outside line sets: grey.
        EXPECT_TRUE(SameColour(picture.Darkest(a.x, a.y - lengthA / 2), {128, 128, 128}));

        double bar = 0;  // the bar's ink along its middle row
        for (double y = frame.bottom + 20; y < frame.bottom + 34 && bar < 10; y += 1.0)
            bar = picture.Run(frame.left + 2, y, 1.0, 0.0) + 2;
        ASSERT_GE(bar, 10);
        const double units = bar / lengthA * 20.0;  // in the first line's unit
        const double power = std::pow(10.0, std::floor(std::log10(units * 1.05)));
        const double mantissa = units / power;
        EXPECT_TRUE(std::abs(mantissa - 1) < 0.05 || std::abs(mantissa - 2) < 0.1 ||
                    std::abs(mantissa - 5) < 0.25)
            << units;
        EXPECT_LE(bar, (frame.right - frame.left) / 4 + 2);
        EXPECT_FALSE(picture.Inked(frame.left + bar + 4, frame.bottom + 26));
    }
}

// A document without positions still shows its layout: each line dashed along Y at its lateral
// offset over its odometer range, a fiducial at its odometer distance; a line with positions solid.
TEST_F(SvyPlotTest, LinesWithoutPositionsAreLaidOutDashed) {
    // A line at a lateral offset, holding the given DataFile elements.
    const auto laidOut = [](const std::string& name, const char* lateral,
                            const std::string& files) {
        return "<Line name=\"" + name + "\">" + files +
               R"(<LinearRef ododist="0" refdist="0" reflateral=")" + lateral +
               R"(" units="m"/></Line>)";
    };
    // B's range is that of its two files together.
    Write(laidOut("A", "0",
                  DataFileXml("A", "HD+DT1", 1,
                              kOdometer + std::string(R"(<FIDComment units="m" ododist="5" )"
                                                      R"(fileflag="C">x</FIDComment>)"))) +
          laidOut("B", "2",
                  DataFileXml("B", "HD+DT1", 1, kOdometer) +
                      DataFileXml("B", "sen", 1,
                                  R"(<Odometer start="2" end="5" step="0.05" units="m"/>)")) +
          R"(<Line name="C">)" + Track(6, 0, 6, 20) + "</Line>");
    const std::string png = m_dir.File("layout.png");
    const Output run = Plot(png);
    ASSERT_EQ(run.status, 0) << run.err;
    const svy_tool::PlotScene scene = Scene();
    ASSERT_EQ(scene.lines.size(), 3u);
    const Picture picture(png);
    const svy_tool::PlotFrame frame(scene, kWidth, kHeight);
    const struct {
        double x;
        bool dashed;
    } expected[] = {{0, true}, {2, true}, {6, false}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const svy_tool::PlotLine& line = scene.lines[i];
        EXPECT_EQ(
            svy3_test::Join(line.fromPositions, line.points.size(), line.points.front().x,
                            line.points.front().y, line.points.back().x, line.points.back().y),
            svy3_test::Join(!expected[i].dashed, 2, expected[i].x, 0, expected[i].x, 20));
        // The ink from just past the start: a dash a few pixels long, or the whole line unbroken.
        const PlotPoint start = frame.ToDevice(line.points.front());
        const PlotPoint end = frame.ToDevice(line.points.back());
        const int ink = picture.Run(start.x, start.y - 3, 0.0, -1.0);
        EXPECT_EQ(ink < 10, expected[i].dashed) << ink;
        EXPECT_EQ(ink >= start.y - end.y - 3, !expected[i].dashed) << ink;
    }
    ASSERT_EQ(scene.fiducials.size(), 1u);
    EXPECT_EQ(svy3_test::Join(scene.fiducials[0].at.x, scene.fiducials[0].at.y), "0 5 ");
}

// The SVG is XML of the size asked for; the PDF is a PDF; dense positions are thinned to the
// picture's resolution, so 20 000 positions zigzagging a few centimetres along 20 m give a path of
// a few hundred points.
TEST_F(SvyPlotTest, SvgAndPdfAreWrittenAndDensePositionsThinned) {
    std::string positions;
    for (int i = 0; i <= 20000; ++i)
        positions += PositionXml(i % 2 ? "0.02" : "-0.02", std::to_string(i / 1000.0), "NA",
                                 std::to_string(i / 20000.0));
    Write(R"(<Line name="A">)" + DataFileXml("F", "HD+DT1", 1, positions + kOdometer) + "</Line>");
    const std::string svg = m_dir.File("plot.svg");
    ASSERT_EQ(Plot(svg, false, false, "400x300").status, 0);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(svg.c_str()));
    const pugi::xml_node root = doc.document_element();
    EXPECT_EQ(svy3_test::Join(root.name(), root.attribute("width").value(),
                              root.attribute("height").value()),
              "svg 400pt 300pt ");
    size_t vertices = 0;
    for (const pugi::xpath_node& path : doc.select_nodes("//*[local-name()='path']")) {
        const std::string d = path.node().attribute("d").value();
        vertices += std::count(d.begin(), d.end(), 'L');
    }
    EXPECT_THAT(vertices, testing::AllOf(testing::Gt(50u), testing::Lt(1500u)));

    const std::string pdf = m_dir.File("plot.PDF");
    ASSERT_EQ(Plot(pdf).status, 0);
    EXPECT_THAT(ReadFile(pdf), testing::StartsWith("%PDF-"));
}

// Refused outputs and sizes, and projects that cannot be read, write nothing and leave the
// project as it was.
TEST_F(SvyPlotTest, RefusesOutputsThatAreNotPicturesOrAreTheProject) {
    Write(kSurvey);
    fs::create_symlink(Project(), m_dir.File("link.png"));
    const auto before = svy3_test::TreeSnapshot(m_dir.path());  // the link read through
    const struct {
        std::string output, size;
        int status;
        const char* message;
    } cases[] = {
        {Project(), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.HD"), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.dt1"), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.Sen"), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.GPS"), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.png.svy"), "600x400", 2, "extension of a survey file"},
        {m_dir.File("out.txt"), "600x400", 2, "must end in .png, .svg or .pdf"},
        {m_dir.File("out"), "600x400", 2, "must end in .png, .svg or .pdf"},
        {m_dir.File("link.png"), "600x400", 2, "is the project itself"},
        {m_dir.File("a.png"), "100x400", 2, "--size"},
        {m_dir.File("a.png"), "600", 2, "--size"},
        {m_dir.File("a.png"), "600x400x", 2, "--size"},
        {m_dir.File("a.png"), "axb", 2, "--size"},
        {m_dir.File("a.png"), "30000x400", 2, "--size"},
        {m_dir.File("missing/a.png"), "600x400", 3, "cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output + " " + c.size);
        const Output run = Plot(c.output, false, false, c.size);
        EXPECT_EQ(run.status, c.status);
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(svy3_test::TreeSnapshot(m_dir.path()), before);

    // Projects that cannot be read: a file system problem, or a document one.
    svy3_test::WriteFile(m_dir.File("bad.svy"), "not xml");
    const std::pair<std::string, int> unreadable[] = {{"missing.svy", 3}, {"bad.svy", 1}};
    for (const auto& [project, status] : unreadable) {
        const svy_tool::PlotOptions options{m_dir.File(project), m_dir.File("a.png")};
        EXPECT_EQ(Invoke(svy_tool::RunPlot, options).status, status) << project;
    }
    EXPECT_FALSE(fs::exists(m_dir.File("a.png")));
}

}  // namespace
