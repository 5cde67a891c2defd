// svy3::create: a new project document from radar data files on disk, in one call.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "svy3/api/project.h"
#include "svy3/platform/export.h"

namespace svy3 {

// What svy3::create needs beyond the files.
struct CreateOptions {
    // The folder of the data files (from the current folder); "" takes the first file's folder.
    // The document names it relative to its own folder (absolute when it lies on another root),
    // which is how the readers and the editor take it: beyond the classes below, which write the
    // folder as given, so that the project opens and edits from any current folder.
    std::string data_dir;
    // Metres between neighbouring lines. When not given, `ask_line_spacing` is asked; without
    // it the library's preset spacing is kept.
    std::optional<double> line_spacing;
    // Asked for the spacing with the preset text in `text`: writes the answer there and returns
    // true; returning false closes the question unanswered, and the preset stays.
    std::function<bool(std::string& text)> ask_line_spacing;
    // The program recorded as the document's creator; its version and identification number
    // default to this library's.
    std::string created_by = "svy3";
    std::string created_by_version;
    std::string created_by_dip;
    // Whether an existing document at the path may be replaced.
    bool overwrite = false;
};

// Groups `files` (.DT1, .HD and .sen paths) into lines by the line and sequence numbers in their
// names, reads each radar header, and writes the project document to `path`. The document is
// written beside `path` under a temporary name, read back, and only then put in place: a failure
// leaves `path` as it was.
// @param path where the document goes. @param files the data files. @param options see above.
// @return the new project as read back from `path`; its warnings() hold what the creation and the
// reading reported (files whose header could not be read are left out silently).
// @throws Error: Kind::refused for no files, a path with a radar data file's extension, a path that
// is one of the files, or an existing path without `overwrite`; Kind::file_system when the document
// cannot be written; Kind::document when the creation failed or no data file could be read.
SVY3_API Project create(const std::string& path, const std::vector<std::string>& files,
                        const CreateOptions& options = {});

}  // namespace svy3
