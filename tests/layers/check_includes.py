#!/usr/bin/env python3
"""Checks the layers by their includes: each folder includes only its own headers and those of
the folders below it, and no header is part of a circle of includes.

Usage: check_includes.py SOURCE_ROOT
Prints each breach and exits with 1 when there is one.
"""
import re
import sys
from pathlib import Path

# Each folder with the folders it may include from, its own included.
ALLOWED = {
    "platform": {"platform"},
    "settings": {"platform", "settings"},
    "core": {"platform", "settings", "core"},
    "graphics": {"platform", "settings", "core", "graphics"},
    "editor": {"platform", "settings", "core", "graphics", "editor"},
    "controls": {"controls"},
    "app": {"platform", "settings", "core", "graphics", "editor", "controls", "app"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def project_includes(path, root):
    """The project files that path includes, as paths from the root."""
    found = []
    for name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
        if (root / name).is_file():
            found.append(name)
    return found


def layer_breaches(root):
    breaches = []
    for folder, allowed in ALLOWED.items():
        for path in sorted((root / folder).glob("*.[ch]*")):
            for name in project_includes(path, root):
                if name.split("/")[0] not in allowed:
                    breaches.append(f"{path.relative_to(root)} includes {name}")
    return breaches


def circles(root):
    """The circles of includes among the layers' files: each group of files that reach one
    another through includes, named in sorted order."""
    graph = {}
    for folder in ALLOWED:
        for path in (root / folder).glob("*.[ch]*"):
            graph[str(path.relative_to(root))] = project_includes(path, root)
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(node):  # Tarjan's strongly connected components
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in graph.get(node, []):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1 or node in graph.get(node, []):
                groups.append(" <-> ".join(sorted(group)))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return sorted(groups)


def main():
    root = Path(sys.argv[1]).resolve()
    breaches = layer_breaches(root) + [f"circle: {c}" for c in circles(root)]
    for breach in breaches:
        print(breach)
    if breaches:
        return 1
    print(f"layers hold: {sum(1 for f in ALLOWED for _ in (root / f).glob('*.[ch]*'))} files checked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
