#!/usr/bin/env python3
"""Builds the 22 region locality files from the national commune list.

    python3 tools/make_regions.py [--source CSV] [--output DIR]

Defaults: data/source/communes-2022.csv into data/regions/. Each file holds
one record per locality, "latitude,longitude,NAME-POSTCODE" with CR LF line
ends, in Windows-1252. Any row that cannot be written faithfully stops the
run with a message naming its line; nothing is written then.

Standard library only, so the files rebuild anywhere Python 3 runs.
"""

import argparse
import csv
import decimal
import os
import re
import sys
import tempfile
import unicodedata
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_SOURCE = ROOT / "data" / "source" / "communes-2022.csv"
DEFAULT_OUTPUT = ROOT / "data" / "regions"

# The former regions (before 2016), by the base name of their file.
REGIONS = {
    "Alsace": ("67", "68"),
    "Aquitaine": ("24", "33", "40", "47", "64"),
    "Auvergne": ("03", "15", "43", "63"),
    "BasseNormandie": ("14", "50", "61"),
    "Bourgogne": ("21", "58", "71", "89"),
    "Bretagne": ("22", "29", "35", "56"),
    "Centre": ("18", "28", "36", "37", "41", "45"),
    "ChampagneArdenne": ("08", "10", "51", "52"),
    "Corse": ("2A", "2B"),
    "Franchecomte": ("25", "39", "70", "90"),
    "HauteNormandie": ("27", "76"),
    "Iledefrance": ("75", "77", "78", "91", "92", "93", "94", "95"),
    "LanguedocRoussillon": ("11", "30", "34", "48", "66"),
    "Limousin": ("19", "23", "87"),
    "Lorraine": ("54", "55", "57", "88"),
    "MidiPyrenees": ("09", "12", "31", "32", "46", "65", "81", "82"),
    "NordPasdeCalais": ("59", "62"),
    "PaysDeLoire": ("44", "49", "53", "72", "85"),
    "Picardie": ("02", "60", "80"),
    "PoitouCharente": ("16", "17", "79", "86"),
    "Provence": ("04", "05", "06", "13", "83", "84"),
    "Rhonealpes": ("01", "07", "26", "38", "42", "69", "73", "74"),
}

OVERSEAS = {"971", "972", "973", "974", "975", "976", "977", "978"}

COLUMNS = ("REF_INSEE", "NAME", "DEPARTMENT", "IS_DISTRICT", "DISTRICT_OF",
           "ZIP_CODES", "LATITUDE", "LONGITUDE")

# The program tells a latitude from a longitude by the 40 degree mark and a
# name from a coordinate by a numeric value of 0, so these bounds are hard.
LAT_RANGE = (decimal.Decimal(40), decimal.Decimal(52))
LON_RANGE = (decimal.Decimal(-6), decimal.Decimal(10))
STEP = decimal.Decimal("0.000001")

DECIMAL_TEXT = re.compile(r"-?[0-9]+(\.[0-9]+)?")
POSTCODE = re.compile(r"[0-9]{5}")
# Anything the program's numeric reading would take for a leading number.
NUMBER_START = re.compile(r"[+-]?\.?[0-9]|&[HhOo]")
# Letters that NFD does not split into a base letter and an accent.
LIGATURES = {"Œ": "OE", "Æ": "AE"}


class DataError(Exception):
    pass


def sort_text(name):
    """The name with its accents removed, as ASCII bytes."""
    plain = unicodedata.normalize("NFD", name)
    plain = "".join(LIGATURES.get(c, c) for c in plain if not unicodedata.combining(c))
    try:
        return plain.encode("ascii")
    except UnicodeEncodeError as err:
        raise DataError(f"no sorting rule for the letter {plain[err.start]!r} in {name!r}")


def coordinate(text, low, high, what):
    """The coordinate rounded to six decimals, as written in the files."""
    if not DECIMAL_TEXT.fullmatch(text):
        raise DataError(f"{what} {text!r} is not a decimal number")
    value = decimal.Decimal(text)
    rounded = value.quantize(STEP, rounding=decimal.ROUND_HALF_UP)
    if rounded == 0:
        if value == 0:
            raise DataError(f"{what} is exactly 0, which the program would read as a name")
        # Six decimals would print 0.000000 (or -0.000000), a text the
        # program takes for a name; the nearest non-zero value is 0.1 m away.
        rounded = STEP if value > 0 else -STEP
    if not low < rounded < high:
        raise DataError(f"{what} {text} lies outside ({low}, {high})")
    return f"{rounded:.6f}"


def list_item(name, postcode):
    """NAME-POSTCODE, the text the user sees and the itinerary reworks."""
    if not name or name != name.strip():
        raise DataError(f"name {name!r} is empty or has blanks around it")
    if any(c == '"' or unicodedata.category(c) == "Cc" for c in name):
        raise DataError(f"name {name!r} holds a double quote or a control character")
    item = name.upper().replace("-", " ") + "-" + postcode
    try:
        item.encode("cp1252")
    except UnicodeEncodeError as err:
        raise DataError(f"name {name!r}: {item[err.start]!r} has no Windows-1252 code")
    if NUMBER_START.match(re.sub(r"[ \t\n]", "", item)):
        raise DataError(f"name {name!r} would be read as a number")
    return item


