// svy3::Editor: a project document opened for editing - renames on disk and in the document
// together, positions, fiducials, the GPS file and the GPS-to-data relationship.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "svy3/api/error.h"
#include "svy3/editor/gpz_svy.h"
#include "svy3/external/transform/coordinate_relationship.h"
#include "svy3/platform/export.h"

namespace ZAR {
class GpzSvy120;
class FileOperations;
}  // namespace ZAR

namespace svy3 {

// Where a line is: its line set's name ("" for a line directly under Data) and its name.
struct LineAddress {
    std::string set;
    std::string line;
};

// A position to write into a line: coordinates in the unit given with them, z NaN for "no
// height", and where along the data file it lies (0 at its start, 1 at its end).
struct NewPosition {
    double x = 0.0, y = 0.0, z = std::nan("");
    double file_position = 0.0;
};

// A fiducial comment to write: its kind (0 "D", 1 "C", 2 "I", else "N"), its odometer distance
// along the file in metres, and its text.
using NewFiducial = ZAR::SvyLineFid;

// The GPS-to-data relationship: two points known both in longitude/latitude and in the local grid.
using Relationship = ZAR::Transform::SCoordinateRelationship;

// What Editor::organise is to do.
struct OrganiseOptions {
    bool name_files = false;     // legal line names; data files named after their line
    bool into_data_dir = false;  // move the data files into the data folder
    bool line_dirs = false;      // ... into a folder per line
    bool overwrite = false;      // a move may replace an existing file (kept aside until done)
    bool dry_run = false;        // plan and report only; nothing moves, nothing is saved
    // Seams for tests: the file system the moves go through (the real one when null), and a call
    // after the moves ("moved") and after the save ("saved").
    ZAR::FileOperations* file_operations = nullptr;
    std::function<void(const std::string& stage)> stage;
    // Called with the plan (moves, changes, problems) once it is made, before anything moves.
    std::function<void(const struct OrganiseReport& plan)> on_plan;
};

// What Editor::organise did, or would do.
struct OrganiseReport {
    std::vector<std::string> moves;    // one readable line per move of a file or folder
    std::vector<std::string> changes;  // one readable line per change to the document
    // Why the batch was refused (nothing moved): a path outside the data folder, two files for
    // one name, names that differ only by letter case, an existing target without overwrite.
    std::vector<std::string> problems;
    bool done = false;  // the files were moved and the document saved
};

// What Editor::recover did.
enum class Recovery {
    nothing_to_do,   // no batch of moves was cut off
    rolled_back,     // the files are where the document names them
    rolled_forward,  // the document had been saved after the moves: the batch was completed
    incomplete,      // not everything could be put right; the journal stays for another try
};

// A project document loaded for editing. The editor owns the document in memory: edits change it
// there, and save() writes it (atomically: the old file stays until the new one is complete).
// organise() is the exception: it moves files on disk and saves the document in one step, with a
// journal beside the document, so that disk and document never disagree; a crash in between is
// put right by recover().
//
// Guarantees: a failing call throws svy3::Error; the file on disk changes only through save() and
// organise(), and a failing save or organise leaves the file and the data files as they were. The
// edits of one line check the line and its data file before writing anything. No path in a
// document makes organise move, write or remove anything outside the data folder. Doubles are
// written with 17 significant digits (the compact 6-digit form of the classes below would round
// survey coordinates); compact_numbers(true) asks for it.
//
// Example:
//   svy3::Editor editor("survey/demo.svy");
//   editor.rename_line_set("Grid A", "North field");
//   editor.save();
class SVY3_API Editor {
  public:
    // Loads the document at `path` and maps its lines and files.
    // @throws Error: Kind::file_system for a missing or unreadable file; Kind::document for a
    // malformed document (code() gives the editor's code). While an earlier batch of moves on the
    // document waits for recover(), it can be read but save() and organise() refuse (Kind::
    // interrupted).
    explicit Editor(const std::string& path);
    Editor(Editor&&) noexcept;
    Editor& operator=(Editor&&) noexcept;
    ~Editor();

