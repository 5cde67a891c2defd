"""svy3.open and the views of a project, checked against the document's own XML."""

import gc
import pathlib
import threading
import warnings
import weakref
import xml.etree.ElementTree as ET

import numpy as np
import pytest

import svy3
from conftest import METRES, SAMPLE, number, xml_lines


@pytest.fixture(scope="module")
def sample():
    return svy3.open(SAMPLE)


@pytest.mark.parametrize("path", [str(SAMPLE), SAMPLE, bytes(SAMPLE)], ids=["str", "Path", "bytes"])
def test_open_takes_any_path_form(path):
    project = svy3.open(path)
    assert [line.name for line in project.lines] == [l.get("name") for _, l in xml_lines(SAMPLE)]


def test_document_level_values(sample):
    root = ET.parse(SAMPLE).getroot()
    assert sample.version == root.get("version")
    assert sample.data_dir == root.find("Data/DataDirPath").text
    site = root.find("SiteDefinition")
    fields = {e.tag: e.text for e in site if e.tag not in ("CreatedBy", "Comment")}
    assert sample.site["fields"] == fields
    assert sample.site["comments"] == [c.text for c in site.findall("Comment")]
    job = site.find("Job")
    assert sample.site["job_date"] == f"{job.get('date')} {job.get('time')}"
    records = [("SiteDefinition", e) for e in site.findall("CreatedBy")]
    for created in root.findall("Data/CreatedBy"):
        records += [("Data", created)] + [("Data", m) for m in created.findall("ModifiedBy")]
    assert [(p["block"], p["program"], p["version"], p["dip"], p["date"], p["modified"])
            for p in sample.provenance] == [
        (block, e.get("name"), e.get("version"), e.get("DIP"), e.get("date"),
         e.tag == "ModifiedBy") for block, e in records]
    assert sample.warnings == []


def xml_files(path):
    for _, line in xml_lines(path):
        for index, element in enumerate(line.findall("DataFile")):
            yield line.get("name"), index, element


@pytest.mark.parametrize("line_name,index,element", list(xml_files(SAMPLE)),
                         ids=lambda v: v if isinstance(v, str) else None)
def test_data_files_match_the_document(sample, line_name, index, element):
    file = sample.find_line(line_name).files[index]
    assert (file.name, file.kind, file.sequence) == (
        element.get("name"), element.get("ext"), int(element.get("seq")))
    assert file.is_radar == ("DT1" in element.get("ext").upper())

    odometer = element.find("Odometer")
    scale = METRES[odometer.get("units")]
    expected = [number(odometer.get(k)) * scale for k in ("start", "end", "step")]
    got = [file.odometer.start, file.odometer.end, file.odometer.step]
    np.testing.assert_allclose(got, np.nan_to_num(expected))

    positions = element.findall("Position")
    assert file.positions.shape == (len(positions), 3)
    assert file.file_positions.shape == (len(positions),)
    if positions:
        xy = [[float(p.get("X")), float(p.get("Y"))] for p in positions]
        np.testing.assert_allclose(file.positions[:, :2], xy)
        np.testing.assert_allclose(file.file_positions,
                                   [float(p.get("normalized_file_pos")) for p in positions])
    assert [tuple(f) for f in file.fiducials] == [
        (f.get("fileflag"), float(f.get("ododist")), f.text) for f in element.findall("FIDComment")]


def test_settings_follow_the_nearest_settings_element(sample):
    root = ET.parse(SAMPLE).getroot()
    for _, line in xml_lines(SAMPLE):
        element = line.find("Settings")
        if element is None:
            element = root.find("Data/Settings")
        step = element.find("StepSize")
        for file in sample.find_line(line.get("name")).files:
            assert file.settings["sample_count"] == int(element.find("Trace").get("sample_cnt"))
            assert file.settings["step_size"] == pytest.approx(
                float(step.text) * METRES[step.get("units")])
            assert file.settings["survey_mode"] == element.find("SurveyMode").text
    assert len(sample.settings) == 2


