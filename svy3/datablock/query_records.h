// Records filled by the data block lookups of CSvyDataBlockInterface. The caller owns each record;
// pointers inside them point into the data block model and stay valid while the interface that
// filled them lives.
#pragma once

#include <cstdint>
#include <string>

#include "svy3/datablock/line_type.h"
#include "svy3/datablock/svy_data_block_v110.h"

namespace ZAR {

// A line outside line sets, by its index in document order.
struct LineInfo {
    int32_t index = 0;
    std::string name;
    int32_t extensionCount = 0;
    CReferenceConverter* converter = nullptr;  // the line's own; null without distance references
    double lateralOffset = 0.0;  // reflateral of the first distance reference (metres), else 0
};

// A line found by running number; the extent is in the coordinates as recorded.
struct SLineInfo {
    std::string name;
    ELineType type = eLineAlongY;
    double startX = 0.0;
    double endX = 0.0;
    double startY = 0.0;
    double endY = 0.0;
    double positionCount = 0.0;
    char direction = 'N';  // 'Y', 'N' or 'R'
    int32_t index = 0;     // index within the list the line was found in
    int32_t setIndex = 0;  // line set index, -2 for a line outside sets
};

// A line set. GetLineSet writes values[0..2] = 0, values[6] = 1.0, values[7..8] = 0 and leaves
// values[3..5] as the caller had them.
struct SLineSetInfo {
    std::string name;
    int32_t index = 0;
    double values[9] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
};

// One kind of data file within a line.
struct ExtensionInfo {
    int32_t index = 0;
    std::string kind;
    int32_t fileCount = 0;  // file slots, empty slots (gaps in the sequence numbers) included
};

// A data file of a line outside line sets.
struct FileInfo {
    std::string name;
    std::string dir;  // relative to the document's folder; empty when none was given
    std::string kind;
    double odoStart = 0.0;  // metres
    double odoEnd = 0.0;
    double odoStep = 0.0;
    CSvySettingsBlock_V110* settings = nullptr;  // owned by the data block
    int32_t dim0 = 0;
    int32_t dim1 = 0;
    int32_t dim2 = 0;
};

// A data file found by running numbers.
struct SFileInfo {
    std::string path;  // directory, a backslash and the name; the name alone without directory
    // The file's first position (positions ascend in normalized file position); owned by the model.
    const CSvyDataBlock_V110::CDataFile::SPosition* positions = nullptr;
    int32_t positionCount = 0;
    std::string kind;
    ELineType lineType = eLineAlongY;  // type of the file's line
    double odoStart = 0.0;             // metres
    double odoEnd = 0.0;
    double odoStep = 0.0;
    int32_t dim0 = 0;
    int32_t dim1 = 0;
    int32_t dim2 = 0;
    CSvySettingsBlock_V110* settings = nullptr;  // owned by the data block
};

}  // namespace ZAR
