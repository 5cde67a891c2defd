"""svy3.Editor: edits saved and read back, organise, errors, the context manager, recover."""

import re

import numpy as np
import pytest

import svy3
from conftest import METRES

RELATIONSHIP = {"source1": (43.6532, -79.3832), "destination1": (0.0, 0.0),
                "source2": (43.6532, -79.38308), "destination2": (10.0, 0.0),
                "angle": 12.5, "mode": 0}


def radar_file(project, line, set=""):
    return next(f for f in project.find_line(line, set).files if f.is_radar)


# Positions given in another unit are written in metres.
@pytest.mark.parametrize("unit", ["m", "ft", "cm"])
def test_positions_and_fiducials_round_trip(demo, unit):
    rng = np.random.default_rng(7)
    along = np.sort(rng.uniform(0, 1, 9))
    xyz = np.column_stack([rng.uniform(-5, 5, 9), rng.uniform(0, 30, 9), rng.uniform(-1, 1, 9)])
    xyz[[2, 5], 2] = np.nan  # no height
    fiducials = [("D", 1.25, "pipe"), ("C", 7.5, "fence, north side"), (2, 9.0, "ß-Stein")]
    with svy3.Editor(demo) as editor:
        editor.set_positions("", "Line2", xyz, along, unit=unit)
        editor.set_fiducials(None, "Line2", fiducials)
        editor.relationship = RELATIONSHIP
        assert editor.modified
        editor.save()
        assert not editor.modified

    metres = xyz * METRES[unit]
    file = radar_file(svy3.open(demo), "Line2")
    np.testing.assert_allclose(file.positions[:, :2], metres[:, :2], rtol=1e-15)
    heights = ~np.isnan(xyz[:, 2])
    np.testing.assert_allclose(file.positions[heights, 2], metres[heights, 2], rtol=1e-15)
    np.testing.assert_array_equal(file.file_positions, along)
    assert (file.position_units == 1).all()
    assert [tuple(f) for f in file.fiducials] == [("D", 1.25, "pipe"),
                                                  ("C", 7.5, "fence, north side"),
                                                  ("I", 9.0, "ß-Stein")]

    reread = svy3.Editor(demo)
    assert reread.relationship == {k: v for k, v in RELATIONSHIP.items()}
    assert reread.unit == "m"
    (mapped,) = [a for a in reread.map[""]["Line2"].values() if len(a)]
    np.testing.assert_allclose(mapped, np.column_stack([metres, along]), rtol=1e-15)  # nan stays

    # Fiducials read from a project go back in as they are.
    with svy3.Editor(demo) as editor:
        editor.set_fiducials("", "Line1", file.fiducials)
        editor.save()
    assert radar_file(svy3.open(demo), "Line1").fiducials == file.fiducials


def test_map_lists_every_line_and_file(demo_with_sets):
    editor = svy3.Editor(demo_with_sets)
    assert editor.path == str(demo_with_sets)
    assert {s: sorted(lines) for s, lines in editor.map.items()} == {
        "": ["Line3"], "Grid A": ["Line1", "Line2"]}
    for lines in editor.map.values():
        for files in lines.values():
            for path, positions in files.items():
                assert path.startswith(editor.data_dir)
                assert positions.shape == (0, 4)


def test_line_set_edits(demo_with_sets, tmp_path):
    with svy3.Editor(demo_with_sets) as editor:
        editor.rename_line_set("Grid A", "North field")
        assert editor.changes
        editor.save()
    project = svy3.open(demo_with_sets)
    assert [s.name for s in project.line_sets] == ["North field"]
    assert {l.set for l in project.lines} == {"North field"}

    with svy3.Editor(demo_with_sets) as editor:
        with pytest.raises(svy3.DocumentError) as raised:
            editor.rename_line_set("Grid A", "again")
        assert raised.value.code < 0
        editor.make_single_line_set("")
        editor.save_as(tmp_path / "single.svy")
    assert list(svy3.Editor(tmp_path / "single.svy").map) == [""]
    assert list(svy3.Editor(demo_with_sets).map) == ["", "North field"]  # save_as left it


def test_prefix_data_path(demo):
    with svy3.Editor(demo) as editor:
        with pytest.raises(svy3.RefusedError):
            editor.prefix_data_path("raw\\")
        assert not editor.modified
        editor.organise(line_dirs=True, into_data_dir=True)
    # The same document with an empty data folder takes the prefix on every file's folder.
    demo.write_text(re.sub(r"<DataDirPath>.*</DataDirPath>", "<DataDirPath></DataDirPath>",
                           demo.read_text()))
    with svy3.Editor(demo) as editor:
        editor.prefix_data_path("raw\\")
        editor.save()
    for line in svy3.open(demo).lines:
        assert {f.directory for f in line.files} == {"raw\\" + line.name}


