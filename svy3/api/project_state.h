// Project::State: what a Project holds. Internal to the svy3 interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "svy3/api/project.h"
#include "svy3/datablock/svy_data_block_interface.h"

namespace svy3 {

struct Project::State {
    std::string path, version, dataDir;
    std::vector<Provenance> provenance;
    Site site;
    std::vector<LineSet> lineSets;
    std::vector<Line> lines;
    std::vector<Settings> settings;
    std::vector<std::string> warnings;
    std::unique_ptr<ZAR::CSvyDataBlockInterface_V110> data;
};

namespace detail {
// Reaches a Project's state from the interface's own functions.
struct ProjectAccess {
    static Project::State& Of(Project& project) { return *project.state_; }
};
}  // namespace detail

}  // namespace svy3
