// svy3.open, svy3.create and the read-only views of a project: Project, LineSet, Line, DataFile,
// DistanceConverter.
#include <cmath>
#include <utility>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "bindings.h"

namespace svy3_python {
namespace {

using svy3::DataFile;
using svy3::DistanceConverter;
using svy3::Line;
using svy3::LineSet;
using svy3::Project;

constexpr auto kView = py::return_value_policy::reference_internal;

py::dict SettingsDict(const svy3::Settings& s) {
    py::dict d;
    d["sample_count"] = s.sample_count;
    d["time_zero"] = s.time_zero;
    d["sample_interval_ns"] = s.sample_interval_ns;
    d["step_size"] = s.step_size;
    d["frequency_mhz"] = s.frequency_mhz;
    d["pulser_voltage"] = s.pulser_voltage;
    d["odometer_ticks_per_metre"] = s.odometer_ticks_per_metre;
    d["antenna_separation"] = s.antenna_separation;
    d["survey_mode_code"] = s.survey_mode_code;
    d["survey_mode"] = Text(s.survey_mode);
    d["processing"] = TextList(s.processing);
    return d;
}

py::dict ProvenanceDict(const svy3::Provenance& p) {
    py::dict d;
    d["block"] = Text(p.block);
    d["modified"] = p.modified;
    d["program"] = Text(p.program);
    d["version"] = Text(p.version);
    d["dip"] = Text(p.dip);
    d["date"] = Text(p.date);
    d["time"] = Text(p.time);
    d["comment"] = Text(p.comment);
    return d;
}

py::dict SiteDict(const svy3::Site& site) {
    py::dict fields;
    for (const auto& [name, text] : site.fields)
        fields[Text(name)] = Text(text);
    py::dict d;
    d["fields"] = fields;
    d["comments"] = TextList(site.comments);
    d["job_date"] =
        site.job_date.empty() ? py::object(py::none()) : py::object(Text(site.job_date));
    return d;
}

// Columns of a file's positions, copied into new arrays (the project is read-only, and a copy
// cannot outlive what it views).
py::array_t<double> PositionColumns(const DataFile& file) {
    const auto positions = file.positions();
    py::array_t<double> xyz({static_cast<py::ssize_t>(positions.size()), py::ssize_t{3}});
    auto out = xyz.mutable_unchecked<2>();
    for (size_t i = 0; i < positions.size(); ++i) {
        const auto row = static_cast<py::ssize_t>(i);
        out(row, 0) = positions[i].X;
        out(row, 1) = positions[i].Y;
        out(row, 2) = positions[i].Z;
    }
    return xyz;
}

template <class Field>
py::array Column(const DataFile& file, Field field) {
    const auto positions = file.positions();
    using Value = std::decay_t<decltype(positions[0].*field)>;
    py::array_t<Value> column(static_cast<py::ssize_t>(positions.size()));
    auto out = column.template mutable_unchecked<1>();
    for (size_t i = 0; i < positions.size(); ++i)
        out(static_cast<py::ssize_t>(i)) = positions[i].*field;
    return std::move(column);
}

py::list FiducialList(const DataFile& file) {
    const py::object fiducial = py::module_::import("svy3").attr("Fiducial");
    py::list list;
    for (const svy3::Fiducial& f : file.fiducials())
        list.append(fiducial(Text(std::string(1, f.fileflag)), f.ododist, Text(f.comment)));
    return list;
}

// Applies `convert` to a float (giving a float) or to each element of an array-like (giving a
// float64 array of its shape).
template <class Convert>
py::object Elementwise(py::handle values, Convert convert) {
    if (!py::isinstance<py::array>(values) && PyNumber_Check(values.ptr()) &&
        !PySequence_Check(values.ptr()))
        return py::float_(convert(values.cast<double>()));
    const auto in = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(values);
    if (!in)
        throw py::error_already_set();
    py::array_t<double> out(std::vector<py::ssize_t>(in.shape(), in.shape() + in.ndim()));
    const double* from = in.data();
    double* to = out.mutable_data();
    for (py::ssize_t i = 0; i < in.size(); ++i)
        to[i] = convert(from[i]);
    return std::move(out);
}

svy3::Rounding RoundingFrom(const std::string& name) {
    if (name == "none")
        return svy3::Rounding::none;
    if (name == "down")
        return svy3::Rounding::down;
    if (name == "up")
        return svy3::Rounding::up;
    if (name == "nearest")
        return svy3::Rounding::nearest;
    throw py::value_error("rounding must be \"none\", \"down\", \"up\" or \"nearest\", not \"" +
                          name + "\"");
}

py::list LineViews(svy3::Span<const Line> lines, py::handle owner) {
    py::list list;
    for (const Line& line : lines)
        list.append(py::cast(&line, kView, owner));
    return list;
}

Project Open(py::handle path) {
    const std::string file = PathBytes(path);
    py::gil_scoped_release release;
    return svy3::open(file);
}

Project Create(py::handle path, py::iterable files, std::optional<double> line_spacing,
               const std::string& created_by, const std::string& created_by_version,
               py::object data_dir, bool overwrite) {
    std::vector<std::string> paths;
    for (py::handle file : files)
        paths.push_back(PathBytes(file));
    svy3::CreateOptions options;
    options.line_spacing = line_spacing;
    options.created_by = created_by;
    options.created_by_version = created_by_version;
    if (!data_dir.is_none())
        options.data_dir = PathBytes(data_dir);
    options.overwrite = overwrite;
    const std::string document = PathBytes(path);
    py::gil_scoped_release release;
    return svy3::create(document, paths, options);
}

}  // namespace

void AddProject(py::module_& m) {
    py::enum_<svy3::LineType>(m, "LineType", "How a line runs, derived from its positions.")
        .value("unknown", svy3::LineType::unknown, "both X and Y vary along it")
        .value("reserved", svy3::LineType::reserved, "never derived; kept for documents")
        .value("along_x", svy3::LineType::along_x, "Y stays within the step size tolerance")
        .value("along_y", svy3::LineType::along_y,
               "X stays within the tolerance (also a line without positions)");
    py::enum_<svy3::Direction>(m, "Direction", "Which way a line was surveyed along its axis.")
        .value("none", svy3::Direction::none, "not known")
        .value("forward", svy3::Direction::forward, "positions ascend along the axis")
        .value("reversed", svy3::Direction::reversed, "some position steps back along the axis");

    py::class_<svy3::Extent>(m, "Extent", "The extent of a line's positions, as recorded.")
        .def_readonly("start_x", &svy3::Extent::start_x, "smallest X")
        .def_readonly("start_y", &svy3::Extent::start_y, "smallest Y")
        .def_readonly("end_x", &svy3::Extent::end_x, "largest X")
        .def_readonly("end_y", &svy3::Extent::end_y, "largest Y")
        .def_property_readonly(
            "position_count",
            [](const svy3::Extent& e) { return static_cast<long>(e.position_count); },
            "positions of all the line's files")
        .def("__repr__", [](const svy3::Extent& e) {
            return py::str(
                       "Extent(start_x={!r}, start_y={!r}, end_x={!r}, end_y={!r}, "
                       "position_count={})")
                .format(e.start_x, e.start_y, e.end_x, e.end_y,
                        static_cast<long>(e.position_count));
        });

    py::class_<svy3::OdometerRange>(m, "OdometerRange",
                                    "The odometer distances of a file's traces, in metres.")
        .def_readonly("start", &svy3::OdometerRange::start, "distance of the first trace")
        .def_readonly("end", &svy3::OdometerRange::end, "distance of the last trace")
        .def_readonly("step", &svy3::OdometerRange::step, "metres per trace")
        .def("__repr__", [](const svy3::OdometerRange& r) {
            return py::str("OdometerRange(start={!r}, end={!r}, step={!r})")
                .format(r.start, r.end, r.step);
        });

    py::class_<DistanceConverter>(m, "DistanceConverter", R"(Distances along one line, in metres.

Converts between the user's scale, the odometer wheel and trace indices through the line's
distance references (interpolated between them, extrapolated beyond). Every method takes a float
(and gives a float) or an array-like (and gives a float64 array of its shape). A trace index counts
from 0 for a file whose trace 0 lies at odometer distance `start` with `step` metres per trace; pass
a DataFile's odometer range as `start=file.odometer.start, step=file.odometer.step`.)")
        .def(
            "user_to_odometer",
            [](DistanceConverter& c, py::handle user) {
                return Elementwise(user, [&c](double u) { return c.user_to_odometer(u); });
            },
            py::arg("user"), "User distance to odometer distance.")
        .def(
            "odometer_to_user",
            [](DistanceConverter& c, py::handle odometer) {
                return Elementwise(odometer, [&c](double o) { return c.odometer_to_user(o); });
            },
            py::arg("odometer"), "Odometer distance to user distance.")
        .def(
            "index_to_user",
            [](DistanceConverter& c, py::handle index, double start, double step) {
                return Elementwise(index,
                                   [&](double i) { return c.index_to_user(i, start, step); });
            },
            py::arg("index"), py::arg("start"), py::arg("step"),
            "Trace index (fractions allowed) to user distance.")
        .def(
            "user_to_index",
            [](DistanceConverter& c, py::handle user, double start, double step,
               const std::string& rounding) {
                const svy3::Rounding mode = RoundingFrom(rounding);
                return Elementwise(user,
                                   [&](double u) { return c.user_to_index(u, start, step, mode); });
            },
            py::arg("user"), py::arg("start"), py::arg("step"), py::arg("rounding") = "none",
            R"(User distance to trace index. rounding: "none" keeps the fraction, "down" and "up"
take the whole index below or above, "nearest" rounds halves up. A step of 0 gives inf or nan.)");

    py::class_<DataFile>(m, "DataFile",
                         R"(One data file of a line (a view: keeps its project alive).

kind is the document's file type ("HD+DT1" for a radar header and trace pair, "sen", "GPS", ...).)")
        .def_property_readonly("name", [](const DataFile& f) { return Text(f.name()); })
        .def_property_readonly(
            "directory", [](const DataFile& f) { return Text(f.directory()); },
            "folder relative to the project's data folder, \"\" when none")
        .def_property_readonly(
            "path", [](const DataFile& f) { return Text(f.path()); },
            "folder, a backslash and the name (the document's separator), or the name alone")
        .def_property_readonly("kind", [](const DataFile& f) { return Text(f.kind()); })
        .def_property_readonly("is_radar", &DataFile::is_radar, "whether it holds radar traces")
        .def_property_readonly("sequence", &DataFile::sequence)
        .def_property_readonly("odometer", &DataFile::odometer)
        .def_property_readonly(
            "dimensions",
            [](const DataFile& f) {
                const auto d = f.dimensions();
                return py::make_tuple(d[0], d[1], d[2]);
            },
            "(dim0, dim1, dim2) of the document's DataSampleCnt; created projects hold (2, samples "
            "per trace, traces)")
        .def_property_readonly(
            "settings",
            [](const DataFile& f) -> py::object {
                if (!f.settings())
                    return py::none();
                return SettingsDict(*f.settings());
            },
            "the acquisition settings as a dict, or None")
        .def_property_readonly("positions", &PositionColumns,
                               "(n, 3) float64 array of X, Y, Z as written (Z nan: no height)")
        .def_property_readonly(
            "file_positions",
            [](const DataFile& f) { return Column(f, &svy3::Position::normalizedFilePos); },
            "(n,) array: where each position lies along the file, 0 at its start, 1 at its end")
        .def_property_readonly(
            "position_units", [](const DataFile& f) { return Column(f, &svy3::Position::unit); },
            "(n,) int32 array: each position's unit code (1 metres, 5 feet)")
        .def_property_readonly("fiducials", &FiducialList,
                               "list of Fiducial(flag, distance, comment), ascending in distance")
        .def("__repr__", [](const DataFile& f) {
            return py::str("<svy3.DataFile {!r} ({})>").format(Text(f.path()), Text(f.kind()));
        });

    py::class_<Line>(m, "Line", R"(One survey line (a view: keeps its project alive).)")
        .def_property_readonly("name", [](const Line& l) { return Text(l.name()); })
        .def_property_readonly(
            "set", [](const Line& l) { return Text(l.set()); },
            "its line set's name; \"\" outside line sets")
        .def_property_readonly("type", &Line::type)
        .def_property_readonly("extent", &Line::extent)
        .def_property_readonly("direction", &Line::direction)
        .def_property_readonly("lateral_offset", &Line::lateral_offset,
                               "metres from the survey's first line (0 without a reference)")
        .def_property_readonly("files", &Line::files, kView,
                               "its data files, by kind and sequence number")
        .def_property_readonly("file_slots", &Line::file_slots,
                               "file slots the document numbers, gaps included")
        .def_property_readonly("converter", &Line::converter,
                               "a new DistanceConverter, or None without distance references")
        .def("__repr__", [](const Line& l) {
            return py::str("<svy3.Line {!r} in set {!r}, {} files>")
                .format(Text(l.name()), Text(l.set()), l.files().size());
        });

    py::class_<LineSet>(m, "LineSet", "A named set of lines (a view: keeps its project alive).")
        .def_property_readonly("name", [](const LineSet& s) { return Text(s.name()); })
        .def_property_readonly(
            "lines",
            [](py::handle self) { return LineViews(self.cast<const LineSet&>().lines(), self); },
            "its lines, by name")
        .def("__repr__", [](const LineSet& s) {
            return py::str("<svy3.LineSet {!r}, {} lines>")
                .format(Text(s.name()), s.lines().size());
        });

    py::class_<Project>(m, "Project", py::dynamic_attr(),
                        R"(A project document read into memory by svy3.open.

Everything is read when it is opened; later changes to the file are not seen. Lines, files and
line sets are views into the project and keep it alive (it can be weakly referenced to see
that).)")
        .def_property_readonly("path", [](const Project& p) { return PathText(p.path()); })
        .def_property_readonly(
            "version", [](const Project& p) { return Text(p.version()); },
            "the root element's version attribute")
        .def_property_readonly(
            "data_dir", [](const Project& p) { return PathText(p.data_dir()); },
            "the data folder: the document's DataDirPath, or the document's folder")
        .def_property_readonly(
            "provenance", [](const Project& p) { return ListOf(p.provenance(), ProvenanceDict); },
            "list of dicts: block, modified, program, version, dip, date, time, comment")
        .def_property_readonly(
            "site", [](const Project& p) { return SiteDict(p.site()); },
            "dict: fields (element name to text), comments, job_date (or None)")
        .def_property_readonly("line_sets", &Project::line_sets, kView)
        .def_property_readonly("lines", &Project::lines, kView,
                               "every line: set by set, then the lines outside line sets")
        .def(
            "find_line",
            [](const Project& p, py::handle name, py::handle set) {
                return set.is_none() ? p.find_line(Bytes(name))
                                     : p.find_line(Bytes(set), Bytes(name));
            },
            py::arg("name"), py::arg("set") = py::none(), kView,
            "The first line named `name` (in line set `set` when given; \"\" for lines outside "
            "sets), or None.")
        .def_property_readonly(
            "settings", [](const Project& p) { return ListOf(p.settings(), SettingsDict); },
            "every settings block the files use, as dicts")
        .def_property_readonly(
            "warnings", [](const Project& p) { return TextList(p.warnings()); },
            "what the library reported while opening (also issued as SvyWarning)")
        .def("__repr__", [](const Project& p) {
            return py::str("<svy3.Project {!r}, {} lines>")
                .format(PathText(p.path()), p.lines().size());
        });

    m.def(
        "open",
        [](py::handle path) {
            Project project = Open(path);
            Warn(project.warnings());
            return project;
        },
        py::arg("path"), R"(Opens the project document at `path` (str or path-like) and reads it.

Raises FileSystemError for a missing, unreadable or too long path, DocumentError for a file that is
not a project document. What the library reports without failing is issued as SvyWarning.)");

    m.def(
        "create",
        [](py::handle path, py::iterable files, std::optional<double> line_spacing,
           const std::string& created_by, const std::string& created_by_version,
           py::object data_dir, bool overwrite) {
            Project project = Create(path, files, line_spacing, created_by, created_by_version,
                                     data_dir, overwrite);
            Warn(project.warnings());
            return project;
        },
        py::arg("path"), py::arg("files"), py::kw_only(), py::arg("line_spacing") = py::none(),
        py::arg("created_by") = "svy3", py::arg("created_by_version") = "",
        py::arg("data_dir") = py::none(), py::arg("overwrite") = false,
        R"(Creates a project document at `path` from radar data files (.DT1, .HD, .sen paths).

Files are grouped into lines by the line and sequence numbers in their names. line_spacing: metres
between lines (None keeps the library's preset). data_dir: the data folder as the document is to
name it (None: the first file's folder). The document is written under a temporary name and put in
place only when complete. Returns the new project as read back. Raises RefusedError for no files, a
path that is a data file or an existing path without overwrite=True; FileSystemError when the
document cannot be written; DocumentError when no data file could be read.)");

    m.def(
        "file_problem", [](py::handle path) { return Text(svy3::file_problem(PathBytes(path))); },
        py::arg("path"),
        "Why the document at `path` cannot be opened (too long, missing, a folder, unreadable), "
        "found without reading it; \"\" when none of these holds.");
}

}  // namespace svy3_python
