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
};

// The selection: inputs expanded (glob patterns), kept when their extension is .dt1, .hd or
// .sen (any case), in the order given.
std::vector<std::string> ExpandSelection(const std::vector<std::string>& inputs);

// Creates the project document. Reports what it wrote to `out`, problems and progress to standard
// error. Returns the process exit status: 0 when the document was saved.
int RunCreate(const CreateOptions& options, std::ostream& out);

}  // namespace svy_tool
