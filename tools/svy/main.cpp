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
//   svy positions PROJECT SET LINE --csv FILE    positions of a line from a CSV file
//   svy fiducials PROJECT SET LINE --csv FILE    fiducial comments of a line from a CSV file
//   svy gps PROJECT SET LINE FILE                attach a GPS file to a line
//   svy relation PROJECT [options]               show or set the GPS-to-data relationship
//   svy export PROJECT --geojson|--csv [options] positions and fiducials for a GIS
//   svy plot PROJECT OUT.{png,svg,pdf} [options] a picture of the lines and fiducials
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
#include "tools/svy/export_command.h"
#include "tools/svy/gps_commands.h"
#include "tools/svy/info_command.h"
#include "tools/svy/map_command.h"
#include "tools/svy/plot_command.h"

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

    svy_tool::LineAddress address;
    std::string csv, unit = "m", gpsFile;
    auto addLine = [&](CLI::App* command) {
        command->add_option("PROJECT", address.project, "Project document (.svy)")->required();
        command->add_option("SET", address.lineSet, "Line set (\"-\" for lines outside sets)")
            ->required();
        command->add_option("LINE", address.line, "Line")->required();
    };
    CLI::App* positions =
        app.add_subcommand("positions", "Replace a line's positions from a CSV file and save");
    addLine(positions);
    positions->add_option("--csv", csv, "Rows x, y, z (or NA), file position 0..1")->required();
    positions->add_option("--unit", unit, "Unit of x, y and z (default m)");
    CLI::App* fiducials = app.add_subcommand(
        "fiducials", "Replace a line's fiducial comments from a CSV file and save");
    addLine(fiducials);
    fiducials->add_option("--csv", csv, "Rows flag (D, C, I, N or a code), odometer m, comment")
        ->required();
    CLI::App* gps = app.add_subcommand("gps", "Attach a GPS file to a line and save");
    addLine(gps);
    gps->add_option("FILE", gpsFile, "The .GPS file, inside the data folder")->required();

    svy_tool::RelationOptions relation;
    CLI::App* relationCommand =
        app.add_subcommand("relation", "Show or set the GPS-to-data relationship");
    relationCommand->add_option("PROJECT", relation.project, "Project document (.svy)")->required();
    CLI::Option* show =
        relationCommand->add_flag("--show", relation.show, "Print the relationship (default)");
    CLI::Option* shift = relationCommand
                             ->add_option("--shift", relation.shift,
                                          "UTM easting and northing of the local origin (DX DY)")
                             ->expected(2);
    CLI::Option* rotation = relationCommand->add_option(
        "--rotation", relation.rotation,
        "Angle of the local X axis from east, counterclockwise, degrees");
    CLI::Option* points =
        relationCommand
            ->add_option("--points", relation.points,
                         "LX1 LY1 LAT1 LON1 LX2 LY2 LAT2 LON2: two points, local and GPS")
            ->expected(8);
    relationCommand->add_option("--zone", relation.zone, "UTM zone of --shift, such as 17T");
    rotation->needs(shift);
    shift->excludes(points);
    show->excludes(shift)->excludes(points);

    svy_tool::ExportOptions exportOptions;
    CLI::App* exportCommand =
        app.add_subcommand("export", "Write the positions and fiducials of every line for a GIS");
    exportCommand->add_option("PROJECT", exportOptions.project, "Project document (.svy)")
        ->required();
    CLI::Option* geojson =
        exportCommand->add_flag("--geojson", exportOptions.geojson, "GeoJSON (the default)");
    exportCommand->add_flag("--csv", exportOptions.csv, "CSV, one row per point")
        ->excludes(geojson);
    exportCommand->add_flag("--latlon", exportOptions.latlon,
                            "WGS84 longitude and latitude through the GPS-to-data relationship");
    exportCommand->add_option("-o,--output", exportOptions.output,
                              "File to write (default: standard output)");

    svy_tool::PlotOptions plot;
    CLI::App* plotCommand = app.add_subcommand(
        "plot",
        "Draw the lines (dashed where they have no positions yet), their direction, fiducials, a "
        "scale bar, a north arrow (GN: grid north of the local grid) and a legend of the line "
        "sets. Fiducials outside their file's odometer range are left out and counted. The "
        "picture is written under a temporary name and moved into place when complete; OUT is "
        "refused when it is the project itself (whatever its name) or has a survey file's "
        "extension (.svy .hd .dt1 .sen .gps)");
    plotCommand->add_option("PROJECT", plot.project, "Project document (.svy)")->required();
    plotCommand->add_option("OUT", plot.output, "Picture to write: .png, .svg or .pdf")->required();
    plotCommand->add_flag("--latlon", plot.latlon,
                          "WGS84 longitude and latitude through the GPS-to-data relationship");
    plotCommand->add_flag("--labels", plot.labels, "The fiducials' comments beside their marks");
    plotCommand->add_option(
        "--size", plot.size,
        "WIDTHxHEIGHT in pixels (points for SVG and PDF), each 200 to 20000 (default 1200x900)");

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
    if (positions->parsed())
        return svy_tool::RunPositions(address, csv, unit, std::cout, std::cerr);
    if (fiducials->parsed())
        return svy_tool::RunFiducials(address, csv, std::cout, std::cerr);
    if (gps->parsed())
        return svy_tool::RunGps(address, gpsFile, std::cout, std::cerr);
    if (relationCommand->parsed())
        return svy_tool::RunRelation(relation, std::cout, std::cerr);
    if (exportCommand->parsed())
        return svy_tool::RunExport(exportOptions, std::cout, std::cerr);
    if (plotCommand->parsed())
        return svy_tool::RunPlot(plot, std::cout, std::cerr);
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
