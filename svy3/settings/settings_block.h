// CSvySettingsBlock: common base of the in-memory models of a Settings element.
#pragma once

#include "svy3/platform/export.h"

namespace ZAR {

// Base of every settings block generation. It holds no data; copying it copies nothing.
class SVY3_API CSvySettingsBlock {
  public:
    CSvySettingsBlock() = default;
    CSvySettingsBlock(const CSvySettingsBlock&) = default;
    CSvySettingsBlock& operator=(const CSvySettingsBlock&) = default;
    virtual ~CSvySettingsBlock();
};

}  // namespace ZAR