    // The absolute path of the document.
    std::string path() const;
    // The data folder: DataDirPath (relative to the document's folder), or the document's folder.
    std::string data_dir() const;
    // The line map: line set name -> line name -> data file path -> positions. Iterate it with
    // range-for: for (const auto& [set, lines] : editor.map()) ...
    const ZAR::GpzSvy::LineSetMap& map() const;
    // Whether every data file is in the map (files whose sequence number is not 1 are left out).
    bool complete() const { return complete_; }
    // The unit of the map's positions ("m", "ft", ...).
    std::string unit() const;
    // Whether the document was edited since it was loaded or saved.
    bool modified() const { return modified_; }
    // What the edits changed in the document, one readable line per change.
    const std::vector<std::string>& changes() const;

    // Renames the first line set named `old_name` (nothing moves on disk).
    // @throws Error (Kind::document, code -31) when there is no such set.
    void rename_line_set(const std::string& old_name, const std::string& new_name);
    // Keeps only the line set named `name` (for "": only the lines outside line sets); files on
    // disk are not touched.
    void make_single_line_set(const std::string& name);
    // Puts `prefix` in front of every data file's folder. @throws Error (Kind::refused) when the
    // document names its data folder (DataDirPath).
    void prefix_data_path(const std::string& prefix);
    // Rebuilds names and places of the data files on disk and in the document (see
    // OrganiseOptions). The batch is first played on a picture of the disk: when it has problems
    // nothing moves and they are reported. Otherwise (unless dry_run) every move is journaled,
    // the files move and the document is saved. @throws Error (Kind::refused) when there are
    // unsaved edits (save them first); on a failing move or save every file is put back and
    // Error says so in messages(); Kind::interrupted when some could not be put back (run
    // recover).
    OrganiseReport organise(const OrganiseOptions& options);

    // Replaces the positions of the line's radar data file (and of its GPS file, when it has one).
    // @param unit the coordinates' unit ("m", "ft", "cm", ...).
    // @throws Error (Kind::refused) for an unknown unit, no such line, or a line without a radar
    // data file (nothing written).
    void set_positions(const LineAddress& line, const std::vector<NewPosition>& positions,
                       const std::string& unit = "m");
    // Replaces the fiducial comments of the line's radar data file. @throws as set_positions.
    void set_fiducials(const LineAddress& line, const std::vector<NewFiducial>& fiducials);
    // Attaches the GPS file at `gps_path` (a .GPS file inside the data folder) to the line,
    // replacing an earlier one. @throws Error (Kind::refused) for a file outside the data folder,
    // no such line, or a line whose radar file lacks two positions or an odometer.
    void attach_gps_file(const LineAddress& line, const std::string& gps_path);
    // The GPS-to-data relationship, or none.
    std::optional<Relationship> relationship() const;
    // Writes the relationship into the mapper settings. @throws Error (Kind::document) when
    // writing fails.
    void set_relationship(const Relationship& relationship);

    // Whether doubles are written in the compact 6-digit form (default: no, 17 digits).
    void compact_numbers(bool compact);

    // Writes the document to its file, or to `path` (which then becomes the editor's file only
    // for this save). @throws Error (Kind::file_system) when it cannot be written; the file is
    // then as it was.
    void save();
    void save_as(const std::string& path);

    // Makes the disk agree with the document at `path` again after a batch of moves was cut off.
    // @param report receives one line per action taken. @return what was done.
    static Recovery recover(const std::string& path, std::vector<std::string>& report,
                            ZAR::FileOperations* file_operations = nullptr);

    // The compatibility class below this one.
    ZAR::GpzSvy120& editor();

  private:
    // Moves the cursor to the line; throws Error (Kind::refused) when there is none.
    void GotoLine(const LineAddress& line);

    std::unique_ptr<ZAR::GpzSvy120> editor_;
    bool modified_ = false;
    bool complete_ = false;
};

}  // namespace svy3
