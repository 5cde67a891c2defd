// svy: the command-line tool of the svy3 library.
//
//   svy info PROJECT [--json]                    summary of a project document
//   svy create OUT.svy FILE... [options]         project document from radar files
//   svy demo [DIR]                               sample survey, its project and its summary
//   svy map PROJECT [--json]                     line map of a project, as the editor reads it
//   svy check PROJECT [--json]                   whether the data files are on disk and readable
//   svy lines PROJECT [--csv]                    the lines of a project as a table
//   svy organise PROJECT [flags] [--dry-run]     rename and move data files after their lines
//   svy rename-set PROJECT OLD NEW [--dry-run]   rename a line set
//   svy single-set PROJECT SET OUT [options]     copy of a project with one line set
//   svy prefix PROJECT PREFIX [--dry-run]        prefix for the data file folders
//   svy recover PROJECT                          put right a batch of moves that was cut off
//
// Each command is one Run... function; main parses the command line and is the one place where an
// exception that escapes a command is turned into a message and a failing exit status.
#include <exception>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "svy3/version.h"
#include "tools/svy/check_command.h"
#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/edit_commands.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/info_command.h"
#include "tools/svy/map_command.h"

namespace {

// Parses the command line and runs the chosen command; returns the exit status.
int Run(int argc, char** argv) {
    CLI::App app{"svy: read, create and inspect ground-penetrating-radar survey projects"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("svy ") + SVY3_VERSION_STRING);
    app.footer(svy_tool::kExitStatusHelp);

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
    createCommand->add_flag("--force", create.force, "Replace OUT when it exists");

    std::string demoFolder = "demo-survey";
    CLI::App* demo = app.add_subcommand("demo", "Generate a sample survey and its project");
    demo->add_option("DIR", demoFolder, "Folder for the sample survey (default: demo-survey)");

    std::string mapProject;
    bool mapJson = false;
    CLI::App* map = app.add_subcommand("map", "Print a project's line map as the editor reads it");
    map->add_option("PROJECT", mapProject, "Project document (.svy)")->required();
    map->add_flag("--json", mapJson, "Print the map as JSON");

    std::string checkProject;
    bool checkJson = false, linesCsv = false;
    CLI::App* check = app.add_subcommand(
        "check", "Check that a project's data files are on disk, readable and of known size");
    check->add_option("PROJECT", checkProject, "Project document (.svy)")->required();
    check->add_flag("--json", checkJson, "Print the problems as JSON");
    CLI::App* lines = app.add_subcommand("lines", "Print a project's lines as a table");
    lines->add_option("PROJECT", checkProject, "Project document (.svy)")->required();
    lines->add_flag("--csv", linesCsv, "Print the table as CSV");

    svy_tool::OrganiseOptions organise;
    CLI::App* organiseCommand = app.add_subcommand(
        "organise", "Rename and move a project's data files after their lines, and save it");
    organiseCommand->add_option("PROJECT", organise.project, "Project document (.svy)")->required();
    organiseCommand->add_flag("--name-files", organise.nameFiles,
                              "Repair line names and name every data file after its line");
    organiseCommand->add_flag("--line-dirs", organise.lineDirs,
                              "Move data files into a folder named after their line");
    organiseCommand->add_flag("--into-data-dir", organise.intoDataDir,
                              "Move data files into the data folder (with --line-dirs: into "
                              "line folders there)");
    organiseCommand->add_flag("--overwrite", organise.overwrite,
                              "Let a move replace an existing file");
    organiseCommand->add_flag("--dry-run", organise.dryRun,
                              "Print the moves and document changes; touch nothing");

    std::string editProject, oldName, newName, prefix;
    bool editDryRun = false;
    CLI::App* renameSet = app.add_subcommand("rename-set", "Rename a line set and save");
    renameSet->add_option("PROJECT", editProject, "Project document (.svy)")->required();
    renameSet->add_option("OLD", oldName, "Line set to rename")->required();
    renameSet->add_option("NEW", newName, "New name")->required();
    renameSet->add_flag("--dry-run", editDryRun, "Print the change; touch nothing");

    svy_tool::SingleSetOptions single;
    CLI::App* singleSet =
        app.add_subcommand("single-set", "Write a copy of a project with one line set");
    singleSet->add_option("PROJECT", single.project, "Project document (.svy)")->required();
    singleSet->add_option("SET", single.lineSet, "Line set to keep")->required();
    singleSet->add_option("OUT", single.output, "Project document to write")->required();
    singleSet->add_option("--name", single.newName, "New name of the line set kept")->required();
    singleSet->add_option("--prefix", single.prefix, "Prefix for the data file folders");
    singleSet->add_flag("--force", single.force, "Replace OUT when it exists");
    singleSet->add_flag("--dry-run", single.dryRun, "Print the changes; write nothing");

    CLI::App* prefixCommand =
        app.add_subcommand("prefix", "Put a prefix in front of every data file folder and save");
    prefixCommand->add_option("PROJECT", editProject, "Project document (.svy)")->required();
    prefixCommand->add_option("PREFIX", prefix, "Prefix, as the document writes folders")
        ->required();
    prefixCommand->add_flag("--dry-run", editDryRun, "Print the changes; touch nothing");

    CLI::App* recover = app.add_subcommand(
        "recover", "Put right a batch of moves that was cut off (organise killed halfway)");
    recover->add_option("PROJECT", editProject, "Project document (.svy)")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);  // prints help, the version or the error
        return status == 0 ? svy_tool::kExitOk : svy_tool::kExitUsage;
    }

    if (info->parsed())
        return svy_tool::RunInfo(project, json, std::cout);
    if (createCommand->parsed())
        return svy_tool::RunCreate(create, std::cout);
    if (organiseCommand->parsed())
        return svy_tool::RunOrganise(organise, std::cout, std::cerr);
    if (renameSet->parsed())
        return svy_tool::RunRenameSet(editProject, oldName, newName, editDryRun, std::cout,
                                      std::cerr);
    if (singleSet->parsed())
        return svy_tool::RunSingleSet(single, std::cout, std::cerr);
    if (prefixCommand->parsed())
        return svy_tool::RunPrefix(editProject, prefix, editDryRun, std::cout, std::cerr);
    if (recover->parsed())
        return svy_tool::RunRecover(editProject, std::cout, std::cerr);
    if (map->parsed())
        return svy_tool::RunMap(mapProject, mapJson, std::cout, std::cerr);
    if (check->parsed())
        return svy_tool::RunCheck(checkProject, checkJson, std::cout, std::cerr);
    if (lines->parsed())
        return svy_tool::RunLines(checkProject, linesCsv, std::cout, std::cerr);
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
