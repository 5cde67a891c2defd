// The acquisition parameters shared by every generated sample: the radar files of `svy demo` and
// the benchmarks, and the Settings blocks of the generated project documents, describe one and the
// same instrument.
#pragma once

namespace svy3_samples {

constexpr int kSamplesPerTrace = 250;
constexpr int kTimeZero = 25;                // samples before the direct wave
constexpr double kIntervalNs = 0.4;          // sampling interval
constexpr double kStepMetres = 0.05;         // distance between traces
constexpr double kFrequencyMHz = 250.0;      // nominal antenna frequency
constexpr double kAntennaSeparation = 0.38;  // metres between transmitter and receiver
constexpr double kPulserVoltage = 400.0;     // volts peak to peak
constexpr int kStacks = 16;                  // traces stacked per recorded trace
constexpr double kOdometerTicksPerMetre = 500;
constexpr double kLineSpacingMetres = 0.5;  // distance between neighbouring lines

}  // namespace svy3_samples
