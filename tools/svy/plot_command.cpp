#include "tools/svy/plot_command.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include <boost/filesystem/operations.hpp>

#include "svy3/api.h"
#include "svy3/platform/text.h"
#include "tools/svy/error_report.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/plot_render.h"
#include "tools/svy/plot_scene.h"

namespace svy_tool {
namespace fs = boost::filesystem;

namespace {

// "WIDTHxHEIGHT" with each from 200 to 20000; false otherwise.
bool ParseSize(const std::string& text, int& width, int& height) {
    char rest = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) == 2 && width >= 200 &&
           height >= 200 && width <= 20000 && height <= 20000;
}

}  // namespace

int RunPlot(const PlotOptions& options, std::ostream& out, std::ostream& err) {
    const std::string extension = fs::path(options.output).extension().string();
    for (const char* survey : {".svy", ".hd", ".dt1", ".sen", ".gps"}) {
        if (ZAR::EqualIgnoringCase(extension, survey)) {
            err << "svy plot: " << options.output << " has the extension of a survey file; "
                << "write the picture to a .png, .svg or .pdf file\n";
            return kExitUsage;
        }
    }
    const std::optional<PlotFormat> format = PlotFormatOf(options.output);
    if (!format) {
        err << "svy plot: " << options.output << " must end in .png, .svg or .pdf\n";
        return kExitUsage;
    }
    int width = 0, height = 0;
    if (!ParseSize(options.size, width, height)) {
        err << "svy plot: --size takes WIDTHxHEIGHT, each from 200 to 20000, not " << options.size
            << "\n";
        return kExitUsage;
    }
    boost::system::error_code ec;
    if (fs::exists(options.output, ec) && fs::equivalent(options.output, options.project, ec)) {
        err << "svy plot: " << options.output << " is the project itself\n";
        return kExitUsage;
    }

    std::optional<svy3::Project> project;
    std::optional<svy3::Relationship> relationship;
    try {
        project.emplace(svy3::open(options.project));
        for (const std::string& warning : project->warnings())
            err << warning << "\n";
        if (options.latlon)
            relationship = svy3::Editor(options.project).relationship();
    } catch (const svy3::Error& error) {
        for (const std::string& message : error.messages())
            err << message << "\n";
        err << "svy plot: " << error.what() << "\n";
        return ExitStatusOf(error);
    }
    if (options.latlon && !relationship) {
        err << "svy plot: the project has no GPS-to-data relationship (see 'svy relation'); "
               "--latlon cannot place its lines\n";
        return kExitDocument;
    }
    PlotScene scene;
    std::string error;
    if (!BuildPlotScene(*project, relationship, options.latlon, scene, error)) {
        err << "svy plot: the GPS-to-data relationship is unusable: " << error << "\n";
        return kExitDocument;
    }
    if (!RenderPlot(scene, options.output, *format, width, height, options.labels, error)) {
        err << "svy plot: cannot write " << options.output << ": " << error << "\n";
        return kExitFileSystem;
    }
    if (scene.fiducialsLeftOut > 0)
        err << "svy plot: " << scene.fiducialsLeftOut
            << " fiducials lie outside their file's odometer range; left out\n";
    out << "wrote " << options.output << ": " << scene.lines.size() << " lines, "
        << scene.fiducials.size() << " fiducials\n";
    return kExitOk;
}

}  // namespace svy_tool
