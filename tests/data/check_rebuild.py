#!/usr/bin/env python3
# Rebuilds the region files and the France-wide table into a scratch folder and compares them byte
# for byte with the committed ones; checks the generator's report and the table against the source.
#     check_rebuild.py GENERATOR COMMUNES_CSV COORDINATES_CSV REGION_DIR TABLE_CSV

import csv
import subprocess
import sys
import tempfile
from decimal import Decimal
from pathlib import Path

generator, communes, coordinates, regions, table = sys.argv[1:]
with tempfile.TemporaryDirectory(prefix="regions-") as scratch:
    scratch = Path(scratch)
    output = subprocess.run([sys.executable, "-B", generator, "--communes", communes, "--coordinates", coordinates,
                             "--output", scratch, "--table", scratch / Path(table).name],
                            check=True, capture_output=True, text=True).stdout
    built = {p.name: p.read_bytes() for p in scratch.iterdir()}
kept = {p.name: p.read_bytes() for p in Path(regions).glob("*.txt")}
kept[Path(table).name] = Path(table).read_bytes()
differ = sorted(name for name in built.keys() | kept.keys() if built.get(name) != kept.get(name))
if differ or len(built) != 23:
    sys.exit(f"{len(built)} files built; differ from the committed ones: {differ}\n"
             "rebuild with: python3 tools/make_regions.py")
if ("since the older list: 102 renamed, 5 under a new code, 87 merged into another, 7 left out\n"
        "left out, no coordinates: 15031 Celles\n") not in output:
    sys.exit(f"the generator's report changed:\n{output}")

# Each row's coordinates are the source's, rounded to six decimals; communes nouvelles whose seat,
# and so code, moved are there under their former code.
former = {"12218": "12076", "14581": "14011", "27676": "27058", "49126": "49069", "69114": "69159"}
with open(coordinates, encoding="utf-8", newline="") as f:
    source = {row["REF_INSEE"]: row for row in csv.DictReader(f)}
with open(table, encoding="utf-8", newline="") as f:
    far = [row for row in csv.DictReader(f, delimiter=";") if max(
        abs(Decimal(row[c]) - Decimal(source[former.get(row["insee"], row["insee"])][c.upper()]))
        for c in ("latitude", "longitude")) > Decimal("5e-7")]
if far:
    sys.exit(f"{len(far)} rows away from the source's coordinates, first: {far[0]}")
print("22 region files and the table match, and the table the source")
