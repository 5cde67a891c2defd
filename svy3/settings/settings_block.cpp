#include "svy3/settings/settings_block.h"

namespace ZAR {

CSvySettingsBlock::~CSvySettingsBlock() = default;

}  // namespace ZAR
