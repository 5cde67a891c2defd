// Radar data files for the tests of the document writers: ".HD" headers and ".sen" odometer files.
#pragma once

#include <string>

#include "svy3/external/gpr_param.h"

namespace svy3_test {

// A complete header: 201 traces of 200 samples over 160 ns with time zero at sample 20, step
// 0.05 m from 0 m to 10 m, 100 MHz, 400 V, 16 stacks, antennas 1.0 m apart, 500.5 odometer ticks
// per metre, survey mode "Reflection", no trace stacking, dated 2024-05-21 13:04:05.
ZAR::SGprParam SampleHeader();

// Writes `param` as a header at `path` and returns the path.
std::string SaveHeader(const std::string& path, const ZAR::SGprParam& param);

// Writes an odometer file whose document element has an Odometer child with these attributes.
std::string WriteSen(const std::string& path, const std::string& start, const std::string& end,
                     const std::string& units);

}  // namespace svy3_test
