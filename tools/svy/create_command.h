// `svy create`: a project document from radar files on disk.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace svy_tool {

struct CreateOptions {
    std::string output;               // the project document to write
    std::vector<std::string> inputs;  // files or glob patterns (.DT1, .HD, .sen)
    std::string dataDir;              // folder of the data files; empty: the first file's folder
    double lineSpacing = -1.0;        // metres; negative: ask (on the terminal when there is one)
    std::string createdBy = "svy";    // program name written into the provenance records
    bool quiet = false;               // no report on standard output
    bool force = false;               // replace `output` when it exists
};

// The selection: inputs expanded (glob patterns), kept when their extension is .dt1, .hd or
// .sen (any case), in the order given.
std::vector<std::string> ExpandSelection(const std::vector<std::string>& inputs);

// Creates the project document. Reports what it wrote to `out`, problems and progress to standard
// error. Returns the process exit status (exit_status.h): 0 when the document was saved.
//
// The user's files are never harmed: an output that is one of the inputs (the same file, however
// named) or that has a radar data extension (.HD, .DT1, .sen, any case) is refused, and so is an
// existing output unless `force` is set, or one whose path is longer than the 255 bytes by which
// the library opens documents. The document is written beside the output under a temporary name
// (.svyXXXXXX) and put in place only once it is complete and reads back; a selection of which no
// data file can be read writes nothing and fails. Without a terminal and without a line spacing,
// the spacing used is told on standard error.
int RunCreate(const CreateOptions& options, std::ostream& out);

}  // namespace svy_tool
