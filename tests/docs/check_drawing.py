#!/usr/bin/python3
"""Holds docs/architecture.dot to the includes: every folder of src/ that includes another's header
is an arrow of the drawing, and every arrow is such an include. Arrows to platform may be left out
(nearly every folder uses it); a dashed arrow is a library opened at run time, not an include.
usage: check_drawing.py SOURCE_DIR"""
import os
import re
import sys

root = sys.argv[1]
dot = open(os.path.join(root, "docs", "architecture.dot"), encoding="utf-8").read()
# Each box is a folder: the first line of its label.
folders = {node: label.split("\\n")[0] for node, label in re.findall(r'(\w+) \[label="([^"]*)"', dot)}
by_folder = {folder: node for node, folder in folders.items()}


def box_of(path):
    """The box of a path inside src/: its longest folder that is drawn."""
    folder = os.path.dirname(path)
    while folder and folder not in by_folder:
        folder = os.path.dirname(folder)
    return by_folder.get(folder)


included = set()
src = os.path.join(root, "src")
for directory, _, files in os.walk(src):
    for name in files:
        if not name.endswith((".cpp", ".h", ".in")):
            continue
        path = os.path.join(directory, name)
        here = box_of(os.path.relpath(path, src))
        for header in re.findall(r'^#include "([^"]+)"', open(path, encoding="utf-8").read(), re.M):
            there = box_of(header)
            if here and there and here != there:
                included.add((here, there))

drawn = set()
for line in dot.splitlines():
    for a, b, attributes in re.findall(r"(\w+) -> (\w+)( \[[^\]]*\])?", line):
        if "dashed" not in attributes:
            drawn.add((a, b))

platform = by_folder["platform"]
missing = sorted(e for e in included - drawn if e[1] != platform)
extra = sorted(drawn - included)
for a, b in missing:
    print(f"missing: {folders[a]} -> {folders[b]} (an include draws it)")
for a, b in extra:
    print(f"extra: {folders[a]} -> {folders[b]} (no include draws it)")
if missing or extra:
    sys.exit(1)
print(f"{len(drawn)} arrows, each an include; every include drawn")
