// svy: the command-line tool of the svy3 library.
//
//   svy info PROJECT [--json]                    summary of a project document
//   svy create OUT.svy FILE... [options]         project document from radar files
//   svy demo [DIR]                               sample survey, its project and its summary
//   svy map PROJECT [--json]                     line map of a project, as the editor reads it
//
// Each command is one Run... function; main parses the command line and is the one place where an
// exception that escapes a command is turned into a message and a failing exit status.
#include <exception>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/info_command.h"
#include "tools/svy/map_command.h"

namespace {

// Parses the command line and runs the chosen command; returns the exit status.
int Run(int argc, char** argv) {
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

    if (info->parsed())
        return svy_tool::RunInfo(project, json, std::cout);
    if (createCommand->parsed())
        return svy_tool::RunCreate(create, std::cout);
    if (map->parsed())
        return svy_tool::RunMap(mapProject, mapJson, std::cout, std::cerr);
    if (demo->parsed())
        return svy_tool::RunDemo(demoFolder, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "svy: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "svy: stopped by an unexpected error\n";
    }
    return 1;
}