def test_organise_plans_then_moves(demo):
    folder = demo.parent
    before = sorted(p.name for p in folder.iterdir())
    editor = svy3.Editor(demo)
    plan = editor.organise(line_dirs=True, into_data_dir=True, dry_run=True)
    assert plan.moves and not plan.problems and not plan.done
    assert sorted(p.name for p in folder.iterdir()) == before

    report = editor.organise(line_dirs=True, into_data_dir=True)
    assert report.done and report.moves == plan.moves
    project = svy3.open(demo)
    for line in project.lines:
        for file in line.files:
            assert file.directory == line.name
    assert (folder / "Line2" / "DEMOC2B3.DT1").exists()
    assert not (folder / "DEMOC2B3.DT1").exists()
    assert svy3.recover(demo) == (svy3.Recovery.nothing_to_do, [])


def test_organise_refuses_unsaved_edits(demo):
    editor = svy3.Editor(demo)
    editor.relationship = RELATIONSHIP
    with pytest.raises(svy3.RefusedError, match="unsaved"):
        editor.organise(line_dirs=True)


def test_attach_gps_file(demo, tmp_path):
    gps = demo.parent / "DEMOC1B1.GPS"
    gps.write_text("")
    outside = tmp_path / "elsewhere.GPS"
    outside.write_text("")
    with svy3.Editor(demo) as editor:
        with pytest.raises(svy3.RefusedError, match="positions"):
            editor.attach_gps_file("", "Line1", gps)  # no positions yet
        editor.set_positions("", "Line1", [[0, 0], [0, 10]], [0, 1])
        with pytest.raises(svy3.RefusedError, match="outside"):
            editor.attach_gps_file("", "Line1", outside)
        editor.attach_gps_file("", "Line1", gps)
        editor.save()
    kinds = [f.kind.upper() for f in svy3.open(demo).find_line("Line1").files]
    assert "GPS" in kinds


@pytest.mark.parametrize("call,error", [
    (lambda e: e.set_positions("", "Line9", [[0, 0]], [0]), svy3.RefusedError),
    (lambda e: e.set_positions("Grid", "Line1", [[0, 0]], [0]), svy3.RefusedError),
    (lambda e: e.set_positions("", "Line1", [[0, 0]], [0], unit="furlong"), svy3.RefusedError),
    (lambda e: e.set_positions("", "Line1", [[0, 0, 0, 0]], [0]), ValueError),
    (lambda e: e.set_positions("", "Line1", [[0, 0], [1, 1]], [0]), ValueError),
    (lambda e: e.set_fiducials("", "Line1", [("Q", 1.0, "x")]), ValueError),
    (lambda e: e.set_fiducials("", "Line1", [("D", 1.0)]), ValueError),
    (lambda e: setattr(e, "relationship", {"source1": (0, 0)}), KeyError),
    (lambda e: setattr(e, "relationship", dict(RELATIONSHIP, sourse2=(1, 1))), KeyError),
], ids=["no-line", "no-set", "unit", "columns", "lengths", "flag", "fiducial-fields",
        "missing-key", "unknown-key"])
def test_bad_edits_change_nothing(demo, call, error):
    editor = svy3.Editor(demo)
    with pytest.raises(error):
        call(editor)
    assert not editor.modified and editor.relationship is None


def test_leaving_the_with_block_saves_nothing(demo):
    before = demo.read_bytes()
    with pytest.raises(RuntimeError):
        with svy3.Editor(demo) as editor:
            editor.relationship = RELATIONSHIP
            raise RuntimeError("stop")
    with svy3.Editor(demo) as editor:
        editor.set_positions("", "Line1", [[0, 0], [0, 10]], [0, 1])
    assert demo.read_bytes() == before


def test_load_errors(tmp_path):
    with pytest.raises(svy3.FileSystemError) as raised:
        svy3.Editor(tmp_path / "missing.svy")
    assert raised.value.code != 0
    bad = tmp_path / "bad.svy"
    bad.write_text('<?xml version="1.0"?><ZAR_SVY version="1.1.0"><SiteDefinition/></ZAR_SVY>')
    with pytest.raises(svy3.DocumentError, match="Data") as raised:
        svy3.Editor(bad)
    assert raised.value.code < 0


def test_cut_off_batch_blocks_writes_until_recovered(demo):
    journal = demo.parent / (demo.name + ".svy3-journal")
    journal.write_text("not a journal")
    editor = svy3.Editor(demo)
    editor.relationship = RELATIONSHIP
    with pytest.raises(svy3.InterruptedBatchError) as raised:
        editor.save()
    assert raised.value.kind == "interrupted"
    result, actions = svy3.recover(demo)
    assert result == svy3.Recovery.incomplete and actions  # an unreadable journal stays
    journal.unlink()
    editor.save()
    assert svy3.Editor(demo).relationship == RELATIONSHIP
