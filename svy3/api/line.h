// svy3::Line: one survey line of a project, with its data files.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "svy3/api/data_file.h"
#include "svy3/api/distance_converter.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/platform/export.h"

namespace svy3 {

// How a line runs, derived from its positions.
enum class LineType {
    unknown = 0,   // both X and Y vary along it
    reserved = 1,  // never derived; kept for documents that name it
    along_x = 2,   // Y stays within the step size tolerance
    along_y = 3,   // X stays within the tolerance (also a line without positions)
};

// Which way a line was surveyed along its axis.
enum class Direction {
    none,      // not known: too few positions, or not along an axis
    forward,   // positions ascend along the axis ('Y' in the library's classes)
    reversed,  // some position steps back along the axis ('R')
};

// The extent of a line's positions, in the coordinates as recorded.
struct Extent {
    double start_x = 0.0, start_y = 0.0;  // smallest X and Y
    double end_x = 0.0, end_y = 0.0;      // largest X and Y
    double position_count = 0.0;          // positions of all its files
};

// A view of one line of a Project: valid while the Project lives. Its files are those the document
// lists, gaps in the sequence numbers left out, by kind and then sequence number.
//
// Example:
//   for (const svy3::Line& line : project.lines())
//       std::cout << line.name() << " at " << line.lateral_offset() << " m\n";
class SVY3_API Line {
  public:
    Line(const ZAR::CSvyDataBlock_V110::CLine& model, std::string set, std::vector<DataFile> files);

    const std::string& name() const { return model_->m_strName; }
    // The name of its line set; "" for a line outside line sets.
    const std::string& set() const { return set_; }
    LineType type() const { return static_cast<LineType>(model_->m_eType); }
    Extent extent() const;
    Direction direction() const;
    // Metres from the survey's first line, from its first distance reference (0 without one).
    double lateral_offset() const;
    const std::vector<DataFile>& files() const { return files_; }
    // File slots the document numbers, gaps in the sequence included.
    int file_slots() const;
    // The line's distance conversions; none when it has no distance references.
    std::optional<DistanceConverter> converter() const;

    // The compatibility class below this one.
    const ZAR::CSvyDataBlock_V110::CLine& model() const { return *model_; }

  private:
    const ZAR::CSvyDataBlock_V110::CLine* model_;
    std::string set_;
    std::vector<DataFile> files_;
};

// A named set of lines: a view into Project::lines().
class LineSet {
  public:
    LineSet(std::string name, Span<const Line> lines) : name_(std::move(name)), lines_(lines) {}
    const std::string& name() const { return name_; }
    // Its lines, by name.
    Span<const Line> lines() const { return lines_; }

  private:
    std::string name_;
    Span<const Line> lines_;
};

}  // namespace svy3
