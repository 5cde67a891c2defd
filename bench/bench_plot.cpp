// Plotting a large survey as `svy plot` does: 200 lines x 5 files x 1000 positions. Prints the best
// of a few rounds of each step (reading the project, gathering the scene, drawing it into a PNG and
// into an SVG) and of the whole command, reading included.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include <boost/filesystem.hpp>

#include "svy3/api.h"
#include "tools/samples/sample_document.h"
#include "tools/svy/plot_command.h"
#include "tools/svy/plot_render.h"
#include "tools/svy/plot_scene.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 3;
constexpr int kWidth = 1200, kHeight = 900;  // the command's default size

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The least time `step` takes over kRounds runs; negative when a run fails.
template <class Step>
double Best(Step step) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        if (!step())
            return -1.0;
        best = std::min(best, Seconds(start));
    }
    return best;
}

}  // namespace

int main() {
    namespace fs = boost::filesystem;
    const fs::path root = fs::temp_directory_path() / fs::unique_path("svy3-bench-plot-%%%%%%");
    fs::create_directories(root);
    const std::string project = (root / "large.svy").string();
    const svy3_samples::DocumentShape shape;  // 200 lines x 5 files x 1000 positions
    const std::size_t bytes = svy3_samples::WriteSurveyDocument(project, shape);

    // Each round's project is let go outside the time measured.
    std::optional<svy3::Project> opened;
    double open = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        opened.reset();
        const auto start = Clock::now();
        opened.emplace(svy3::open(project));
        open = std::min(open, Seconds(start));
    }
    svy_tool::PlotScene scene;
    std::string error;
    const double gather =
        Best([&] { return svy_tool::BuildPlotScene(*opened, std::nullopt, false, scene, error); });
    size_t points = 0;
    for (const svy_tool::PlotLine& line : scene.lines)
        points += line.points.size();
    const std::string png = (root / "large.png").string(), svg = (root / "large.svg").string();
    const double drawPng = Best([&] {
        return svy_tool::RenderPlot(scene, png, svy_tool::PlotFormat::png, kWidth, kHeight, true,
                                    error);
    });
    const double drawSvg = Best([&] {
        return svy_tool::RenderPlot(scene, svg, svy_tool::PlotFormat::svg, kWidth, kHeight, true,
                                    error);
    });
    const double command = Best([&] {
        svy_tool::PlotOptions options;
        options.project = project;
        options.output = png;
        std::ostringstream out, err;
        return svy_tool::RunPlot(options, out, err) == 0;
    });
    fs::remove_all(root);
    if (gather < 0 || drawPng < 0 || drawSvg < 0 || command < 0) {
        std::fprintf(stderr, "bench_plot: a run failed: %s\n", error.c_str());
        return 1;
    }
    std::printf(
        "svy plot of %d lines x %d files x %d positions (%.1f MB, %zu lines, %zu points, "
        "%zu fiducials), best of %d:\n",
        shape.lines, shape.filesPerLine, shape.positionsPerFile, bytes / 1e6, scene.lines.size(),
        points, scene.fiducials.size(), kRounds);
    std::printf("  read the project        %7.1f ms\n", open * 1e3);
    std::printf("  gather the scene        %7.1f ms\n", gather * 1e3);
    std::printf("  draw a %dx%d PNG    %7.1f ms\n", kWidth, kHeight, drawPng * 1e3);
    std::printf("  draw a %dx%d SVG    %7.1f ms\n", kWidth, kHeight, drawSvg * 1e3);
    std::printf("  plot after reading      %7.1f ms (target: under 1 s)\n",
                (gather + drawPng) * 1e3);
    std::printf("  whole command           %7.1f ms\n", command * 1e3);
    return 0;
}
