#!/usr/bin/env python3
"""Fails when a folder of the product includes a folder above it.

The rooms depend one way: each may include its own headers and those of the
rooms listed before it, never one listed after it, so that the engine never
reaches for a window and a front end can be taken away whole. tests/ and
tools/ may include anything.
"""
import pathlib
import re
import sys

ORDER = ["base", "io", "dump", "standards", "formats", "export", "model", "about", "cli", "viewer", "plugin"]
# cli is a front end of its own: it stands on the exports, never on a viewer.
SIDEWAYS = {("cli", "viewer"), ("cli", "plugin"), ("viewer", "cli"), ("plugin", "cli")}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')


def room_of(path, root):
    parts = path.relative_to(root).parts
    return parts[0] if parts and parts[0] in ORDER else None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or any(p.startswith("build") for p in path.relative_to(root).parts):
            continue
        room = room_of(path, root)
        if room is None:
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or match.group(1) not in ORDER:
                continue
            target = match.group(1)
            if ORDER.index(target) > ORDER.index(room) or (room, target) in SIDEWAYS:
                faults.append(f"{path.relative_to(root)}:{number}: {room}/ includes {target}/")
    for fault in faults:
        print(fault)
    print(f"include-order: {len(faults)} include(s) against the order {' <- '.join(ORDER)}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
