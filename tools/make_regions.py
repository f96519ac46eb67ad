#!/usr/bin/env python3
"""Builds the 22 region locality files, the France-wide locality table and
the names that lead to its localities.

    python3 tools/make_regions.py [--communes CSV] [--coordinates CSV]
                                  [--labels CSV] [--output DIR] [--table CSV]
                                  [--names CSV]

The communes, their names, postal codes and population come from the current
official list (data/source/communes-2026.csv); their coordinates from the
older list that has them (data/source/communes-2022.csv), joined by INSEE
code, or, for a commune whose code changed with its seat, by département and
name. A commune found in neither way is left out and reported: a coordinate
is never made up.

Each region file holds one record per locality, "latitude,longitude,
NAME-POSTCODE" with CR LF line ends, in Windows-1252. The table
(data/france/localites.csv) holds the same localities in the same order,
UTF-8, ";"-separated, with their INSEE code, département, region file and
population. The names file (data/france/noms.csv) holds what people write
for those localities: official names, every postcode, La Poste's routing
labels (data/source/codes-postaux.csv), communes déléguées and associées,
former INSEE codes, and Paris, Lyon and Marseille as whole cities. Any row
that cannot be written faithfully stops the run with a message naming its
file and line; nothing is written then.

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
DEFAULT_COMMUNES = ROOT / "data" / "source" / "communes-2026.csv"
DEFAULT_COORDINATES = ROOT / "data" / "source" / "communes-2022.csv"
DEFAULT_OUTPUT = ROOT / "data" / "regions"
DEFAULT_TABLE = ROOT / "data" / "france" / "localites.csv"
DEFAULT_LABELS = ROOT / "data" / "source" / "codes-postaux.csv"
DEFAULT_NAMES = ROOT / "data" / "france" / "noms.csv"

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

COORDINATE_COLUMNS = ("REF_INSEE", "NAME", "DEPARTMENT", "IS_DISTRICT", "DISTRICT_OF",
                      "ZIP_CODES", "LATITUDE", "LONGITUDE")
COMMUNE_COLUMNS = ("code", "nom", "departement", "type", "parent", "codes_postaux", "population",
                   "anciens_codes")
LABEL_COLUMNS = ("code_commune", "code_postal", "libelle_acheminement")
# Paris, Lyon and Marseille are listed by arrondissement, in place of the
# commune; associated and delegated communes are parts of another commune.
LISTED_TYPES = {"commune-actuelle", "arrondissement-municipal"}
PART_TYPES = {"commune-deleguee", "commune-associee"}
TABLE_HEADER = "insee;nom;code_postal;departement;region;latitude;longitude;population"
# latitude, longitude and population only on the rows of type "ville".
NAMES_HEADER = "insee;forme;type;codes_postaux;latitude;longitude;population"

# The program tells a latitude from a longitude by the 40 degree mark and a
# name from a coordinate by a numeric value of 0, so these bounds are hard.
LAT_RANGE = (decimal.Decimal(40), decimal.Decimal(52))
LON_RANGE = (decimal.Decimal(-6), decimal.Decimal(10))
STEP = decimal.Decimal("0.000001")

DECIMAL_TEXT = re.compile(r"-?[0-9]+(\.[0-9]+)?")
POSTCODE = re.compile(r"[0-9]{5}")
POPULATION = re.compile(r"[0-9]*")
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
    # The table is split on ";" without quoting, the region files on quotes.
    if any(c in '";' or unicodedata.category(c) == "Cc" for c in name):
        raise DataError(f"name {name!r} holds a double quote, a semicolon or a control character")
    item = name.upper().replace("-", " ") + "-" + postcode
    try:
        item.encode("cp1252")
    except UnicodeEncodeError as err:
        raise DataError(f"name {name!r}: {item[err.start]!r} has no Windows-1252 code")
    if NUMBER_START.match(re.sub(r"[ \t\n]", "", item)):
        raise DataError(f"name {name!r} would be read as a number")
    return item


def read_rows(path, columns, errors):
    """(line, {column: text}) for each well-formed row; bad ones go to errors."""
    rows = []
    with open(path, encoding="utf-8", newline="") as f:
        reader = csv.reader(f, strict=True)
        try:
            header = next(reader)
        except StopIteration:
            raise DataError(f"{path}: empty file")
        missing = [c for c in columns if c not in header]
        if missing:
            raise DataError(f"{path}: missing columns {', '.join(missing)}")
        index = {c: header.index(c) for c in columns}
        try:
            for fields in reader:
                if len(fields) != len(header):
                    errors.append(f"{path.name}, line {reader.line_num}: "
                                  f"{len(fields)} fields, expected {len(header)}")
                    continue
                rows.append((reader.line_num, {c: fields[i] for c, i in index.items()}))
        except csv.Error as err:
            raise DataError(f"{path}, line {reader.line_num}: {err}")
    return rows


def check_code(code, dep, region_of):
    if dep not in region_of:
        raise DataError(f"unknown département {dep!r}")
    if not code.startswith(dep):
        raise DataError(f"commune {code} is not in département {dep}")


def read_coordinates(path, region_of, errors):
    """The older list's metropolitan communes: {code: row} with the
    coordinates rounded as written, and the same rows by (département, name)."""
    rows = read_rows(path, COORDINATE_COLUMNS, errors)
    # The parent of arrondissements only carries a placeholder postcode and
    # the coordinates of its first arrondissement.
    parents = {r["DISTRICT_OF"] for _, r in rows if r["IS_DISTRICT"] == "1"}
    by_code, by_name, cities = {}, {}, {}
    for line, r in rows:
        try:
            code, dep = r["REF_INSEE"], r["DEPARTMENT"]
            if code in by_code:
                raise DataError(f"commune {code} listed twice")
            if r["IS_DISTRICT"] not in ("0", "1"):
                raise DataError(f"IS_DISTRICT {r['IS_DISTRICT']!r} is neither 0 nor 1")
            if dep in OVERSEAS:
                continue
            check_code(code, dep, region_of)
            r["LATITUDE"] = coordinate(r["LATITUDE"], *LAT_RANGE, "latitude")
            r["LONGITUDE"] = coordinate(r["LONGITUDE"], *LON_RANGE, "longitude")
            if code in parents:  # a whole city, named beside its arrondissements
                cities[code] = r
                continue
            by_code[code] = r
            by_name.setdefault((dep, r["NAME"]), []).append(r)
        except DataError as err:
            errors.append(f"{path.name}, line {line}: {err}")
    return by_code, by_name, cities


def read_communes(path, region_of, errors):
    """The communes to list, as (line, row) with the postcodes split; the
    cities listed by arrondissement and the parts of communes, as rows."""
    rows = read_rows(path, COMMUNE_COLUMNS, errors)
    parents = {r["parent"] for _, r in rows if r["type"] == "arrondissement-municipal"}
    communes = {r["code"] for _, r in rows if r["type"] == "commune-actuelle"}
    listed, codes, cities, parts = [], set(), {}, []
    for line, r in rows:
        try:
            code, dep = r["code"], r["departement"]
            r["anciens_codes"] = r["anciens_codes"].split()
            if r["type"] in PART_TYPES:
                if dep not in OVERSEAS:
                    parts.append(r)
                continue
            if r["type"] not in LISTED_TYPES:
                raise DataError(f"unknown type {r['type']!r}")
            if code in codes:
                raise DataError(f"commune {code} listed twice")
            codes.add(code)
            if dep in OVERSEAS:
                continue
            check_code(code, dep, region_of)
            if r["type"] == "arrondissement-municipal" and r["parent"] not in communes:
                raise DataError(f"arrondissement of unknown commune {r['parent']!r}")
            r["codes_postaux"] = r["codes_postaux"].split(" ")
            if code in parents:
                cities[code] = r
                continue
            bad = [c for c in r["codes_postaux"] if not POSTCODE.fullmatch(c)]
            if bad:
                raise DataError(f"postcode {bad[0]!r} is not five digits")
            if not POPULATION.fullmatch(r["population"]):
                raise DataError(f"population {r['population']!r} is not a whole number")
            listed.append((line, r))
        except DataError as err:
            errors.append(f"{path.name}, line {line}: {err}")
    return listed, cities, parts


def read_labels(path, errors):
    """La Poste's routing labels: (line, row) for each one."""
    rows = read_rows(path, LABEL_COLUMNS, errors)
    for line, r in rows:
        if not POSTCODE.fullmatch(r["code_postal"]):
            errors.append(f"{path.name}, line {line}: postcode {r['code_postal']!r} is not five digits")
        elif not plain_cell(r["libelle_acheminement"]):
            errors.append(f"{path.name}, line {line}: label {r['libelle_acheminement']!r} is empty or "
                          "holds a double quote, a semicolon or a control character")
    return rows


