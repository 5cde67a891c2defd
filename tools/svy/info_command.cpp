#include "tools/svy/info_command.h"

#include <iostream>

#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {

int RunInfo(const std::string& project, bool json, std::ostream& out) {
    ProjectSummary summary;
    std::string error;
    if (!SummarizeProject(project, summary, error)) {
        std::cerr << "svy info: " << error << "\n";
        return 1;
    }
    if (json)
        out << SummaryToJson(summary).dump(2) << "\n";
    else
        PrintSummary(summary, out);
    return 0;
}

}  // namespace svy_tool
