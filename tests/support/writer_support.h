// Radar files and XML outlines for the tests of the document writers.
#pragma once

#include <string>

#include <pugixml.hpp>

#include "svy3/external/gpr_param.h"

namespace svy3_test {

// 201 traces of 200 samples over 160 ns, time zero at sample 20, step 0.05 m from 0 m to 10 m,
// 100 MHz, 400 V, 16 stacks, antennas 1.0 m apart, 500.5 ticks/m, "Reflection", dated
// 2024-05-21 13:04:05.
ZAR::SGprParam SampleHeader();
// Writes `param` as a header at `path`.
void SaveHeader(const std::string& path, const ZAR::SGprParam& param);
// Writes an odometer file: <SEN><Odometer start end units/></SEN>.
void WriteSen(const std::string& path, const std::string& start, const std::string& end,
              const std::string& units);

// name[attr=value,...]"text"{child child ...}, attributes and children in document order.
std::string Outline(const pugi::xml_node& element);
// Names of the child elements, blank-separated.
std::string ChildNames(const pugi::xml_node& element);

}  // namespace svy3_test
