#include "tools/svy/info_command.h"

#include <iostream>

#include "tools/svy/exit_status.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {

int RunInfo(const std::string& project, bool json, std::ostream& out) {
    int status = kExitOk;
    std::string error = ProjectFileProblem(project, status);
    if (!error.empty()) {
        std::cerr << "svy info: " << error << "\n";
        return status;
    }
    ProjectSummary summary;
    if (!SummarizeProject(project, summary, error)) {
        std::cerr << "svy info: " << error << "\n";
        return kExitDocument;
    }
    if (json)  // bytes that are not UTF-8 are written as U+FFFD
        out << SummaryToJson(summary).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << "\n";
    else
        PrintSummary(summary, out);
    return 0;
}

}  // namespace svy_tool