def read_source(path):
    """The localities of metropolitan France, grouped by base name."""
    region_of = {dep: base for base, deps in REGIONS.items() for dep in deps}
    errors = []
    rows = []
    with open(path, encoding="utf-8", newline="") as f:
        reader = csv.reader(f, strict=True)
        try:
            header = next(reader)
        except StopIteration:
            raise DataError(f"{path}: empty file")
        missing = [c for c in COLUMNS if c not in header]
        if missing:
            raise DataError(f"{path}: missing columns {', '.join(missing)}")
        index = {c: header.index(c) for c in COLUMNS}
        try:
            for fields in reader:
                line = reader.line_num
                if len(fields) != len(header):
                    errors.append(f"line {line}: {len(fields)} fields, expected {len(header)}")
                    continue
                rows.append((line, {c: fields[i] for c, i in index.items()}))
        except csv.Error as err:
            raise DataError(f"{path}, line {reader.line_num}: {err}")

    # Paris, Lyon and Marseille are listed by arrondissement; the parent
    # commune only carries a placeholder postcode.
    parents = {r["DISTRICT_OF"] for _, r in rows if r["IS_DISTRICT"] == "1"}
    codes = set()
    seen_deps = set()
    regions = {base: [] for base in REGIONS}
    for line, r in rows:
        try:
            dep, code = r["DEPARTMENT"], r["REF_INSEE"]
            if code in codes:
                raise DataError(f"commune {code} listed twice")
            codes.add(code)
            if r["IS_DISTRICT"] not in ("0", "1"):
                raise DataError(f"IS_DISTRICT {r['IS_DISTRICT']!r} is neither 0 nor 1")
            if r["IS_DISTRICT"] == "1" and not r["DISTRICT_OF"]:
                raise DataError("arrondissement without its commune")
            if dep in OVERSEAS:
                continue
            if dep not in region_of:
                raise DataError(f"unknown département {dep!r}")
            if not code.startswith(dep):
                raise DataError(f"commune {code} is not in département {dep}")
            seen_deps.add(dep)
            if code in parents:
                continue
            if not POSTCODE.fullmatch(r["ZIP_CODES"]):
                raise DataError(f"postcode {r['ZIP_CODES']!r} is not five digits")
            item = list_item(r["NAME"], r["ZIP_CODES"])
            lat = coordinate(r["LATITUDE"], *LAT_RANGE, "latitude")
            lon = coordinate(r["LONGITUDE"], *LON_RANGE, "longitude")
            key = (sort_text(item[:-6]), r["ZIP_CODES"], item.encode("cp1252"), code)
            regions[region_of[dep]].append((key, lat, lon, item))
        except DataError as err:
            errors.append(f"line {line}: {err}")

    missing_parents = parents - codes
    if missing_parents:
        errors.append(f"arrondissements of unknown communes {sorted(missing_parents)}")
    missing_deps = set(region_of) - seen_deps
    if missing_deps:
        errors.append(f"no commune in départements {sorted(missing_deps)}")
    if errors:
        shown = errors[:20]
        if len(errors) > len(shown):
            shown.append(f"... and {len(errors) - len(shown)} more")
        raise DataError(f"{path}:\n  " + "\n  ".join(shown))
    return regions


def file_bytes(base, localities):
    localities.sort(key=lambda loc: loc[0])
    if len(localities) > 16384:
        raise DataError(f"{base}: {len(localities)} localities, the window lists hold 16384")
    lines = []
    for _, lat, lon, item in localities:
        name = f'"{item}"' if "," in item else item
        lines.append(f"{lat},{lon},{name}\r\n")
    data = "".join(lines).encode("cp1252")
    # The reader takes a file that happens to be valid UTF-8 for UTF-8.
    if not data.isascii():
        try:
            data.decode("utf-8")
        except UnicodeDecodeError:
            pass
        else:
            raise DataError(f"{base}: the Windows-1252 text also reads as UTF-8")
    return data


def write_atomically(path, data):
    fd, tmp = tempfile.mkstemp(dir=path.parent, prefix=path.name, suffix=".tmp")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def main(argv=None):
    parser = argparse.ArgumentParser(description="Builds the 22 region locality files.")
    parser.add_argument("--source", type=Path, default=DEFAULT_SOURCE,
                        help="commune list (default: %(default)s)")
    parser.add_argument("--output", type=Path, default=DEFAULT_OUTPUT,
                        help="folder for the region files (default: %(default)s)")
    args = parser.parse_args(argv)
    try:
        regions = read_source(args.source)
        files = {base: file_bytes(base, locs) for base, locs in regions.items()}
    except (DataError, OSError, UnicodeDecodeError) as err:
        print(f"make_regions: {err}", file=sys.stderr)
        return 1
    args.output.mkdir(parents=True, exist_ok=True)
    for base, data in files.items():
        write_atomically(args.output / f"{base}.txt", data)
        print(f"{base}.txt: {len(regions[base])} localities")
    total = sum(len(locs) for locs in regions.values())
    print(f"{total} localities in {len(files)} files in {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
