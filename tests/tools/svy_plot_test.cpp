// svy plot: pictures of small documents, checked pixel by pixel where lines, arrows, fiducials and
// the scale bar must and must not be.
#include <gtest/gtest.h>

#include <cairo.h>

#include <memory>
#include <sstream>

#include <pugixml.hpp>

#include "support/document_support.h"
#include "svy3/api.h"
#include "tools/svy/plot_command.h"
#include "tools/svy/plot_render.h"
#include "tools/svy/plot_scene.h"

namespace {

using svy_tool::PlotPoint;

// Set A: L3 (no positions, 5 m across, odometer 0 to 10) and L1 (along Y from 0 to 20, a
// fiducial at a quarter); set B: L2 (at X 10, surveyed from 20 down to 0).
std::string Document() {
    auto position = [](double x, double y, double t) {
        return "<Position X=\"" + std::to_string(x) + "\" Y=\"" + std::to_string(y) +
               "\" Z=\"NA\" normalized_file_pos=\"" + std::to_string(t) + "\" units=\"m\"/>";
    };
    return "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\"><DataDirPath>./</DataDirPath>" +
           svy3_test::SettingsChildren().Xml() + "<LineSet name=\"A\"><Line name=\"L3\">" +
           svy3_test::DataFileElement("F3", "HD+DT1", 1) +
           "<LinearRef ododist=\"0\" refdist=\"0\" reflateral=\"5\" units=\"m\"/></Line>" +
           "<Line name=\"L1\">" +
           svy3_test::DataFileElement(
               "F1", "HD+DT1", 1,
               position(0, 0, 0) + position(0, 20, 1) +
                   "<FIDComment ododist=\"2.5\" units=\"m\" fileflag=\"C\">pipe</FIDComment>") +
           "</Line></LineSet><LineSet name=\"B\"><Line name=\"L2\">" +
           svy3_test::DataFileElement("F2", "HD+DT1", 1, position(10, 20, 0) + position(10, 0, 1)) +
           "</Line></LineSet></Data></ZAR_SVY>";
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

class SvyPlotTest : public testing::Test {
  protected:
    void SetUp() override {
        m_project = svy3_test::WriteFile(m_dir.File("survey.svy"), Document());
        svy_tool::PlotScene scene;
        std::string error;
        ASSERT_TRUE(
            svy_tool::BuildPlotScene(svy3::open(m_project), std::nullopt, false, scene, error));
        m_frame = std::make_unique<svy_tool::PlotFrame>(scene, 600, 500);
    }

    int Plot(const std::string& output, const std::string& size = "600x500", bool latlon = false,
             bool labels = false) {
        svy_tool::PlotOptions options{m_project, output, latlon, labels, size};
        std::ostringstream out;
        m_err.str("");
        return svy_tool::RunPlot(options, out, m_err);
    }

    // The picture's pixel at the device position of a survey point, moved by (dx, dy) pixels.
    struct Rgb {
        int r, g, b;
        bool White() const { return r > 240 && g > 240 && b > 240; }
    };
    Rgb Pixel(cairo_surface_t* png, PlotPoint device) {
        const int x = static_cast<int>(device.x), y = static_cast<int>(device.y);
        const unsigned char* row =
            cairo_image_surface_get_data(png) + y * cairo_image_surface_get_stride(png);
        const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
        return {static_cast<int>((argb >> 16) & 0xff), static_cast<int>((argb >> 8) & 0xff),
                static_cast<int>(argb & 0xff)};
    }
    Rgb At(cairo_surface_t* png, PlotPoint world, double dx = 0.0, double dy = 0.0) {
        const PlotPoint d = m_frame->ToDevice(world);
        return Pixel(png, {d.x + dx, d.y + dy});
    }

    svy3_test::TempDir m_dir;
    std::string m_project;
    std::unique_ptr<svy_tool::PlotFrame> m_frame;
    std::ostringstream m_err;
};

TEST_F(SvyPlotTest, PngShowsLinesArrowsFiducialsAndTheScaleBar) {
    ASSERT_EQ(Plot(m_dir.File("p.png")), 0) << m_err.str();
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> png(
        cairo_image_surface_create_from_png(m_dir.File("p.png").c_str()));
    ASSERT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(png.get()), 600);
    cairo_surface_t* p = png.get();

    // Each line set in its own colour; the lines' middles drawn, the space between them not.
    const Rgb a = At(p, {0, 12}), b = At(p, {10, 12});
    EXPECT_FALSE(a.White());
    EXPECT_FALSE(b.White());
    EXPECT_GT(a.b, a.r);  // set A blue
    EXPECT_GT(b.r, b.b);  // set B red
    EXPECT_TRUE(At(p, {2.5, 12}).White());
    EXPECT_TRUE(At(p, {7.5, 12}).White());

    // The arrowhead sits at the end of the survey: L1's top, L2's bottom; not at their starts.
    for (double side : {-2.5, 2.5}) {
        SCOPED_TRACE(side);
        EXPECT_FALSE(At(p, {0, 20}, side, 6.0).White());  // L1 ends at Y 20 (up)
        EXPECT_TRUE(At(p, {0, 0}, side, -6.0).White());
        EXPECT_FALSE(At(p, {10, 0}, side, -6.0).White());  // L2 ends at Y 0 (down)
        EXPECT_TRUE(At(p, {10, 20}, side, 6.0).White());
    }

    // A line without positions is dashed at its offset over its odometer: both ink and gaps.
    int ink = 0, gaps = 0;
    for (double y = 1.0; y < 9.0; y += 0.05)
        (At(p, {5, y}).White() ? gaps : ink)++;
    EXPECT_GT(ink, 10);
    EXPECT_GT(gaps, 10);
    EXPECT_TRUE(At(p, {5, 15}).White());  // nothing beyond its odometer end

    // The fiducial at a quarter of L1's odometer: a ring at Y 5.
    const Rgb ring = At(p, {0, 5}, 3.0, 0.0);
    EXPECT_GT(ring.r, 150);
    EXPECT_LT(ring.g, 90);

    // The scale bar below the plot area starts at its left edge and is shorter than a third.
    const double barY = m_frame->bottom + 26.0;
    EXPECT_EQ(Pixel(p, {m_frame->left + 2.0, barY}).r, 0);
    EXPECT_TRUE(Pixel(p, {m_frame->left + (m_frame->right - m_frame->left) / 3.0, barY}).White());
}

TEST_F(SvyPlotTest, SvgAndPdfAreWrittenAndLabelsAddText) {
    ASSERT_EQ(Plot(m_dir.File("p.svg")), 0) << m_err.str();
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_file(m_dir.File("p.svg").c_str()));
    EXPECT_STREQ(svg.document_element().name(), "svg");
    ASSERT_EQ(Plot(m_dir.File("p.pdf")), 0);
    EXPECT_EQ(svy3_test::ReadFile(m_dir.File("p.pdf")).substr(0, 5), "%PDF-");

