// Helpers for the tool's tests: a command's printed output and exit status in one record, and a
// local grid placed in UTM for the commands that work in longitude and latitude.
#pragma once

#include <gtest/gtest.h>

#include <GeographicLib/UTMUPS.hpp>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace svy_tool_test {

// What a command printed on its two streams, and its exit status.
struct Output {
    int status;
    std::string out, err;
};

// Runs `command(out, err)`; what a command writes to standard error itself is caught there too.
template <class Command>
Output Captured(Command command) {
    std::ostringstream out, err;
    testing::internal::CaptureStderr();
    const int status = command(out, err);
    return {status, out.str(), err.str() + testing::internal::GetCapturedStderr()};
}

// Runs `command(args..., out, err)`.
template <class Command, class... Args>
Output Invoke(Command command, const Args&... args) {
    return Captured(
        [&](std::ostream& out, std::ostream& err) { return command(args..., out, err); });
}

// A local grid (metres) turned 25 degrees from east, its origin in UTM zone 33 north; where its
// points lie, worked out with GeographicLib independently of the tool.
struct TurnedGrid {
    double east0 = 500123.4, north0 = 5100456.7, angle = 25.0 * std::acos(-1.0) / 180.0;

    // Latitude and longitude.
    std::pair<double, double> LatLong(double x, double y) const {
        double latitude, longitude;
        GeographicLib::UTMUPS::Reverse(33, true, east0 + x * std::cos(angle) - y * std::sin(angle),
                                       north0 + x * std::sin(angle) + y * std::cos(angle), latitude,
                                       longitude);
        return {latitude, longitude};
    }
    // The two points that give the relationship to `svy relation --points`: (0, 0) and (100, 50).
    std::vector<double> Points() const {
        const auto [lat1, lon1] = LatLong(0, 0);
        const auto [lat2, lon2] = LatLong(100, 50);
        return {0, 0, lat1, lon1, 100, 50, lat2, lon2};
    }
};

}  // namespace svy_tool_test
