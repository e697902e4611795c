#!/usr/bin/env python3
"""Fails when the project's own includes under src/ form a cycle.

A header and its source file count as one unit (Foo.h + Foo.cpp), so that a cycle made
through a .cpp (A.cpp includes B.h, B.cpp includes A.h) counts as well. Prints every cycle
found as a chain of units, or the number of units and includes checked.
Usage: scripts/check-includes.py [src-folder]
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

# The one cycle kept on purpose: the control table names the window's members and handlers,
# and the window loops over the table; together they are one class written in two files.
ALLOWED = [{"app/ControlTable", "app/TForm1"}]


def units(src: pathlib.Path):
    graph = {}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        unit = str(path.relative_to(src).with_suffix(""))
        targets = graph.setdefault(unit, set())
        for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if (src / included).exists():
                target = str(pathlib.Path(included).with_suffix(""))
                if target != unit:
                    targets.add(target)
    return graph


def cycles(graph):
    """Tarjan's strongly connected components with more than one unit."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in sorted(graph.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src")
    graph = units(src)
    found = [component for component in cycles(graph) if set(component) not in ALLOWED]
    for component in found:
        print("include cycle: " + " <-> ".join(component))
    if found:
        return 1
    print(f"{len(graph)} units, {sum(len(t) for t in graph.values())} includes, no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
