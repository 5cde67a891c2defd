// svy3: reads, creates and edits the XML project document of a ground-penetrating-radar survey.
// Including this header makes every public interface of the library available.
#pragma once

#include "svy3/platform/date_time.h"
#include "svy3/platform/export.h"
#include "svy3/platform/message_box.h"
#include "svy3/reference/converter.h"
#include "svy3/reference/reference_converter.h"
#include "svy3/reference/rounding.h"
