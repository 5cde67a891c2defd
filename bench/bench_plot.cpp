// Plotting a large survey as `svy plot` does: opening the project, gathering the scene and drawing
// it into a PNG, for a document of 200 lines x 5 files x 1000 positions (a million points thinned
// to the picture's resolution). Prints the seconds of each step, best of three runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "svy3/api.h"
#include "tools/samples/sample_document.h"
#include "tools/svy/plot_render.h"
#include "tools/svy/plot_scene.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main() {
    const std::string path = "/tmp/svy3-bench-plot.svy", picture = "/tmp/svy3-bench-plot.png";
    svy3_samples::DocumentShape shape;  // 200 x 5 x 1000
    const std::size_t bytes = svy3_samples::WriteSurveyDocument(path, shape);
    double open = 1e9, scene = 1e9, draw = 1e9, total = 1e9;
    size_t points = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        const svy3::Project project = svy3::open(path);
        const double opened = Seconds(start);
        svy_tool::PlotScene plot;
        std::string error;
        if (!svy_tool::BuildPlotScene(project, std::nullopt, false, plot, error))
            return 1;
        const double gathered = Seconds(start);
        if (!svy_tool::RenderPlot(plot, picture, svy_tool::PlotFormat::png, 1200, 900, false,
                                  error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const double done = Seconds(start);
        open = std::min(open, opened);
        scene = std::min(scene, gathered - opened);
        draw = std::min(draw, done - gathered);
        total = std::min(total, done);
        points = 0;
        for (const svy_tool::PlotLine& line : plot.lines)
            points += line.points.size();
    }
    std::printf("plot: %d lines x %d files x %d positions, %.1f MB, %zu points\n", shape.lines,
                shape.filesPerLine, shape.positionsPerFile, bytes / 1048576.0, points);
    std::printf("  open %.3f s, scene %.3f s, draw %.3f s, total %.3f s (goal: under 1 s)\n", open,
                scene, draw, total);
    std::remove(path.c_str());
    std::remove(picture.c_str());
    return 0;
}
