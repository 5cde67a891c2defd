// The exit statuses of the svy tool, the same for every command.
#pragma once

namespace svy_tool {

enum ExitStatus : int {
    kExitOk = 0,          // done
    kExitDocument = 1,    // a document or data file that cannot be used: not XML, no data, ...
    kExitUsage = 2,       // a command line that asks for something the tool does not do
    kExitFileSystem = 3,  // a missing, unreadable or unwritable file or folder
};

// The --help footer that lists them.
constexpr const char kExitStatusHelp[] =
    "Exit status: 0 done, 1 a document or data problem, 2 a usage problem, 3 a file system "
    "problem (missing, unreadable or unwritable file or folder, or an output that exists).";

}  // namespace svy_tool
