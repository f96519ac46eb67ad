#!/usr/bin/env python3
# The region file generator on small hand-made commune lists.
#
#     make_regions_test.py GENERATOR

import csv
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

GENERATOR = None
COMMUNE_HEADER = ["code", "nom", "departement", "type", "parent", "codes_postaux",
                  "population", "anciens_codes"]
COORDINATE_HEADER = ["ID", "REF_INSEE", "NAME", "SLUG", "NORMALIZED", "DEPARTMENT", "REGION",
                     "IS_DISTRICT", "DISTRICT_OF", "ZIP_CODES", "LATITUDE", "LONGITUDE"]


def commune(code, name, postcodes="01000", population="100", kind="commune-actuelle", parent=""):
    return {"code": code, "nom": name, "departement": code[:3] if code.startswith("97") else code[:2],
            "type": kind, "parent": parent, "codes_postaux": postcodes, "population": population}


def older(code, name, zip_code="01000", lat="45.5", lon="4.5", district_of=""):
    return {"REF_INSEE": code, "NAME": name, "DEPARTMENT": code[:2], "IS_DISTRICT": "1" if district_of else "0",
            "DISTRICT_OF": district_of, "ZIP_CODES": zip_code, "LATITUDE": lat, "LONGITUDE": lon}


# A commune in every département, in both lists, so that none is reported missing.
DEPS = [f"{n:02d}" for n in range(1, 96) if n != 20] + ["2A", "2B"]
BASE_COMMUNES = [commune(f"{dep}999", f"Village {dep}", "10000") for dep in DEPS]
BASE_OLDER = [older(f"{dep}999", f"Village {dep}", "10000") for dep in DEPS]


def write(path, header, rows, raw_lines=(), quoting=csv.QUOTE_MINIMAL):
    with open(path, "w", encoding="utf-8", newline="") as f:
        csv.writer(f, quoting=quoting).writerows(
            [header] + [[str(i) if c == "ID" else row.get(c, "") for c in header]
                        for i, row in enumerate(rows, 1)])
        f.writelines(line + "\n" for line in raw_lines)


def run(communes, olds, raw_communes=()):
    # The generator's exit code, output and files (base name or "table": bytes).
    with tempfile.TemporaryDirectory(prefix="make-regions-") as root:
        root = Path(root)
        write(root / "new.csv", COMMUNE_HEADER, communes, raw_communes)
        write(root / "old.csv", COORDINATE_HEADER, olds, quoting=csv.QUOTE_ALL)
        done = subprocess.run([sys.executable, "-B", GENERATOR, "--communes", str(root / "new.csv"),
                               "--coordinates", str(root / "old.csv"), "--output", str(root / "regions"),
                               "--table", str(root / "table" / "localites.csv")],
                              capture_output=True, text=True)
        files = {p.stem: p.read_bytes() for p in (root / "regions").glob("*")}
        files.update({"table": p.read_bytes() for p in (root / "table").glob("*")})
        return done.returncode, done.stdout + done.stderr, files


