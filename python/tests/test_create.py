"""svy3.create from the demo survey's radar files."""

import os
import re

import pytest

import svy3


@pytest.fixture
def radar_files(demo):
    """The demo's trace and odometer files, by (line, sequence) from their names."""
    files = sorted(p for p in demo.parent.iterdir() if p.suffix.upper() in (".DT1", ".SEN"))
    assert files
    return files


def name_parts(path):
    line, sequence = re.search(r"C(\d+)B(\d+)$", path.stem).groups()
    return int(line), int(sequence)


@pytest.mark.parametrize("spacing", [0.25, 1.5])
def test_create_groups_files_into_lines(tmp_path, radar_files, spacing):
    out = tmp_path / "new.svy"
    project = svy3.create(out, radar_files, line_spacing=spacing, created_by="pytest",
                          created_by_version="9.1")
    assert out.exists() and project.path == str(out)
    assert project.warnings == []

    expected = {}
    for path in radar_files:
        expected.setdefault(name_parts(path)[0], set()).add((path.stem, path.suffix.upper()))
    assert len(project.lines) == len(expected)
    for index, (number, files) in enumerate(sorted(expected.items())):
        line = project.lines[index]
        assert line.lateral_offset == pytest.approx(index * spacing)
        got = {(f.name, ".DT1" if f.is_radar else ".SEN") for f in line.files}
        assert got == files, line.name
        radar = [f for f in line.files if f.is_radar]
        assert [f.sequence for f in radar] == sorted(name_parts(p)[1] for p in radar_files
                                                     if name_parts(p)[0] == number
                                                     and p.suffix.upper() == ".DT1")
        # Consecutive files of a line continue each other along the odometer.
        for before, after in zip(radar, radar[1:]):
            assert after.odometer.start == pytest.approx(before.odometer.end + before.odometer.step)
        assert all(f.settings["sample_count"] == f.dimensions[1] for f in radar)
    creators = [p for p in project.provenance if not p["modified"]]
    assert creators and all((p["program"], p["version"]) == ("pytest", "9.1") for p in creators)
    # What create returned is what a later open reads.
    reopened = svy3.open(out)
    assert [(l.name, [f.path for f in l.files]) for l in reopened.lines] == [
        (l.name, [f.path for f in l.files]) for l in project.lines]


def test_create_names_the_data_folder_from_the_document(tmp_path, radar_files):
    folder = str(radar_files[0].parent) + "/"
    relative = os.path.relpath(folder, tmp_path) + "/"
    default = svy3.create(tmp_path / "default.svy", radar_files)
    named = svy3.create(tmp_path / "named.svy", radar_files, data_dir=folder + "./")
    assert default.data_dir == relative
    assert named.data_dir == relative
    # So the editor, which takes the folder from the document's own, finds the files.
    assert svy3.Editor(tmp_path / "default.svy").data_dir.rstrip("/") == folder.rstrip("/")


def test_existing_document_needs_overwrite(tmp_path, radar_files):
    out = tmp_path / "new.svy"
    out.write_text("keep me")
    with pytest.raises(svy3.RefusedError) as raised:
        svy3.create(out, radar_files)
    assert raised.value.kind == "refused"
    assert out.read_text() == "keep me"
    svy3.create(out, radar_files, overwrite=True)
    assert svy3.open(out).lines


@pytest.mark.parametrize("target,files", [
    ("new.svy", []),
    ("new.DT1", None),
    ("survey/DEMOC1B1.DT1", None),
], ids=["no-files", "radar-extension", "one-of-the-files"])
def test_create_refuses_and_writes_nothing(tmp_path, radar_files, target, files):
    out = tmp_path / target
    before = out.read_bytes() if out.exists() else None
    with pytest.raises(svy3.RefusedError):
        svy3.create(out, radar_files if files is None else files, overwrite=True)
    assert (out.read_bytes() if out.exists() else None) == before


def test_unreadable_files_only_fail_as_document_error(tmp_path):
    junk = tmp_path / "JUNKC1B1.DT1"
    junk.write_bytes(b"\0\1")
    (tmp_path / "JUNKC1B1.HD").write_text("not a header")
    with pytest.raises(svy3.DocumentError):
        svy3.create(tmp_path / "new.svy", [junk])
    assert not (tmp_path / "new.svy").exists()
