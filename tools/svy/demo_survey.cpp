#include "tools/svy/demo_survey.h"

#include <iostream>
#include <vector>

#include <boost/filesystem.hpp>

#include "tools/samples/sample_parameters.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/create_command.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {

int RunDemo(const std::string& folder, std::ostream& out) {
    std::string error;
    const std::vector<std::string> files =
        svy3_samples::WriteRadarSurvey(folder, svy3_samples::RadarSurveyShape(), error);
    if (files.empty()) {
        std::cerr << "svy demo: " << error << "\n";
        return 1;
    }
    out << "Sample survey: " << files.size() << " radar and odometer files in " << folder << "\n";
    CreateOptions options;
    options.output = (boost::filesystem::path(folder) / "demo.svy").string();
    options.inputs = files;
    options.dataDir = folder;
    options.lineSpacing = svy3_samples::kLineSpacingMetres;
    options.createdBy = "svy demo";
    options.force = true;  // the demo writes its own survey again
    if (const int status = RunCreate(options, out))
        return status;

    ProjectSummary summary;
    if (!SummarizeProject(options.output, summary, error)) {
        std::cerr << "svy demo: " << error << "\n";
        return 1;
    }
    out << "\n";
    PrintSummary(summary, out);
    return 0;
}

}  // namespace svy_tool
