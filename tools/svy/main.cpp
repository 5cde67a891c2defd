// svy: the command-line tool of the svy3 library.
//
//   svy info PROJECT [--json]     summary of a project document
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

int main(int argc, char** argv) {
    CLI::App app{"svy: read, create and inspect ground-penetrating-radar survey projects"};
    app.require_subcommand(1);

    std::string project;
    bool json = false;
    CLI::App* info = app.add_subcommand("info", "Print a summary of a project document");
    info->add_option("PROJECT", project, "Project document (.svy)")->required();
    info->add_flag("--json", json, "Print the summary as JSON");

    CLI11_PARSE(app, argc, argv);

    if (info->parsed()) {
        svy_tool::ProjectSummary summary;
        std::string error;
        if (!svy_tool::SummarizeProject(project, summary, error)) {
            std::cerr << "svy info: " << error << "\n";
            return 1;
        }
        if (json)
            std::cout << svy_tool::SummaryToJson(summary).dump(2) << "\n";
        else
            svy_tool::PrintSummary(summary, std::cout);
    }
    return 0;
}
