#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

The folders of src/ form layers; a file may include headers of its own folder and of lower layers
only. Folders on the same level (window and setup) must not include each other. The add-in is a
separate deliverable and includes nothing of the program but the shared window-protocol header.
"""
import pathlib
import re
import sys

LAYERS = {
    "common": 0,
    "model": 1,
    "ui": 2,
    "service": 3,
    "numbers": 4,
    "mailclients": 5,
    "window": 6,
    "setup": 6,
    "app": 7,
    "cli": 8,
}
# What the add-in may include from the program's tree.
ADDIN_SHARED = {"common/window_protocol.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]+)"', re.M)


def violations(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".hpp", ".c", ".idl", ".rc"):
            continue
        folder = path.relative_to(src).parts[0]
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            target, rest = match.group(1), match.group(2)
            if target == folder:
                continue
            where = f"{path.relative_to(src.parent)}: includes {target}/{rest}"
            if folder == "addin":
                if f"{target}/{rest}" not in ADDIN_SHARED:
                    yield where + " (the add-in links nothing of the program)"
                continue
            if target == "addin":
                yield where + " (nothing includes the add-in)"
                continue
            if folder not in LAYERS or target not in LAYERS:
                yield where + " (folder without a layer: add it to tools/check_layers.py)"
                continue
            if LAYERS[target] >= LAYERS[folder]:
                yield where + f" ({target} is not below {folder})"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    found = list(violations(root / "src"))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) against the layer order (see docs/design.md)")
        return 1
    print("layer order kept")
    return 0


if __name__ == "__main__":
    sys.exit(main())
