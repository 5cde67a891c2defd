// Helpers for the tool's tests: a command's printed output and exit status in one record, and the
// names in a folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/operations.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace svy_tool_test {

// What a command printed on its two streams, and its exit status.
struct Output {
    int status;
    std::string out, err;
};

// Runs `command(out, err)`; a command that writes its problems to standard error instead is
// caught there too.
template <class Command>
Output Captured(Command command) {
    std::ostringstream out, err;
    testing::internal::CaptureStderr();
    const int status = command(out, err);
    return {status, out.str(), err.str() + testing::internal::GetCapturedStderr()};
}

// The names in a folder (not below it), sorted.
inline std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : boost::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace svy_tool_test
