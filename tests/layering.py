#!/usr/bin/env python3
"""Fails when a source file includes one of a higher layer (engine < report < ui < ui/qt < app) or
when units (a .h and its .cpp) depend on each other through their includes. Usage: layering.py SRC"""
import re
import sys
from pathlib import Path

LAYERS = ["engine", "report", "ui", "ui/qt", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(path):
    """The layer of a path relative to src/: the longest layer folder it lies in."""
    best = None
    for rank, layer in enumerate(LAYERS):
        if path.startswith(layer + "/") and "/" not in path[len(layer) + 1:]:
            best = rank
    return best


def main():
    src = Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    graph, problems = {}, []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        name = file.relative_to(src).as_posix()
        includes = [i for i in INCLUDE.findall(file.read_text(errors="replace")) if (src / i).exists()]
        unit = name.rsplit(".", 1)[0]
        graph.setdefault(unit, set()).update(i.rsplit(".", 1)[0] for i in includes if i.rsplit(".", 1)[0] != unit)
        mine = layer_of(name)
        for included in includes:
            theirs = layer_of(included)
            if mine is not None and theirs is not None and theirs > mine:
                problems.append(f"{name} includes {included}: {LAYERS[mine]} must not include {LAYERS[theirs]}")
    # Cycles among units (depth-first, colouring).
    state, stack = {}, []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, [])):
            if state.get(nxt) == 1:
                problems.append("include cycle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = 2

    for node in graph:
        if node not in state:
            visit(node)
    for problem in problems:
        print(problem)
    print(f"{len(graph)} units, {sum(map(len, graph.values()))} dependencies, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
