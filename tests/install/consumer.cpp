// A program that uses the installed library, as a user's would: its headers, its version and an
// exported call.
#include <cstdio>
#include <cstring>

#include <svy3/svy3.h>

int main(int, char** argv) {
    const char* linked = ZAR::GetVersionResource().fileVersionText;
    if (std::strcmp(linked, SVY3_VERSION_STRING) != 0 || ZAR::FindFileIgnoringCase(argv[0]).empty())
        return 1;
    std::printf("svy3 %s\n", linked);
    return 0;
}
