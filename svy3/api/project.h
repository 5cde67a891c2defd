// svy3::Project and svy3::open: a project document opened for reading.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "svy3/api/error.h"
#include "svy3/api/line.h"
#include "svy3/api/settings.h"
#include "svy3/platform/export.h"

namespace ZAR {
class CSvyDataBlockInterface_V110;
}

namespace svy3 {

namespace detail {
struct ProjectAccess;
}

// Who made or changed a part of the document, and when.
struct Provenance {
    std::string block;  // the element it belongs to: "SiteDefinition" or "Data"
    bool modified;      // false for the CreatedBy record, true for a ModifiedBy record
    std::string program, version, dip;
    std::string date;     // "%Y-%m-%d"
    std::string time;     // "%H:%M:%S"
    std::string comment;  // what the modification did
};

// The site definition: who surveyed, where and for which job.
struct Site {
    std::map<std::string, std::string> fields;  // element name to text (Client, Job, ...)
    std::vector<std::string> comments;          // entry i: the Comment numbered i + 1
    std::string job_date;  // "%Y-%m-%d %H:%M:%S", or "" when the job has no valid date
};

// A project document read into memory: its version, provenance, site definition, line sets,
// lines, data files, settings and positions. Everything is read when it is opened; the file is
// not held open and later changes to it are not seen. A Project is moved, not copied; the views
// it gives (Line, DataFile, LineSet, spans) stay valid while it lives.
//
// Lines come set by set (each set's lines by name) or, in a document without line sets, in
// document order: as the data block reader reads a document, lines beside line sets are not read
// (the Editor's map has them). Files without positions (a freshly created project has none) are
// listed like any other.
//
// Example:
//   svy3::Project project = svy3::open("survey/demo.svy");
//   for (const svy3::Line& line : project.lines())
//       for (const svy3::DataFile& file : line.files())
//           std::cout << line.name() << ": " << file.path() << "\n";
class SVY3_API Project {
  public:
    Project(Project&&) noexcept;
    Project& operator=(Project&&) noexcept;
    ~Project();

    // The path it was opened by.
    const std::string& path() const;
    // The root element's version attribute ("" when it has none).
    const std::string& version() const;
    // The data folder: the document's DataDirPath, or the document's folder.
    const std::string& data_dir() const;
    const std::vector<Provenance>& provenance() const;
    const Site& site() const;
    const std::vector<LineSet>& line_sets() const;
    const std::vector<Line>& lines() const;
    // The first line named `name` (in the set named `set` when one is given); null when none.
    const Line* find_line(const std::string& name) const;
    const Line* find_line(const std::string& set, const std::string& name) const;
    // Every settings block the files use, in the order the lines first use them.
    const std::vector<Settings>& settings() const;
    // What the library reported while opening (a version it does not know, files it could not
    // read): one entry per report, never shown in a box.
    const std::vector<std::string>& warnings() const;

    // The compatibility class below this one: the numbered lookups of the data block.
    ZAR::CSvyDataBlockInterface_V110& data_block() const;

    struct State;  // internal

  private:
    friend SVY3_API Project open(const std::string& path);
    friend struct detail::ProjectAccess;
    explicit Project(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// Why the document at `path` cannot be opened, found without reading it: a path longer than the
// 255 bytes the library accepts, a missing file, a folder, a file that cannot be read.
// @return the reason, or "" when none of these holds.
SVY3_API std::string file_problem(const std::string& path);

// Opens the project document at `path` and reads all of it.
// @return the project. @throws Error: Kind::file_system for a path longer than 255 bytes, a missing
// file, a folder or an unreadable file; Kind::document for a file that is not XML or whose project
// or data element cannot be read (messages() holds what the library reported).
// Opens and creations run one at a time across threads: the library reports through a hook that
// is shared by the whole process.
SVY3_API Project open(const std::string& path);

}  // namespace svy3