    ASSERT_EQ(Plot(m_dir.File("plain.png")), 0);
    ASSERT_EQ(Plot(m_dir.File("labels.png"), "600x500", false, true), 0);
    EXPECT_NE(svy3_test::ReadFile(m_dir.File("plain.png")),
              svy3_test::ReadFile(m_dir.File("labels.png")));
}

TEST_F(SvyPlotTest, LongitudeAndLatitudeNeedTheRelationship) {
    EXPECT_EQ(Plot(m_dir.File("ll.png"), "600x500", true), 1);
    EXPECT_NE(m_err.str().find("no GPS-to-data relationship"), std::string::npos) << m_err.str();
    {
        svy3::Editor editor(m_project);
        using ZAR::Transform::S2DPoint;
        editor.set_relationship(svy3::Relationship(S2DPoint(43.9, -80.1), S2DPoint(0, 0),
                                                   S2DPoint(43.9, -80.099), S2DPoint(80, 0), 0, 0));
        editor.save();
    }
    EXPECT_EQ(Plot(m_dir.File("ll.png"), "600x500", true), 0) << m_err.str();
}

TEST_F(SvyPlotTest, RefusalsWriteNothing) {
    const std::string itself = svy3_test::WriteFile(m_dir.File("same.png"), Document());
    const struct {
        std::string project, output, size;
        int status;
    } cases[] = {
        {m_project, m_dir.File("out.svy"), "600x500", 2},
        {m_project, m_dir.File("out.txt"), "600x500", 2},
        {m_project, m_dir.File("out.png"), "10x10", 2},
        {m_project, m_dir.File("out.png"), "600x500x3", 2},
        {m_dir.File("missing.svy"), m_dir.File("out.png"), "600x500", 3},
        {itself, itself, "600x500", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output + " " + c.size);
        m_project = c.project;
        EXPECT_EQ(Plot(c.output, c.size), c.status);
        EXPECT_FALSE(m_err.str().empty());
    }
    EXPECT_FALSE(svy3_test::ReadFile(m_dir.File("out.png")).size());
    EXPECT_EQ(svy3_test::ReadFile(itself), Document());
}

}  // namespace
