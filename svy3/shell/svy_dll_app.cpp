#include "svy3/shell/svy_dll_app.h"

namespace ZAR {
namespace {

// Constant-initialised (constexpr constructor), so it exists before any other code of the library
// runs and is usable from other objects' constructors.
CSVYDLLApp theApp;

}  // namespace

int CSVYDLLApp::InitInstance() {
    return 1;
}

CSVYDLLApp& GetSVYDLLApp() {
    return theApp;
}

}  // namespace ZAR
