"""Opens a survey project, prints its lines and plots the positions of one line.

Usage: python3 demo.py PROJECT.svy [LINE]

Make a sample survey to try it with `build/tools/svy/svy demo DIR` (writes DIR/demo.svy). The
demo's lines have no positions yet: this script gives the first line some through svy3.Editor,
saved to a copy of the project, before plotting. The plot needs matplotlib; without it the
positions are printed instead.
"""

import shutil
import sys
import warnings

import numpy as np

import svy3


def print_lines(project):
    print(f"{project.path}: version {project.version}, {len(project.lines)} lines")
    for line in project.lines:
        where = f"set {line.set!r}" if line.set else "no line set"
        print(f"  {line.name} ({where}): {line.type.name}, offset {line.lateral_offset:g} m")
        for file in line.files:
            odometer = file.odometer
            print(f"    {file.path:<12} {file.kind:<7} {odometer.start:7.2f} .. {odometer.end:7.2f} m"
                  f"  {len(file.positions)} positions")


def position_line(path, line):
    """Writes positions along Y for `line` (a straight 10 m run) into a copy of the project."""
    copy = path[: -len(".svy")] + "-positioned.svy" if path.endswith(".svy") else path + ".copy"
    shutil.copyfile(path, copy)
    with svy3.Editor(copy) as editor:
        along = np.linspace(0.0, 1.0, 11)
        xyz = np.column_stack([np.full(11, line.lateral_offset), 10.0 * along, np.full(11, np.nan)])
        editor.set_positions(line.set, line.name, xyz, along)
        editor.save()  # leaving the with block saves nothing by itself
    return svy3.open(copy)


def plot(file, title):
    xyz = file.positions
    try:
        import matplotlib.pyplot as plt
    except ImportError:
        print(f"matplotlib is not installed; the positions of {title}:")
        for (x, y, _), along in zip(xyz, file.file_positions):
            print(f"  x {x:8.3f}  y {y:8.3f}  at {along:.2f} of the file")
        return
    figure, axes = plt.subplots()
    axes.plot(xyz[:, 0], xyz[:, 1], marker="o")
    axes.set_title(title)
    axes.set_xlabel("x (m)")
    axes.set_ylabel("y (m)")
    axes.set_aspect("equal")
    plt.show()


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    path = argv[1]
    with warnings.catch_warnings(record=True) as reported:
        warnings.simplefilter("always", svy3.SvyWarning)
        project = svy3.open(path)
    for warning in reported:
        print(f"warning: {warning.message}", file=sys.stderr)
    print_lines(project)

    line = project.find_line(argv[2]) if len(argv) > 2 else project.lines[0]
    if line is None:
        print(f"no line {argv[2]!r}", file=sys.stderr)
        return 1
    radar = [file for file in line.files if file.is_radar]
    if not len(radar[0].positions):
        project = position_line(path, line)
        line = project.find_line(line.name, line.set)
        radar = [file for file in line.files if file.is_radar]
    plot(radar[0], f"{line.name}: {radar[0].path}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
