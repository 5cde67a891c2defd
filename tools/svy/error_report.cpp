#include "tools/svy/error_report.h"

#include <ostream>

#include "svy3/api/error.h"
#include "tools/svy/exit_status.h"

namespace svy_tool {

void ReportError(const std::string& verb, const svy3::Error& error, std::ostream& err) {
    err << "svy " << verb << ": ";
    if (error.code() != 0)
        err << "error " << error.code() << ": ";
    err << error.what() << "\n";
}

int ExitStatusOf(const svy3::Error& error) {
    return error.kind() == svy3::Error::Kind::file_system ? kExitFileSystem : kExitDocument;
}

}  // namespace svy_tool
