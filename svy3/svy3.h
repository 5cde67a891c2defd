// svy3: reads, creates and edits the XML project document of a ground-penetrating-radar survey.
// Including this header makes every public interface of the library available.
#pragma once

// The version of these headers: SVY3_VERSION_MAJOR .. SVY3_VERSION_STRING.
#include "svy3/version.h"

// Platform services: message boxes, date-time, file lookup, export macros.
#include "svy3/platform/date_time.h"
#include "svy3/platform/export.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/message_box.h"
#include "svy3/platform/scoped_message_handler.h"

// The XML layer: the XmlDom_ functions, the document cursor, typed node values and provenance
// records.
#include "svy3/xmldom/xml_dom_api.h"
#include "svy3/xmlfile/created_by.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

// Units, radar headers, positions, zones and coordinate transforms.
#include "svy3/external/cfile.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/gps_zone.h"
#include "svy3/external/measure.h"
#include "svy3/external/number_tests.h"
#include "svy3/external/position.h"
#include "svy3/external/transform/coordinate_relationship.h"
#include "svy3/external/uid.h"

// The project document: provenance, site definition, top-level interface.
#include "svy3/document/site_definition.h"
#include "svy3/document/svy_interface.h"

// Settings blocks and data file names.
#include "svy3/settings/data_line_and_sequence_file_params.h"
#include "svy3/settings/settings_block.h"
#include "svy3/settings/settings_block_v110.h"

// Distance references.
#include "svy3/reference/converter.h"
#include "svy3/reference/reference_converter.h"
#include "svy3/reference/rounding.h"

// The data block: model, reader, queries.
#include "svy3/datablock/line_type.h"
#include "svy3/datablock/query_records.h"
#include "svy3/datablock/svy_data_block_interface.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/datablock/writer_error.h"

// The project editor and the mapper settings it keeps.
#include "svy3/editor/error.h"
#include "svy3/editor/file_operations.h"
#include "svy3/editor/gpz_svy.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/editor/rename_files.h"
#include "svy3/editor/rename_journal.h"
#include "svy3/editor/rename_plan.h"
#include "svy3/editor/svy_line_pos.h"
#include "svy3/mapper/svy_vilo_mapper_settings.h"

// The svy3 interface over the classes above: Project, Editor, create.
#include "svy3/api.h"

// The library object, version resource and line offset dialog.
#include "svy3/shell/line_offset_dlg.h"
#include "svy3/shell/line_offset_prompt.h"
#include "svy3/shell/scoped_line_offset_prompt.h"
#include "svy3/shell/svy_dll_app.h"
#include "svy3/shell/version_resource.h"