def plain_capitals(name):
    """The name in capitals without accents, hyphens or apostrophes, as most
    routing labels write it."""
    plain = unicodedata.normalize("NFD", name.upper())
    plain = "".join(LIGATURES.get(c, c) for c in plain if not unicodedata.combining(c))
    return re.sub(r"[-' ]+", " ", plain)


def plain_cell(text):
    """Whether the text goes into a ";"-separated file without quoting."""
    return bool(text) and text == text.strip() and not any(
        c in '";' or unicodedata.category(c) == "Cc" for c in text)


def join(communes_path, coordinates_path, labels_path):
    """The localities grouped by region base name, each as (sort key, table
    fields) in file order, the names file's lines and what changed since the older list."""
    region_of = {dep: base for base, deps in REGIONS.items() for dep in deps}
    errors = []
    by_code, by_name, city_points = read_coordinates(coordinates_path, region_of, errors)
    listed, cities, parts = read_communes(communes_path, region_of, errors)
    labels = read_labels(labels_path, errors)

    codes = {r["code"] for _, r in listed}
    regions = {base: [] for base in REGIONS}
    lent, left_out, renamed = set(), [], 0
    for line, r in listed:
        try:
            code, dep, name = r["code"], r["departement"], r["nom"]
            old = by_code.get(code)
            if old is None:
                # A commune nouvelle whose seat moved takes the new seat's
                # code; only a row whose code is no longer listed can be its.
                found = [o for o in by_name.get((dep, name), []) if o["REF_INSEE"] not in codes]
                if len(found) > 1:
                    raise DataError(f"{name!r} matches several older communes")
                if not found:
                    left_out.append((code, name))
                    continue
                old = found[0]
                if old["REF_INSEE"] in lent:
                    raise DataError(f"older commune {old['REF_INSEE']} matched twice")
                lent.add(old["REF_INSEE"])
            elif old["NAME"] != name:
                renamed += 1
            postcodes = r["codes_postaux"]
            postcode = old["ZIP_CODES"] if old["ZIP_CODES"] in postcodes else min(postcodes)
            item = list_item(name, postcode)
            key = (sort_text(item[:-6]), postcode, item.encode("cp1252"), code)
            regions[region_of[dep]].append((key, (
                code, item[:-6], postcode, dep, region_of[dep],
                old["LATITUDE"], old["LONGITUDE"], r["population"])))
        except DataError as err:
            errors.append(f"{communes_path.name}, line {line}: {err}")

    missing_deps = set(region_of) - {r["departement"] for _, r in listed}
    if missing_deps:
        errors.append(f"no commune in départements {sorted(missing_deps)}")
    if errors:
        shown = errors[:20]
        if len(errors) > len(shown):
            shown.append(f"... and {len(errors) - len(shown)} more")
        raise DataError("\n  ".join(["bad input:"] + shown))
    changes = {"renamed": renamed, "under a new code": len(lent),
               "merged into another": len(set(by_code) - codes - lent),
               "left out": len(left_out)}
    for locs in regions.values():
        locs.sort(key=lambda loc: loc[0])
    names = name_lines(regions, {r["code"]: r for _, r in listed}, cities, city_points, parts, labels)
    return regions, names, changes, left_out