class Generator(unittest.TestCase):
    def test_joins_the_two_lists_into_sorted_region_files_and_the_table(self):
        # The order of names and the rounding are also checked on the real files.
        code, output, files = run(BASE_COMMUNES + [
            commune("01008", "Virgule, La"),
            commune("01001", "L'Abergement-Clémenciat", "01400", "860"),
            commune("01003", "Ébène"),
            commune("01009", "Greenwich", population=""),
            commune("01010", "Nouveau-Nom", "01000 01010"),  # renamed; keeps its older postcode
            commune("01011", "Poste", "01900 01300"),  # older postcode gone: the smallest
            commune("01051", "Fusion", "01500"),  # seat moved: the older row of that name
            commune("01052", "Restaurée"),  # no older row: left out
            commune("01053", "Scindée"),  # its namesake is still listed under its own code: left out
            commune("01054", "Scindée-Reste"),
            commune("01011", "Partie", kind="commune-deleguee", parent="01011", postcodes="", population=""),
            commune("75056", "Paris", "75001 75002", "2100000"),
            commune("75101", "Paris 1er Arrondissement", "75001", "15000", "arrondissement-municipal", "75056"),
            commune("97101", "Les Abymes", "97139"),
        ], BASE_OLDER + [
            older("01008", "Virgule, La"),
            older("01001", "L'Abergement-Clémenciat", "01400", "46.1534255214", "4.92611354223"),
            older("01003", "Ébène", lat="45.0000005", lon="5.9999994"),
            older("01009", "Greenwich", lon="-0.00000049"),
            older("01010", "Ancien Nom", "01010", lat="46.1"),
            older("01011", "Poste", "01100", lat="46.2"),
            older("01049", "Absorbée"),
            older("01050", "Fusion", "01500", lat="46.3"),
            older("01054", "Scindée", lat="46.4"),
            older("75056", "Paris", "75000", "48.86", "2.34"),
            older("75101", "Paris 1er Arrondissement", "75001", "48.86", "2.34", district_of="75056"),
        ])
        self.assertEqual((code, len(files)), (0, 23), output)
        rows = [  # file order: insee, latitude, longitude, item, population
            ("01003", "45.000001", "5.999999", "ÉBÈNE-01000", "100"),
            ("01051", "46.300000", "4.500000", "FUSION-01500", "100"),
            ("01009", "45.500000", "-0.000001", "GREENWICH-01000", ""),  # never 0, read as a name
            ("01001", "46.153426", "4.926114", "L'ABERGEMENT CLÉMENCIAT-01400", "860"),
            ("01010", "46.100000", "4.500000", "NOUVEAU NOM-01010", "100"),
            ("01011", "46.200000", "4.500000", "POSTE-01300", "100"),
            ("01054", "46.400000", "4.500000", "SCINDÉE RESTE-01000", "100"),
            *[(f"{dep}999", "45.500000", "4.500000", f"VILLAGE {dep}-10000", "100")
              for dep in ("01", "07", "26", "38", "42", "69", "73", "74")],
            ("01008", "45.500000", "4.500000", '"VIRGULE, LA-01000"', "100"),
        ]
        self.assertEqual(files["Rhonealpes"],
                         "".join(f"{lat},{lon},{item}\r\n" for _, lat, lon, item, _ in rows).encode("cp1252"))
        table = files["table"].decode("utf-8").split("\n")
        start = table.index("01003;ÉBÈNE;01000;01;Rhonealpes;45.000001;5.999999;100")
        self.assertEqual([line.split(";") for line in table[start:start + len(rows)]],
                         [[insee, *item.strip('"').split("-"), insee[:2], "Rhonealpes", lat, lon, pop]
                          for insee, lat, lon, item, pop in rows])
        self.assertIn(b"PARIS 1ER ARRONDISSEMENT-75001", files["Iledefrance"])
        self.assertNotIn(b"PARIS-", files["Iledefrance"])
        self.assertFalse([r for r, data in files.items() if b"ABYMES" in data])
        self.assertIn("2 renamed, 1 under a new code, 1 merged into another, 2 left out", output)
        self.assertIn("left out, no coordinates: 01052 Restaurée", output)
        self.assertIn("left out, no coordinates: 01053 Scindée", output)

    def test_rejects_bad_rows_with_a_message_and_writes_nothing(self):
        def with_commune(*rows, olds=()):
            return BASE_COMMUNES + list(rows), BASE_OLDER + list(olds), []

        cases = [  # ((communes, older rows, raw commune lines), expected message)
            (with_commune(commune("01001", "Āzé"), olds=[older("01001", "")]),
             "new.csv, line 98: name 'Āzé': 'Ā' has no Windows-1252 code"),
            (with_commune(commune("01001", "3 Rivières"), olds=[older("01001", "")]), "would be read as a number"),
            (with_commune(commune("01001", "Point; Virgule"), olds=[older("01001", "")]), "a semicolon"),
            (with_commune(olds=[older("01001", "Zéro", lon="0.0")]), "old.csv, line 98: longitude is exactly 0"),
            (with_commune(olds=[older("01001", "Virgule", lon="4,5")]), "not a decimal number"),
            (with_commune(commune("01001", "Court", "01000 1000")), "postcode '1000' is not five digits"),
            (with_commune(commune("01001", "Peuplé", population="1.5")), "population '1.5' is not a whole number"),
            (with_commune(commune("01001", "Autre", kind="commune-fantome")), "unknown type 'commune-fantome'"),
            # Every bad row is reported, not only the first.
            (with_commune(olds=[older("01001", "Sud", lat="12"), older("01002", "Est", lon="10.2")]),
             "old.csv, line 99: longitude 10.2 lies outside"),
            (with_commune(commune("01001", "Un"), commune("01001", "Deux")), "commune 01001 listed twice"),
            (with_commune(commune("13201", "Marseille 1er", "13001", kind="arrondissement-municipal",
                                  parent="13055")), "arrondissement of unknown commune '13055'"),
            (with_commune(commune("01051", "Double"), olds=[older("01049", "Double"), older("01050", "Double")]),
             "'Double' matches several older communes"),
            (([c for c in BASE_COMMUNES if c["departement"] != "90"], BASE_OLDER, []),
             "no commune in départements ['90']"),
            ((BASE_COMMUNES, BASE_OLDER, ["01001,Court,01,commune-actuelle,,01000"]),
             "new.csv, line 98: 6 fields, expected 8"),
        ]
        for (communes, olds, raw), message in cases:
            with self.subTest(message):
                code, output, files = run(communes, olds, raw)
                self.assertEqual((code, files), (1, {}))
                self.assertIn(message, output)


if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1) if len(sys.argv) > 1 else \
        str(Path(__file__).resolve().parents[2] / "tools" / "make_regions.py")
    unittest.main()
