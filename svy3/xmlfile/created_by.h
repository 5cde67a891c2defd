// SCreatedBy: who created or modified a block of the project document, and when.
#pragma once

#include <string>

#include "svy3/platform/date_time.h"

namespace ZAR {

// Provenance record of a CreatedBy element or of one of its ModifiedBy children.
struct SCreatedBy {
    std::string name;     // the program's name
    std::string version;  // the program's version text
    std::string DIP;      // identification number of the program
    CDateTime dateTime;   // written as the "date" ("%Y-%m-%d") and "time" ("%H:%M:%S") attributes
    std::string comment;  // what the modification did (ModifiedBy only)
};

}  // namespace ZAR