def name_lines(regions, communes, cities, city_points, parts, labels):
    """The names file's lines after its header, grouped by locality in table
    order, then the cities listed by arrondissement."""
    places = [communes[fields[0]] for locs in regions.values() for _, fields in locs]
    places += [cities[code] for code in sorted(cities) if code in city_points]
    known = {r["code"] for r in places}
    # A former code still in use names that locality, not the one it merged into.
    former = {}
    for r in places:
        for old in r["anciens_codes"]:
            if old not in known:
                former.setdefault(old, set()).add(r["code"])
    owners = lambda code: {code} if code in known else former.get(code, set())
    routed = {}
    for _, l in labels:
        for owner in owners(l["code_commune"]):
            routed.setdefault(owner, {}).setdefault(l["libelle_acheminement"], set()).add(l["code_postal"])
    named_parts = {}
    for p in parts:
        for owner in owners(p["parent"]):
            named_parts.setdefault(owner, set()).add((p["nom"], p["type"].split("-")[1]))

    lines = []
    for r in places:
        code, postcodes = r["code"], " ".join(r["codes_postaux"])
        if code in cities:
            point = city_points[code]
            lines.append(f"{code};{r['nom']};ville;{postcodes};{point['LATITUDE']};{point['LONGITUDE']};"
                         f"{r['population']}")
        else:
            lines.append(f"{code};{r['nom']};officiel;{postcodes};;;")
        for label, codes in sorted(routed.get(code, {}).items()):
            if plain_capitals(label) == plain_capitals(r["nom"]):
                continue  # the official name says as much
            lines.append(f"{code};{label};acheminement;{' '.join(sorted(codes))};;;")
        for name, kind in sorted(named_parts.get(code, ())):
            if name != r["nom"] and plain_cell(name):
                lines.append(f"{code};{name};{kind};;;;")
        for old in r["anciens_codes"]:
            if old in former:
                lines.append(f"{code};{old};ancien_code;;;;")
    return lines


