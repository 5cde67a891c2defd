// svy3::DataFile: one data file of a survey line.
#pragma once

#include <array>
#include <string>

#include "svy3/api/settings.h"
#include "svy3/api/span.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/platform/export.h"

namespace svy3 {

// A recorded position of a data file: X, Y, Z as written in the document (Z 0 where the document
// says "NA", no height measured), normalizedFilePos from 0 (start of the file) to 1 (its end), and
// the unit code (1 metres when the units text starts with "m", else 5).
using Position = ZAR::CSvyDataBlock_V110::CDataFile::SPosition;
// A fiducial comment: its text, its odometer distance along the file (metres) and its one-letter
// kind (fileflag).
using Fiducial = ZAR::CSvyDataBlock_V110::CDataFile::SFidComment;

// The odometer distances of a file's traces, in metres.
struct OdometerRange {
    double start = 0.0;  // odometer distance of the first trace
    double end = 0.0;    // odometer distance of the last trace
    double step = 0.0;   // metres per trace
};

// A view of one data file of a Project: valid while the Project lives, cheap to copy.
// The kind is the document's FileType extension ("HD+DT1" for a radar header and trace pair,
// "sen", "GPS", ...). Its dimensions are the document's DataSampleCnt dim0 to dim2 (for a radar
// pair as written by creation: bytes per sample, samples per trace, traces; -1 when unreadable).
//
// Example:
//   for (const svy3::DataFile& file : line.files())
//       std::cout << file.path() << " " << file.positions().size() << " positions\n";
class SVY3_API DataFile {
  public:
    DataFile(const ZAR::CSvyDataBlock_V110::CDataFile& model, const Settings* settings)
        : model_(&model), settings_(settings) {}

    // The file's name with its stem and extension as the document gives them.
    const std::string& name() const { return model_->m_strName; }
    // Its folder relative to the project's data folder ("" when none is given).
    const std::string& directory() const { return model_->m_strDirectory; }
    // Folder, a backslash and the name (the document's separator), or the name alone.
    std::string path() const { return model_->GetPath(); }
    const std::string& kind() const { return model_->m_strExt; }
    // True for radar trace data (a kind containing "DT1", letter case ignored).
    bool is_radar() const;
    int sequence() const { return model_->m_nSequence; }
    OdometerRange odometer() const {
        return {model_->m_dOdoStart, model_->m_dOdoEnd, model_->m_dOdoStep};
    }
    std::array<int, 3> dimensions() const {
        return {model_->m_nDim0, model_->m_nDim1, model_->m_nDim2};
    }
    // The file's acquisition settings, or null when it has none. Files sharing a Settings element
    // share the object (compare the pointers).
    const Settings* settings() const { return settings_; }
    // Positions, ascending in normalized file position.
    Span<const Position> positions() const {
        return {model_->m_positions.data(), model_->m_positions.size()};
    }
    // Fiducial comments, ascending in odometer distance.
    Span<const Fiducial> fiducials() const {
        return {model_->m_fidComments.data(), model_->m_fidComments.size()};
    }

    // The compatibility class below this one.
    const ZAR::CSvyDataBlock_V110::CDataFile& model() const { return *model_; }

  private:
    const ZAR::CSvyDataBlock_V110::CDataFile* model_;
    const Settings* settings_;
};

}  // namespace svy3
