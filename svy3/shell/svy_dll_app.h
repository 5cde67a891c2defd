// CSVYDLLApp: the library's module-wide application object.
#pragma once

#include "svy3/platform/export.h"

namespace ZAR {

// One global object lives from the library's load to its unload. It carries no application name
// (a desktop build takes it from the module's resources) and holds no data.
class SVY3_API CSVYDLLApp {
  public:
    constexpr CSVYDLLApp() = default;
    virtual ~CSVYDLLApp() = default;
    CSVYDLLApp(const CSVYDLLApp&) = delete;
    CSVYDLLApp& operator=(const CSVYDLLApp&) = delete;

    // Start-up of the module. There is nothing to set up; returns 1 (success).
    virtual int InitInstance();
};

// The library's global application object.
SVY3_API CSVYDLLApp& GetSVYDLLApp();

}  // namespace ZAR
