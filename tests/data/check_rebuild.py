#!/usr/bin/env python3
# Rebuilds the region files and the France-wide table into a scratch folder
# and compares them byte for byte with the committed ones.
#
#     check_rebuild.py GENERATOR COMMUNES_CSV COORDINATES_CSV REGION_DIR TABLE_CSV

import subprocess
import sys
import tempfile
from pathlib import Path

generator, communes, coordinates, regions, table = sys.argv[1:]
with tempfile.TemporaryDirectory(prefix="regions-") as scratch:
    scratch = Path(scratch)
    subprocess.run([sys.executable, "-B", generator, "--communes", communes, "--coordinates", coordinates,
                    "--output", str(scratch), "--table", str(scratch / Path(table).name)],
                   check=True, stdout=subprocess.DEVNULL)
    built = {p.name: p.read_bytes() for p in scratch.iterdir()}
kept = {p.name: p.read_bytes() for p in Path(regions).glob("*.txt")}
kept[Path(table).name] = Path(table).read_bytes()
differ = sorted(name for name in built.keys() | kept.keys() if built.get(name) != kept.get(name))
if differ or len(built) != 23:
    sys.exit(f"{len(built)} files built; differ from the committed ones: {differ}\n"
             "rebuild with: python3 tools/make_regions.py")
print("22 region files and the table match")
