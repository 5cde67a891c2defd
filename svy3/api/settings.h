// svy3::Settings: the acquisition settings of radar data files, as plain values.
#pragma once

#include <string>
#include <vector>

namespace svy3 {

// One Settings element of a project, shared by the data files that use it. Every field is read
// from the document; times in nanoseconds, distances in metres.
struct Settings {
    int sample_count = 0;             // samples per trace
    double time_zero = 0.0;           // in samples
    double sample_interval_ns = 0.0;  // time between samples
    double step_size = 0.0;           // metres between traces
    double frequency_mhz = 0.0;       // nominal antenna frequency
    double pulser_voltage = 0.0;      // volts peak to peak
    double odometer_ticks_per_metre = 0.0;
    double antenna_separation = 0.0;  // metres between transmitter and receiver
    int survey_mode_code = 0;         // 0 to 4, as survey_mode names them
    // "Reflection", "CMP/WARR", "Trans. - MOP", "Trans. - ZOP", "Trans. - VRP" or "unknown".
    std::string survey_mode;
    std::vector<std::string> processing;  // processing steps in document order
};

}  // namespace svy3