def test_lines_and_extent(sample):
    for _, element in xml_lines(SAMPLE):
        line = sample.find_line(element.get("name"))
        positions = np.concatenate([f.positions for f in line.files])
        assert line.extent.position_count == len(positions)
        if len(positions):
            assert (line.extent.start_x, line.extent.start_y) == tuple(positions[:, :2].min(0))
            assert (line.extent.end_x, line.extent.end_y) == tuple(positions[:, :2].max(0))
        reference = element.find("LinearRef")
        assert line.lateral_offset == float(reference.get("reflateral"))
        assert line.set == ""
        assert isinstance(line.type, svy3.LineType)
        assert isinstance(line.direction, svy3.Direction)
    assert sample.find_line("Line1").direction == svy3.Direction.forward
    assert sample.find_line("no such line") is None


def test_line_sets_and_lookup_by_set(demo_with_sets):
    project = svy3.open(demo_with_sets)
    assert [(s.name, [l.name for l in s.lines]) for s in project.line_sets] == [
        ("Grid A", ["Line1", "Line2"])]
    assert project.find_line("Line2", set="Grid A").set == "Grid A"
    assert project.find_line("Line2", set="") is None
    assert project.find_line("Line2", set="Grid B") is None


# The editor's map has Line3 (see test_editor.py); the reading side drops it today.
@pytest.mark.xfail(strict=True, reason="svy3::open leaves out the lines outside line sets of a "
                   "document that also has line sets")
def test_lines_outside_sets_beside_line_sets(demo_with_sets):
    project = svy3.open(demo_with_sets)
    assert [(l.set, l.name) for l in project.lines] == [
        ("Grid A", "Line1"), ("Grid A", "Line2"), ("", "Line3")]
    assert project.find_line("Line3", set="").name == "Line3"


def test_views_keep_their_project_alive():
    project = svy3.open(SAMPLE)
    alive = weakref.ref(project)
    files = project.lines[0].files
    line_sets = project.line_sets
    del project
    gc.collect()
    assert alive() is not None
    assert files[0].name == "QUARRYC1B1"
    del files, line_sets
    gc.collect()
    assert alive() is None


