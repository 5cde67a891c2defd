// svy3: reads, creates and edits the XML project document of a ground-penetrating-radar survey.
// Including this header makes every public interface of the library available.
#pragma once

#include "svy3/platform/date_time.h"
#include "svy3/platform/export.h"
#include "svy3/platform/message_box.h"
#include "svy3/reference/converter.h"
#include "svy3/reference/reference_converter.h"
#include "svy3/reference/rounding.h"
#include "svy3/external/cfile.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/gps_zone.h"
#include "svy3/external/measure.h"
#include "svy3/external/number_tests.h"
#include "svy3/external/position.h"
#include "svy3/external/transform/coordinate_relationship.h"
#include "svy3/external/uid.h"
#include "svy3/settings/settings_block.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/shell/line_offset_dlg.h"
#include "svy3/shell/line_offset_prompt.h"
#include "svy3/shell/svy_dll_app.h"
#include "svy3/shell/version_resource.h"
