#!/usr/bin/python3
"""Holds docs/architecture.dot to the includes: every folder of src/ that includes another's header
is an arrow of the drawing, and every arrow is such an include. Arrows to platform may be left out
(nearly every folder uses it); a dashed arrow is a library opened at run time, not an include.
And the arrows point down: none goes from a lower band of the drawing (logic below windows below
the programs) to a higher one, no boxes include each other round a circle, and no two top-level
folders of src/ include each other, however deep.
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
top_included = set()
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
            top_here = os.path.relpath(path, src).split(os.sep)[0]
            top_there = header.split("/")[0]
            if top_here != top_there and os.path.isdir(os.path.join(src, top_there)):
                top_included.add((top_here, top_there))

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


def circle(edges):
    """A circle of the graph, as a list of its nodes, or None."""
    graph = {}
    for a, b in edges:
        graph.setdefault(a, []).append(b)
    state = {}

    def visit(node, path):
        state[node] = "open"
        for following in graph.get(node, []):
            if state.get(following) == "open":
                return path[path.index(following):] + [following]
            if following not in state:
                found = visit(following, path + [following])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


# The bands, top first: each box's cluster, by the order the clusters are written.
band = {}
for rank, body in enumerate(re.findall(r"subgraph cluster_\w+ \{(.*?)\n  \}", dot, re.S)):
    for node in re.findall(r'(\w+) \[label=', body):
        band[node] = rank
# The windows and the sync's network side stand side by side, above the logic.
side_by_side = {"cluster_windows", "cluster_network"}
names = re.findall(r"subgraph (cluster_\w+) \{", dot)
level = {}
for node, rank in band.items():
    name = names[rank]
    level[node] = min(names.index(n) for n in side_by_side) if name in side_by_side else rank
up = sorted((a, b) for a, b in drawn if a in level and b in level and level[b] < level[a])
for a, b in up:
    print(f"up: {folders[a]} -> {folders[b]} (logic may not include a window, nor anything the programs)")
drawn_circle = circle(drawn | included)
if drawn_circle:
    print("circle: " + " -> ".join(folders[n] for n in drawn_circle))
top_circle = circle(top_included)
if top_circle:
    print("folders of src/ that include each other: " + " -> ".join(top_circle))
if missing or extra or up or drawn_circle or top_circle:
    sys.exit(1)
print(f"{len(drawn)} arrows, each an include, all down; every include drawn; no circle")
