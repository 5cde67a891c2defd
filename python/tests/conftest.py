"""Shared fixtures: the hand-written sample document, fresh demo surveys made by the svy tool,
and readers of a document's XML that the tests compare the module's answers with."""

import os
import pathlib
import subprocess
import xml.etree.ElementTree as ET

import pytest

REPO = pathlib.Path(__file__).resolve().parents[2]
SAMPLE = REPO / "tests" / "data" / "sample.svy"
EXAMPLE = REPO / "python" / "examples" / "demo.py"

# Metres per unit of the length units the documents use.
METRES = {"m": 1.0, "cm": 0.01, "mm": 0.001, "ft": 0.3048}


@pytest.fixture(scope="session")
def svy_tool():
    tool = os.environ.get("SVY3_TOOL", "")
    if not tool or not os.access(tool, os.X_OK):
        pytest.skip("the svy tool is not built (SVY3_TOOL names it)")
    return tool


def make_demo(tool, folder):
    """Writes the demo survey into `folder` (absolute, so that its data folder is) and returns
    the path of its document."""
    subprocess.run([tool, "demo", str(folder)], check=True, stdout=subprocess.DEVNULL)
    return folder / "demo.svy"


@pytest.fixture
def demo(tmp_path, svy_tool):
    """A fresh demo survey: three lines of three radar files, an odometer file for Line1."""
    return make_demo(svy_tool, tmp_path / "survey")


@pytest.fixture
def demo_with_sets(demo):
    """The demo survey with Line1 and Line2 in line set "Grid A" and Line3 outside line sets."""
    tree = ET.parse(demo)
    data = tree.getroot().find("Data")
    line_set = ET.Element("LineSet", name="Grid A")
    for line in list(data.findall("Line"))[:2]:
        data.remove(line)
        line_set.append(line)
    data.insert(list(data).index(data.find("Line")), line_set)
    tree.write(demo, xml_declaration=True, encoding="utf-8")
    return demo


def xml_lines(path):
    """(set name, Line element) for every line of the document, in document order."""
    data = ET.parse(path).getroot().find("Data")
    lines = [(s.get("name"), line) for s in data.findall("LineSet") for line in s.findall("Line")]
    return lines + [("", line) for line in data.findall("Line")]


def number(text):
    return float("nan") if text == "NA" else float(text)
