// svy3.Editor and svy3.recover: a project document edited in place.
#include <cmath>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "bindings.h"

namespace svy3_python {
namespace {

using svy3::Editor;

svy3::LineAddress Address(py::handle set, py::handle line) {
    return {set.is_none() ? std::string() : Bytes(set), Bytes(line)};
}

// A map's positions as an (n, 4) array: x, y, z, file position.
py::array_t<double> MapPositions(const ZAR::GpzSvy::PosList& positions) {
    py::array_t<double> array({static_cast<py::ssize_t>(positions.size()), py::ssize_t{4}});
    auto out = array.mutable_unchecked<2>();
    for (size_t i = 0; i < positions.size(); ++i) {
        const auto row = static_cast<py::ssize_t>(i);
        // The editor keeps its positions in its own unit in the metre slot (see Editor::unit).
        out(row, 0) = positions[i].X(ZAR::UNIT_M);
        out(row, 1) = positions[i].Y(ZAR::UNIT_M);
        out(row, 2) = positions[i].Z(ZAR::UNIT_M);
        out(row, 3) = positions[i].m_dNormalizedFilePos;
    }
    return array;
}

py::dict Map(const Editor& editor) {
    py::dict sets;
    for (const auto& [set, lines] : editor.map()) {
        py::dict lineDict;
        for (const auto& [line, files] : lines) {
            py::dict fileDict;
            for (const auto& [path, positions] : files)
                fileDict[PathText(path.string())] = MapPositions(positions);
            lineDict[Text(line)] = fileDict;
        }
        sets[Text(set)] = lineDict;
    }
    return sets;
}

std::vector<svy3::NewPosition> NewPositions(py::handle xyz_in, py::handle file_positions_in) {
    using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
    const Doubles xyz = Doubles::ensure(xyz_in);
    const Doubles along = Doubles::ensure(file_positions_in);
    if (!xyz || !along)
        throw py::error_already_set();
    if (xyz.ndim() != 2 || (xyz.shape(1) != 2 && xyz.shape(1) != 3))
        throw py::value_error("xyz must be an (n, 2) or (n, 3) array of coordinates");
    if (along.ndim() != 1 || along.shape(0) != xyz.shape(0))
        throw py::value_error("file_positions must be an (n,) array, one per row of xyz");
    const auto c = xyz.unchecked<2>();
    const auto f = along.unchecked<1>();
    std::vector<svy3::NewPosition> positions(static_cast<size_t>(xyz.shape(0)));
    for (py::ssize_t i = 0; i < xyz.shape(0); ++i) {
        svy3::NewPosition& p = positions[static_cast<size_t>(i)];
        p.x = c(i, 0);
        p.y = c(i, 1);
        p.z = xyz.shape(1) == 3 ? c(i, 2) : std::nan("");
        p.file_position = f(i);
    }
    return positions;
}

// A fiducial's kind: the library's code (0 "D", 1 "C", 2 "I", any other "N"), or one of the four
// letters.
int32_t FlagCode(py::handle flag) {
    if (PyUnicode_Check(flag.ptr())) {
        const std::string letter = flag.cast<std::string>();
        static const char* const kLetters[] = {"D", "C", "I", "N"};
        for (int32_t code = 0; code < 4; ++code)
            if (letter == kLetters[code])
                return code;
        throw py::value_error("a fiducial flag is D, C, I, N or a number, not \"" + letter + "\"");
    }
    return flag.cast<int32_t>();
}

std::vector<svy3::NewFiducial> NewFiducials(py::iterable fiducials) {
    std::vector<svy3::NewFiducial> out;
    for (py::handle item : fiducials) {
        const auto fields = py::reinterpret_borrow<py::sequence>(item);
        if (!py::isinstance<py::sequence>(item) || py::len(fields) != 3)
            throw py::value_error("each fiducial is a (flag, distance, comment) sequence");
        svy3::NewFiducial fiducial;
        fiducial.flag = FlagCode(fields[0]);
        fiducial.ododist = fields[1].cast<double>();
        fiducial.comment = Bytes(fields[2]);
        out.push_back(std::move(fiducial));
    }
    return out;
}

py::tuple Pair(const ZAR::Transform::S2DPoint& p) {
    return py::make_tuple(p.x, p.y);
}

ZAR::Transform::S2DPoint PointFrom(py::handle pair, const char* key) {
    const auto values = py::reinterpret_borrow<py::sequence>(pair);
    if (!py::isinstance<py::sequence>(pair) || py::len(values) != 2)
        throw py::value_error(std::string("relationship[\"") + key + "\"] must be a pair (x, y)");
    return {values[0].cast<double>(), values[1].cast<double>()};
}

py::dict RelationshipDict(const svy3::Relationship& r) {
    py::dict d;
    d["source1"] = Pair(r.source1);
    d["destination1"] = Pair(r.destination1);
    d["source2"] = Pair(r.source2);
    d["destination2"] = Pair(r.destination2);
    d["angle"] = r.destination_orientation_angle_deg();
    d["mode"] = r.mode;
    return d;
}

svy3::Relationship RelationshipFrom(const py::dict& d) {
    static const char* const kKeys[] = {"source1",      "destination1", "source2",
                                        "destination2", "angle",        "mode"};
    for (const auto& item : d) {
        const std::string key = py::str(item.first);
        bool known = false;
        for (const char* k : kKeys)
            known = known || key == k;
        if (!known)
            throw py::key_error("unknown relationship key \"" + key + "\"");
    }
    for (int i = 0; i < 4; ++i)
        if (!d.contains(kKeys[i]))
            throw py::key_error(std::string("the relationship needs \"") + kKeys[i] + "\"");
    return svy3::Relationship(
        PointFrom(d["source1"], "source1"), PointFrom(d["destination1"], "destination1"),
        PointFrom(d["source2"], "source2"), PointFrom(d["destination2"], "destination2"),
        d.contains("angle") ? d["angle"].cast<double>() : 0.0,
        d.contains("mode") ? d["mode"].cast<int32_t>() : 0);
}

}  // namespace

void AddEditor(py::module_& m) {
    py::class_<svy3::OrganiseReport>(m, "OrganiseReport", "What Editor.organise did, or would do.")
        .def_property_readonly(
            "moves", [](const svy3::OrganiseReport& r) { return TextList(r.moves); },
            "one readable line per move of a file or folder")
        .def_property_readonly(
            "changes", [](const svy3::OrganiseReport& r) { return TextList(r.changes); },
            "one readable line per change to the document")
        .def_property_readonly(
            "problems", [](const svy3::OrganiseReport& r) { return TextList(r.problems); },
            "why the batch was refused (nothing moved); empty when it was not")
        .def_readonly("done", &svy3::OrganiseReport::done,
                      "whether the files were moved and the document saved")
        .def("__repr__", [](const svy3::OrganiseReport& r) {
            return py::str("<svy3.OrganiseReport {} moves, {} changes, {} problems, done={}>")
                .format(r.moves.size(), r.changes.size(), r.problems.size(), r.done);
        });

    py::enum_<svy3::Recovery>(m, "Recovery", "What svy3.recover did.")
        .value("nothing_to_do", svy3::Recovery::nothing_to_do, "no batch of moves was cut off")
        .value("rolled_back", svy3::Recovery::rolled_back,
               "the files are where the document names them")
        .value("rolled_forward", svy3::Recovery::rolled_forward,
               "the document had been saved after the moves: the batch was completed")
        .value("incomplete", svy3::Recovery::incomplete,
               "not everything could be put right; the journal stays for another try");

    py::class_<Editor>(m, "Editor", R"(A project document loaded for editing.

Edits change the document in memory; save() writes it (the old file stays until the new one is
complete). organise() is the exception: it moves files on disk and saves the document in one
step, with a journal beside the document (see svy3.recover). A line is addressed by its line
set's name ("" or None for lines outside line sets) and its name.

As a context manager (`with svy3.Editor(path) as editor:`) it saves nothing on leaving the block:
call save() inside it; unsaved edits are dropped with the editor.)")
        .def(py::init([](py::handle path) {
                 const std::string file = PathBytes(path);
                 py::gil_scoped_release release;
                 return std::make_unique<Editor>(file);
             }),
             py::arg("path"),
             "Loads the document at `path`. Raises FileSystemError for a missing or unreadable "
             "file, DocumentError for a malformed one.")
        .def("__enter__", [](py::handle self) { return self; })
        .def(
            "__exit__", [](Editor&, py::handle, py::handle, py::handle) { return false; },
            "Saves nothing and lets any exception through.")
        .def_property_readonly(
            "path", [](const Editor& e) { return PathText(e.path()); },
            "the absolute path of the document")
        .def_property_readonly("data_dir", [](const Editor& e) { return PathText(e.data_dir()); })
        .def_property_readonly(
            "unit", [](const Editor& e) { return Text(e.unit()); },
            "the unit of the map's positions (\"m\", \"ft\", ...)")
        .def_property_readonly("complete", &Editor::complete,
                               "whether every data file is in the map")
        .def_property_readonly("modified", &Editor::modified,
                               "whether the document was edited since it was loaded or saved")
        .def_property_readonly(
            "changes", [](const Editor& e) { return TextList(e.changes()); },
            "what the edits changed, one readable line per change")
        .def_property_readonly("map", &Map, R"(The line map as nested dicts:
{set name: {line name: {data file path: positions}}}; positions is an (n, 4) float64 array of x,
y, z (nan: no height) in the editor's unit and the file position (0 start, 1 end). Lines outside
line sets are under "".)")
        .def(
            "rename_line_set",
            [](Editor& e, py::handle old_name, py::handle new_name) {
                e.rename_line_set(Bytes(old_name), Bytes(new_name));
            },
            py::arg("old_name"), py::arg("new_name"),
            "Renames the first line set named old_name (nothing moves on disk).")
        .def(
            "make_single_line_set",
            [](Editor& e, py::handle name) { e.make_single_line_set(Bytes(name)); },
            py::arg("name"),
            "Keeps only the line set `name` (\"\": only the lines outside sets); files stay.")
        .def(
            "prefix_data_path",
            [](Editor& e, py::handle prefix) { e.prefix_data_path(Bytes(prefix)); },
            py::arg("prefix"),
            "Puts `prefix` in front of every data file's folder. RefusedError when the document "
            "names its data folder.")
        .def(
            "organise",
            [](Editor& e, bool name_files, bool into_data_dir, bool line_dirs, bool overwrite,
               bool dry_run) {
                svy3::OrganiseOptions options;
                options.name_files = name_files;
                options.into_data_dir = into_data_dir;
                options.line_dirs = line_dirs;
                options.overwrite = overwrite;
                options.dry_run = dry_run;
                return e.organise(options);
            },
            py::kw_only(), py::arg("name_files") = false, py::arg("into_data_dir") = false,
            py::arg("line_dirs") = false, py::arg("overwrite") = false, py::arg("dry_run") = false,
            R"(Renames and moves the data files on disk and in the document.

name_files: legal line names, data files named after their line; line_dirs: a folder per line;
into_data_dir: into the data folder; overwrite: a move may replace an existing file; dry_run: plan
and report only. The whole batch is planned first: with problems nothing moves (see the report's
problems). Otherwise every move is journaled, the files move and the document is saved. Raises
RefusedError when there are unsaved edits; on a failed move or save every file is put back
(Error.messages says so); InterruptedBatchError when some could not be (run svy3.recover).)")
        .def(
            "set_positions",
            [](Editor& e, py::handle set, py::handle line, py::handle xyz,
               py::handle file_positions, const std::string& unit) {
                e.set_positions(Address(set, line), NewPositions(xyz, file_positions), unit);
            },
            py::arg("set"), py::arg("line"), py::arg("xyz"), py::arg("file_positions"),
            py::arg("unit") = "m", R"(Replaces the positions of the line's radar data file.

xyz: (n, 3) array of coordinates (z nan for no height) or (n, 2) without heights; file_positions:
(n,) array, where each lies along the file (0 start, 1 end); unit: "m", "ft", "cm", ... Raises
RefusedError for an unknown unit, no such line or a line without a radar file; ValueError for
arrays of the wrong shape. Nothing is written then.)")
        .def(
            "set_fiducials",
            [](Editor& e, py::handle set, py::handle line, py::iterable fiducials) {
                e.set_fiducials(Address(set, line), NewFiducials(fiducials));
            },
            py::arg("set"), py::arg("line"), py::arg("fiducials"),
            R"(Replaces the fiducial comments of the line's radar data file.

fiducials: (flag, distance, comment) sequences, such as DataFile.fiducials gives; flag is "D", "C",
"I", "N" or the library's code (0 "D", 1 "C", 2 "I", any other "N"); distance in metres along the
odometer.)")
        .def(
            "attach_gps_file",
            [](Editor& e, py::handle set, py::handle line, py::handle gps_path) {
                e.attach_gps_file(Address(set, line), PathBytes(gps_path));
            },
            py::arg("set"), py::arg("line"), py::arg("gps_path"),
            "Attaches a .GPS file inside the data folder to the line, replacing an earlier one.")
        .def_property(
            "relationship",
            [](const Editor& e) -> py::object {
                const auto relationship = e.relationship();
                if (!relationship)
                    return py::none();
                return RelationshipDict(*relationship);
            },
            [](Editor& e, const py::dict& relationship) {
                e.set_relationship(RelationshipFrom(relationship));
            },
            R"(The GPS-to-data relationship as a dict, or None.

Keys: source1, source2 -- (latitude, longitude) in degrees; destination1, destination2 -- the same
points (x, y) in the local grid; angle -- the grid's orientation in degrees; mode -- 0 for a
two-point definition, 3 shift and rotation, 4 the default record. Assigning a dict writes it
(angle and mode default to 0).)")
        .def("save", &Editor::save,
             "Writes the document to its file; FileSystemError when it cannot (the file is then "
             "as it was).")
        .def(
            "save_as", [](Editor& e, py::handle path) { e.save_as(PathBytes(path)); },
            py::arg("path"),
            "Writes the document to `path`; the editor's own file stays the one it loaded.")
        .def("__repr__", [](const Editor& e) {
            return py::str("<svy3.Editor {!r}{}>")
                .format(PathText(e.path()), e.modified() ? ", modified" : "");
        });

    m.def(
        "recover",
        [](py::handle path) {
            const std::string document = PathBytes(path);
            std::vector<std::string> report;
            svy3::Recovery result;
            {
                py::gil_scoped_release release;
                result = Editor::recover(document, report);
            }
            return py::make_tuple(result, TextList(report));
        },
        py::arg("path"), R"(Makes the disk agree with the document at `path` again after a batch of
moves was cut off. Returns (Recovery, list of the actions taken).)");
}

}  // namespace svy3_python