def test_opens_from_several_threads_at_once():
    results, errors = [], []

    def work():
        try:
            project = svy3.open(SAMPLE)
            results.append([f.positions.tolist() for l in project.lines for f in l.files])
        except Exception as error:  # reported below
            errors.append(error)

    threads = [threading.Thread(target=work) for _ in range(6)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert errors == []
    assert len(results) == 6 and all(r == results[0] for r in results)


# The distance converter of a line with references at (odometer, reference) (0, 0), (10, 12) and
# (20, 21): piecewise linear, extrapolated along the end segments.
@pytest.fixture(scope="module")
def converter(tmp_path_factory):
    text = SAMPLE.read_text().replace(
        '<LinearRef ododist="0.0" refdist="0.0" reflateral="0.000000" units="m" />\n\t\t</Line>\n'
        '\t\t<Line name="Line2">',
        '<LinearRef ododist="0.0" refdist="0.0" reflateral="0.000000" units="m" />'
        '<LinearRef ododist="10.0" refdist="12.0" reflateral="0.000000" units="m" />'
        '<LinearRef ododist="20.0" refdist="21.0" reflateral="0.000000" units="m" />'
        '</Line><Line name="Line2">', 1)
    path = tmp_path_factory.mktemp("refs") / "refs.svy"
    path.write_text(text)
    return svy3.open(path).find_line("Line1").converter


def piecewise(x, xs, ys):
    x = np.asarray(x, dtype=float)
    below = ys[0] + (x - xs[0]) * (ys[1] - ys[0]) / (xs[1] - xs[0])
    above = ys[-1] + (x - xs[-1]) * (ys[-1] - ys[-2]) / (xs[-1] - xs[-2])
    return np.where(x < xs[0], below, np.where(x > xs[-1], above, np.interp(x, xs, ys)))


@pytest.mark.parametrize("user", [6.0, 3, [0.0, 12.0, 16.5, 30.0], np.linspace(-5, 40, 12).reshape(3, 4),
                                  np.array(16.5)], ids=["float", "int", "list", "2d", "0d"])
def test_converter_is_elementwise_and_keeps_the_shape(converter, user):
    refs, odos = [0.0, 12.0, 21.0], [0.0, 10.0, 20.0]
    odometer = converter.user_to_odometer(user)
    if isinstance(user, (int, float)):
        assert isinstance(odometer, float)
    else:
        assert isinstance(odometer, np.ndarray) and odometer.shape == np.shape(user)
    np.testing.assert_allclose(odometer, piecewise(user, refs, odos))
    np.testing.assert_allclose(converter.odometer_to_user(odometer), user)
    index = converter.user_to_index(user, 1.0, 0.05)
    np.testing.assert_allclose(index, (piecewise(user, refs, odos) - 1.0) / 0.05)
    np.testing.assert_allclose(converter.index_to_user(index, 1.0, 0.05), user)
    np.testing.assert_array_equal(converter.user_to_index(user, 1.0, 0.05, "down"), np.floor(index))
    np.testing.assert_array_equal(converter.user_to_index(user, 1.0, 0.05, "up"), np.ceil(index))


def test_converter_rejects_unknown_rounding(converter):
    with pytest.raises(ValueError, match="rounding"):
        converter.user_to_index(1.0, 0.0, 0.05, "sideways")


def test_line_without_references_has_no_converter(tmp_path):
    path = tmp_path / "norefs.svy"
    path.write_text("\n".join(l for l in SAMPLE.read_text().splitlines() if "LinearRef" not in l))
    project = svy3.open(path)
    assert [line.converter for line in project.lines] == [None, None]


@pytest.mark.parametrize("content,error,kind", [
    (None, svy3.FileSystemError, "file_system"),
    ("folder", svy3.FileSystemError, "file_system"),
    ("this is not XML", svy3.DocumentError, "document"),
    ('<?xml version="1.0"?><ZAR_SVY version="1.1.0"><Data version="1.1.0"><Line name="L">'
     '<DataFile name="X" ext="HD+DT1" seq="1"/></Line></Data></ZAR_SVY>', svy3.DocumentError,
     "document"),
], ids=["missing", "folder", "not-xml", "no-settings"])
def test_open_errors(tmp_path, content, error, kind):
    path = tmp_path / "project.svy"
    if content == "folder":
        path.mkdir()
    elif content is not None:
        path.write_text(content)
    with pytest.raises(error) as raised:
        svy3.open(path)
    assert raised.value.kind == kind and isinstance(raised.value, svy3.Error)
    assert isinstance(raised.value, OSError) == (kind == "file_system")
    assert str(path) in str(raised.value) or raised.value.messages
    assert svy3.file_problem(path) != "" or kind == "document"


def unknown_version(tmp_path):
    path = tmp_path / "future.svy"
    path.write_text(SAMPLE.read_text().replace('<Data version="1.1.0">', '<Data version="7.0.0">'))
    return path


def test_reports_become_warnings_from_the_callers_line(tmp_path):
    path = unknown_version(tmp_path)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        project = svy3.open(path)
    assert [str(w.message) for w in caught] == project.warnings != []
    assert all(w.category is svy3.SvyWarning for w in caught)
    assert {pathlib.Path(w.filename).name for w in caught} == {pathlib.Path(__file__).name}
    assert len(project.lines) == 2


def test_warnings_filtered_into_errors_raise(tmp_path):
    with warnings.catch_warnings():
        warnings.simplefilter("error", svy3.SvyWarning)
        with pytest.raises(svy3.SvyWarning, match="version"):
            svy3.open(unknown_version(tmp_path))


def test_names_that_are_not_utf8_go_back_in_unchanged(tmp_path):
    path = tmp_path / "latin1.svy"
    path.write_bytes(SAMPLE.read_bytes().replace(b'<Line name="Line1">', b'<Line name="L\xe9ne 1">'))
    project = svy3.open(path)
    name = project.lines[0].name
    assert name == "L\udce9ne 1"  # the byte kept as a lone surrogate
    assert project.find_line(name).files[0].name == "QUARRYC1B1"
    assert project.find_line(name.encode("utf-8", "surrogateescape")).name == name
