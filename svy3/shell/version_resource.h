// The version resource of the library: the values by which callers and installers identify it.
#pragma once

#include <cstdint>

#include "svy3/platform/export.h"
#include "svy3/version.h"

namespace ZAR {

// A four-part version number: major.minor.revision.build.
struct SVersionNumber {
    uint16_t major;
    uint16_t minor;
    uint16_t revision;
    uint16_t build;
};

struct SVersionResource {
    SVersionNumber fileVersion;
    SVersionNumber productVersion;
    const char* fileVersionText;     // fileVersion as "major.minor.revision.build"
    const char* productVersionText;  // productVersion as "major.minor.revision.build"
    const char* comments;
    const char* companyName;
    const char* fileDescription;
    const char* internalName;
    const char* legalCopyright;
    const char* originalFilename;  // file name of the module on Windows
    const char* productName;       // product name followed by the library's part number
    const char* softwareDip;       // the library's part number ("Software DIP")
};

// Part number of the library, the last word of the product name and the "Software DIP" value.
constexpr const char* kSvy3PartNumber = "SVY3-0330-01";

constexpr SVersionResource kVersionResource = {
    {SVY3_VERSION_MAJOR, SVY3_VERSION_MINOR, SVY3_VERSION_PATCH, SVY3_VERSION_BUILD},
    {SVY3_VERSION_MAJOR, SVY3_VERSION_MINOR, SVY3_VERSION_PATCH, SVY3_VERSION_BUILD},
    SVY3_VERSION_STRING,
    SVY3_VERSION_STRING,
    "SVY file class exposed in DLL",
    "svy3 developers",
    "SVY3 Dynamic Link Library V3 R2",
    "SVY3",
    "Copyright (C) svy3 developers",
    "SVYDLL.DLL",
    "SVY Dynamic Link Library V3 R2 SVY3-0330-01",
    kSvy3PartNumber,
};

// The version resource as compiled into the library (which may differ from kVersionResource in a
// caller built against another release). Texts have static storage and are never null.
SVY3_API const SVersionResource& GetVersionResource();

// The "Software DIP" part number of the library, as written into provenance records.
SVY3_API const char* GetSoftwareDipText();

}  // namespace ZAR
