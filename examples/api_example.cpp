// The README's example of the svy3 interface, compiled and run by the tests
// (tests/api/api_test.cpp). The text between the markers is the README's, exactly.
#include "examples/examples.h"

// README-API-EXAMPLE-BEGIN
#include <iostream>

#include "svy3/api.h"

// Opens a project and prints its lines, their files and where 12.5 m on the user's scale lies
// on the odometer of each line that has distance references.
int PrintSurvey(const std::string& path) {
    try {
        const svy3::Project project = svy3::open(path);
        for (const std::string& warning : project.warnings())
            std::cerr << "warning: " << warning << "\n";
        for (const svy3::Line& line : project.lines()) {
            std::cout << line.name() << " (" << line.files().size() << " files, "
                      << line.lateral_offset() << " m across)\n";
            for (const svy3::DataFile& file : line.files())
                std::cout << "  " << file.path() << ": " << file.positions().size()
                          << " positions\n";
            if (std::optional<svy3::DistanceConverter> converter = line.converter())
                std::cout << "  12.5 m is odometer " << converter->user_to_odometer(12.5) << " m\n";
        }
        return 0;
    } catch (const svy3::Error& error) {  // missing file, not a project document, ...
        std::cerr << error.what() << "\n";
        return 1;
    }
}

// Creates a project from radar files (.DT1 with their .HD headers, .sen files).
int CreateSurvey(const std::string& path, const std::vector<std::string>& files) {
    svy3::CreateOptions options;
    options.line_spacing = 0.5;  // metres between lines
    options.created_by = "my program";
    try {
        const svy3::Project project = svy3::create(path, files, options);
        std::cout << "created " << project.lines().size() << " lines\n";
        return 0;
    } catch (const svy3::Error& error) {  // refused, not written, or no readable file
        std::cerr << error.what() << "\n";
        return 1;
    }
}

// Renames the first line set, then moves every line's files into a folder of its own, on disk
// and in the document together.
int RenameAndMove(const std::string& path) {
    try {
        svy3::Editor editor(path);
        for (const auto& [set, lines] : editor.map()) {
            if (!set.empty()) {
                editor.rename_line_set(set, "North field");
                break;
            }
        }
        editor.save();
        svy3::OrganiseOptions options;
        options.line_dirs = true;
        const svy3::OrganiseReport report = editor.organise(options);
        for (const std::string& problem : report.problems)
            std::cerr << "refused: " << problem << "\n";
        std::cout << report.moves.size() << " moves\n";
        return report.done ? 0 : 1;
    } catch (const svy3::Error& error) {
        std::cerr << "error " << error.code() << ": " << error.what() << "\n";
        return 1;
    }
}
// README-API-EXAMPLE-END