def file_bytes(base, localities):
    if len(localities) > 16384:
        raise DataError(f"{base}: {len(localities)} localities, the window lists hold 16384")
    lines = []
    for _, (_, name, postcode, _, _, lat, lon, _) in localities:
        item = f"{name}-{postcode}"
        item = f'"{item}"' if "," in item else item
        lines.append(f"{lat},{lon},{item}\r\n")
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


def table_bytes(regions):
    lines = [TABLE_HEADER] + [";".join(fields) for locs in regions.values() for _, fields in locs]
    return "".join(line + "\n" for line in lines).encode("utf-8")


def names_bytes(lines):
    return "".join(line + "\n" for line in [NAMES_HEADER] + lines).encode("utf-8")


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
    parser = argparse.ArgumentParser(description="Builds the 22 region locality files and the "
                                                 "France-wide locality table.")
    parser.add_argument("--communes", type=Path, default=DEFAULT_COMMUNES,
                        help="current commune list (default: %(default)s)")
    parser.add_argument("--coordinates", type=Path, default=DEFAULT_COORDINATES,
                        help="older commune list with coordinates (default: %(default)s)")
    parser.add_argument("--labels", type=Path, default=DEFAULT_LABELS,
                        help="La Poste's routing labels (default: %(default)s)")
    parser.add_argument("--output", type=Path, default=DEFAULT_OUTPUT,
                        help="folder for the region files (default: %(default)s)")
    parser.add_argument("--table", type=Path, default=DEFAULT_TABLE,
                        help="France-wide table (default: %(default)s)")
    parser.add_argument("--names", type=Path, default=DEFAULT_NAMES,
                        help="names of the table's localities (default: %(default)s)")
    args = parser.parse_args(argv)
    try:
        regions, names, changes, left_out = join(args.communes, args.coordinates, args.labels)
        files = {args.output / f"{base}.txt": file_bytes(base, locs) for base, locs in regions.items()}
        files[args.table] = table_bytes(regions)
        files[args.names] = names_bytes(names)
    except (DataError, OSError, UnicodeDecodeError) as err:
        print(f"make_regions: {err}", file=sys.stderr)
        return 1
    for path, data in files.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        write_atomically(path, data)
    total = sum(len(locs) for locs in regions.values())
    print(f"{total} localities in {len(regions)} region files in {args.output} and in {args.table}")
    print(f"{len(names)} names in {args.names}")
    print("since the older list: " + ", ".join(f"{n} {what}" for what, n in changes.items()))
    for code, name in left_out:
        print(f"left out, no coordinates: {code} {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
