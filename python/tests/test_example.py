"""The example script and the README's Python code, run on a fresh demo survey."""

import os
import re
import subprocess
import sys

import pytest

import svy3
from conftest import EXAMPLE, REPO


def run_python(args, demo):
    env = dict(os.environ, PYTHONPATH=os.path.dirname(svy3.__file__))
    return subprocess.run([sys.executable, *args, str(demo)], capture_output=True, text=True,
                          env=env, timeout=120)


def test_demo_script_prints_lines_and_positions(demo):
    run = run_python([str(EXAMPLE)], demo)
    assert run.returncode == 0, run.stderr
    project = svy3.open(demo)
    for line in project.lines:
        assert f"  {line.name} (" in run.stdout
        for file in line.files:
            assert file.path in run.stdout
    # The first line was positioned in a copy, which the script then plotted (or printed).
    positioned = svy3.open(demo.with_name("demo-positioned.svy")).lines[0]
    radar = next(f for f in positioned.files if f.is_radar)
    assert len(radar.positions) == 11
    try:
        import matplotlib  # noqa: F401
    except ImportError:
        for x, y, _ in radar.positions:
            assert f"x {x:8.3f}  y {y:8.3f}" in run.stdout
    assert svy3.open(demo).lines[0].files[0].positions.shape == (0, 3)  # the original is untouched


def test_readme_python_code_runs(demo):
    readme = (REPO / "README.md").read_text()
    section = readme.split("\n## Python\n", 1)[1].split("\n## ", 1)[0]
    blocks = re.findall(r"```python\n(.*?)```", section, re.S)
    if not blocks:
        pytest.fail("the README's Python section has no Python code")
    run = run_python(["-c", blocks[0]], demo)
    assert run.returncode == 0, run.stderr
    for line in svy3.open(demo).lines:
        assert line.name in run.stdout
    copy = svy3.open(demo.with_name("demo-positioned.svy"))
    radar = next(f for f in copy.lines[0].files if f.is_radar)
    assert radar.positions.shape == (11, 3)
