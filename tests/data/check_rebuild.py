#!/usr/bin/env python3
"""Rebuilds the region files into a scratch folder and compares them byte for
byte with the committed ones.

    check_rebuild.py GENERATOR SOURCE_CSV COMMITTED_DIR
"""

import subprocess
import sys
import tempfile
from pathlib import Path


def main(generator, source, committed):
    committed = Path(committed)
    with tempfile.TemporaryDirectory(prefix="regions-") as scratch:
        run = subprocess.run([sys.executable, "-B", generator, "--source", source,
                              "--output", scratch], capture_output=True, text=True)
        if run.returncode != 0:
            print(f"generator failed ({run.returncode}):\n{run.stderr}", file=sys.stderr)
            return 1
        built = {p.name: p.read_bytes() for p in Path(scratch).glob("*.txt")}
    kept = {p.name: p.read_bytes() for p in committed.glob("*.txt")}
    problems = []
    for name in sorted(built.keys() | kept.keys()):
        if name not in kept:
            problems.append(f"{name}: built but not committed")
        elif name not in built:
            problems.append(f"{name}: committed but no longer built")
        elif built[name] != kept[name]:
            new, old = built[name].split(b"\r\n"), kept[name].split(b"\r\n")
            line = next((i for i, (a, b) in enumerate(zip(new, old)) if a != b),
                        min(len(new), len(old)))
            problems.append(f"{name}: differs from line {line + 1}")
    if len(built) != 22:
        problems.append(f"{len(built)} files built, expected 22")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print("rebuild with: python3 tools/make_regions.py", file=sys.stderr)
        return 1
    print(f"{len(built)} region files match")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
