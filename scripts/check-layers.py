#!/usr/bin/env python3
"""Checks that includes between the folders of svy3/ point one way.

Every `#include "svy3/<folder>/..."` in a file below svy3/ must name a folder on a lower level than
the including file's own folder (or the same folder). Folders on one level are independent of each
other. Includes between files are also followed, so that a cycle of files is reported even inside
one folder. Prints each offence and exits with 1; exits with 0 when the layers are clean.

Usage: check-layers.py [REPOSITORY_ROOT]
"""

import os
import re
import sys

# Low to high. A folder may include its own folder and the folders of lower levels only.
LEVELS = [
    ["platform"],
    ["external", "shell"],  # external and shell include platform only
    ["xmldom"],
    ["xmlfile"],
    ["document", "settings", "reference"],
    ["datablock"],
    ["creation"],  # uses the data block writer
    ["editor"],
    ["mapper"],
    ["api"],  # the svy3 interface over every class below
]

# Headers directly in svy3/: the version macros sit at the bottom, the umbrella header on top.
ROOT_FILES = {"version.h": -1, "api.h": len(LEVELS), "svy3.h": len(LEVELS) + 1}

INCLUDE = re.compile(r'^\s*#\s*include\s+"(svy3/[^"]+)"', re.MULTILINE)


def level_of_folder():
    levels = {}
    for rank, folders in enumerate(LEVELS):
        for folder in folders:
            levels[folder] = rank
    return levels


def layer(path, levels):
    """The (folder, level) of a path below svy3/, or None for an unknown folder."""
    parts = path.split("/")
    if len(parts) == 2:
        if parts[1] in ROOT_FILES:
            return parts[1], ROOT_FILES[parts[1]]
        return None
    if parts[1] in levels:
        return parts[1], levels[parts[1]]
    return None


def source_files(root):
    for directory, _, names in os.walk(os.path.join(root, "svy3")):
        for name in sorted(names):
            if name.endswith((".h", ".cpp", ".h.in")):
                full = os.path.join(directory, name)
                yield os.path.relpath(full, root).replace(os.sep, "/")


def find_cycle(graph):
    """One include cycle among the files of `graph` as a list of paths, or None."""
    state = {}
    for start in sorted(graph):
        if start in state:
            continue
        stack = [(start, iter(sorted(graph.get(start, ()))))]
        path = [start]
        state[start] = "open"
        while stack:
            node, children = stack[-1]
            child = next(children, None)
            if child is None:
                state[node] = "done"
                stack.pop()
                path.pop()
                continue
            if state.get(child) == "open":
                return path[path.index(child):] + [child]
            if child not in state and child in graph:
                state[child] = "open"
                stack.append((child, iter(sorted(graph[child]))))
                path.append(child)
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    levels = level_of_folder()
    offences = []
    graph = {}
    for path in source_files(root):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            included = INCLUDE.findall(f.read())
        if path.endswith(".h.in"):
            path = path[: -len(".in")]
        graph[path] = set(included)
        own = layer(path, levels)
        if own is None:
            offences.append(f"{path}: folder is not in the layer order")
            continue
        for target in included:
            other = layer(target, levels)
            if other is None:
                offences.append(f'{path}: #include "{target}": folder is not in the layer order')
            elif other[0] != own[0] and other[1] >= own[1]:
                where = "above" if other[1] > own[1] else "beside"
                offences.append(
                    f'{path}: #include "{target}": {other[0]} is {where} {own[0]} in the layer order'
                )
    cycle = find_cycle(graph)
    if cycle:
        offences.append("include cycle: " + " -> ".join(cycle))
    for offence in offences:
        print(offence)
    if offences:
        print(f"check-layers: {len(offences)} offence(s)")
        return 1
    print("check-layers: clean")
    return 0


if __name__ == "__main__":
    sys.exit(main())
