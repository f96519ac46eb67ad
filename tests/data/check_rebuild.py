#!/usr/bin/env python3
# Rebuilds the region files into a scratch folder and compares them byte for
# byte with the committed ones.
#
#     check_rebuild.py GENERATOR SOURCE_CSV COMMITTED_DIR

import subprocess
import sys
import tempfile
from pathlib import Path

generator, source, committed = sys.argv[1:]
with tempfile.TemporaryDirectory(prefix="regions-") as scratch:
    subprocess.run([sys.executable, "-B", generator, "--source", source, "--output", scratch],
                   check=True, stdout=subprocess.DEVNULL)
    built = {p.name: p.read_bytes() for p in Path(scratch).glob("*.txt")}
kept = {p.name: p.read_bytes() for p in Path(committed).glob("*.txt")}
differ = sorted(name for name in built.keys() | kept.keys() if built.get(name) != kept.get(name))
if differ or len(built) != 22:
    sys.exit(f"{len(built)} files built; differ from the committed ones: {differ}\n"
             "rebuild with: python3 tools/make_regions.py")
print("22 region files match")
