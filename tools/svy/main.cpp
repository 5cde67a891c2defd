// svy: the command-line tool of the svy3 library.
//
//   svy info PROJECT [--json]                    summary of a project document
//   svy create OUT.svy FILE... [options]         project document from radar files
//   svy demo [DIR]                               sample survey, its project and its summary
//   svy map PROJECT [--json]                     line map of a project, as the editor reads it
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/map_command.h"
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

    svy_tool::CreateOptions create;
    CLI::App* createCommand =
        app.add_subcommand("create", "Create a project document from .DT1, .HD and .sen files");
    createCommand->add_option("OUT", create.output, "Project document to write")->required();
    createCommand->add_option("FILE", create.inputs, "Data files or glob patterns")->required();
    createCommand->add_option("--data-dir", create.dataDir,
                              "Folder of the data files (default: the first file's folder)");
    createCommand
        ->add_option("--line-spacing", create.lineSpacing,
                     "Spacing between lines in metres (default: ask on the terminal)")
        ->check(CLI::Range(0.0, 1000.0));
    createCommand->add_option("--created-by", create.createdBy,
                              "Program name written into the provenance records");

    std::string demoFolder = "demo-survey";
    CLI::App* demo = app.add_subcommand("demo", "Generate a sample survey and its project");
    demo->add_option("DIR", demoFolder, "Folder for the sample survey (default: demo-survey)");

    std::string mapProject;
    bool mapJson = false;
    CLI::App* map = app.add_subcommand("map", "Print a project's line map as the editor reads it");
    map->add_option("PROJECT", mapProject, "Project document (.svy)")->required();
    map->add_flag("--json", mapJson, "Print the map as JSON");

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
        return 0;
    }
    if (createCommand->parsed())
        return svy_tool::RunCreate(create, std::cout);
    if (map->parsed())
        return svy_tool::RunMap(mapProject, mapJson, std::cout, std::cerr);
    if (demo->parsed())
        return svy_tool::RunDemo(demoFolder, std::cout);
    return 0;
}
