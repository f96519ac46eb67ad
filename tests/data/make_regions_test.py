#!/usr/bin/env python3
# The region file generator on small hand-made commune lists, then on the real ones, which must
# rebuild the shipped files byte for byte: make_regions_test.py GENERATOR

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

def commune(code, name, postcodes="01000", population="100", kind="commune-actuelle", parent=""):
    return {"code": code, "nom": name, "departement": code[:3] if code.startswith("97") else code[:2],
            "type": kind, "parent": parent, "codes_postaux": postcodes, "population": population}


def older(code, name, zip_code="01000", lat="45.5", lon="4.5", district_of=""):
    return {"REF_INSEE": code, "NAME": name, "DEPARTMENT": code[:2], "IS_DISTRICT": "1" if district_of else "0",
            "DISTRICT_OF": district_of, "ZIP_CODES": zip_code, "LATITUDE": lat, "LONGITUDE": lon}


COMMUNE_HEADER, COORDINATE_HEADER = [*commune("0", ""), "anciens_codes"], [*older("0", "")]
# A commune in every département, in both lists, so that none is reported missing.
DEPS = [f"{n:02d}" for n in range(1, 96) if n != 20] + ["2A", "2B"]
BASE_COMMUNES = [commune(f"{dep}999", f"Village {dep}", "10000") for dep in DEPS]
BASE_OLDER = [older(f"{dep}999", f"Village {dep}", "10000") for dep in DEPS]


def write(path, header, rows):  # every field quoted; a row given as a string is written as it is
    lines = [row if isinstance(row, str) else ",".join(f'"{row.get(c, "")}"' for c in header) for row in rows]
    Path(path).write_text("\n".join([",".join(header)] + lines) + "\n", encoding="utf-8")


def run(communes, olds, base=BASE_COMMUNES, labels=()):
    # The generator's exit code, output and files (base name: bytes) after the base lists.
    with tempfile.TemporaryDirectory(prefix="make-regions-") as root:
        root = Path(root)
        write(root / "new.csv", COMMUNE_HEADER, base + communes)
        write(root / "old.csv", COORDINATE_HEADER, BASE_OLDER + olds)
        write(root / "labels.csv", ["code_commune", "code_postal", "libelle_acheminement"], labels)
        done = subprocess.run([sys.executable, "-B", GENERATOR, "--communes", root / "new.csv", "--coordinates",
                               root / "old.csv", "--labels", root / "labels.csv", "--output", root / "out",
                               "--table", root / "out" / "table.csv", "--names", root / "out" / "names.csv"],
                              capture_output=True, text=True)
        files = {p.stem: p.read_bytes() for p in (root / "out").glob("*")}
        return done.returncode, done.stdout + done.stderr, files


class Generator(unittest.TestCase):
    def test_joins_the_two_lists_into_sorted_region_files_and_the_table(self):
        # Only what the real lists lack: the rebuild checks the rest byte for byte.
        code, output, files = run([
            commune("01008", "Virgule, La"), commune("01003", "Ébène"), commune("01009", "Greenwich"),
            commune("01053", "Scindée"),  # its namesake is still listed under its own code: left out
            commune("01054", "Scindée-Reste"), commune("97101", "Les Abymes", "97139"),
            commune("01011", "Poste", "01900 01300"),  # older postcode gone: the smallest
            {**commune("01012", "Fusion"), "anciens_codes": "01013 01011"},  # 01011 is still its own
            commune("01013", "Ancienne", kind="commune-deleguee", parent="01012"),
            commune("01014", "Fusion", kind="commune-deleguee", parent="01012"),  # the seat: no second name
            commune("69123", "Lyon", "69001 69002"), commune("69381", "Lyon 1er", "69001", "10", "arrondissement-municipal", "69123"),
        ], [
            older("01008", "Virgule, La"), older("01003", "Ébène", lat="45.0000005", lon="5.9999994"),
            older("01009", "Greenwich", lon="-0.00000049"), older("01054", "Scindée", lat="46.4"),
            older("01011", "Poste", "01100"), older("01012", "Fusion"), older("69123", "Lyon", lat="45.76"),
            older("69381", "Lyon 1er", district_of="69123"),
        ], labels=[{"code_commune": "01013", "code_postal": "01000", "libelle_acheminement": "ANCIENNE"},
                   {"code_commune": "01012", "code_postal": "01000", "libelle_acheminement": "FUSION"}])
        self.assertEqual((code, len(files)), (0, 24), output)
        names = [line for line in files["names"].decode().splitlines() if line.startswith(("01012", "69"))]
        self.assertEqual(names, [
            "01012;Fusion;officiel;01000;;;", "01012;ANCIENNE;acheminement;01000;;;", "01012;Ancienne;deleguee;;;;",
            "01012;01013;ancien_code;;;;", "69381;Lyon 1er;officiel;69001;;;", "69999;Village 69;officiel;10000;;;",
            "69123;Lyon;ville;69001 69002;45.760000;4.500000;100"])
        x = "4.500000"
        rows = [("45.000001", "5.999999", "ÉBÈNE-01000"), ("45.500000", x, "FUSION-01000"),
                ("45.500000", "-0.000001", "GREENWICH-01000"),  # never 0
                ("45.500000", x, "LYON 1ER-69001"), ("45.500000", x, "POSTE-01300"), ("46.400000", x, "SCINDÉE RESTE-01000"),
                *[("45.500000", x, f"VILLAGE {d}-10000") for d in ("01", "07", "26", "38", "42", "69", "73", "74")],
                ("45.500000", x, '"VIRGULE, LA-01000"')]
        self.assertEqual(files["Rhonealpes"], "".join(f"{a},{o},{item}\r\n" for a, o, item in rows).encode("cp1252"))
        self.assertFalse([r for r, data in files.items() if b"ABYMES" in data])
        self.assertIn("left out, no coordinates: 01053 Scindée", output)

    def test_rejects_bad_rows_with_a_message_and_writes_nothing(self):
        c, o = commune, older
        cases = [  # (communes, older rows, expected message[, base communes]); every bad row is reported
            ([c("01001", "Āzé")], [o("01001", "")], "new.csv, line 98: name 'Āzé': 'Ā' has no Windows-1252 code"),
            ([c("01001", "3 Rivières")], [o("01001", "")], "would be read as a number"),
            ([c("01001", "Point; Virgule")], [o("01001", "")], "a semicolon"),
            ([], [o("01001", "Zéro", lon="0.0")], "old.csv, line 98: longitude is exactly 0"),
            ([], [o("01001", "Virgule", lon="4,5")], "not a decimal number"),
            ([], [o("01001", "Nord", lat="40")], "latitude 40 lies outside"),  # the bound telling it from a longitude
            ([c("01001", "Court", "01000 1000")], [], "postcode '1000' is not five digits"),
            ([c("01001", "Peuplé", population="1.5")], [], "population '1.5' is not a whole number"),
            ([c("01001", "Autre", kind="commune-fantome")], [], "unknown type 'commune-fantome'"),
            ([], [o("01001", "Sud", lat="12"), o("01002", "Est", lon="10.2")], "old.csv, line 99: longitude 10.2"),
            ([c("01001", "Un"), c("01001", "Deux")], [], "commune 01001 listed twice"),
            ([c("13201", "M", kind="arrondissement-municipal", parent="13055")], [], "unknown commune '13055'"),
            ([c("01051", "Double")], [o("01049", "Double"), o("01050", "Double")], "'Double' matches several older"),
            ([], [], "no commune in départements ['90']", [r for r in BASE_COMMUNES if r["departement"] != "90"]),
            (["01001,Court,01,commune-actuelle,,01000"], [], "new.csv, line 98: 6 fields, expected 8"),
        ]
        for communes, olds, message, *base in cases:
            with self.subTest(message):
                code, output, files = run(communes, olds, *base)
                self.assertEqual((code, files), (1, {}), output)
                self.assertIn(message, output)

    def test_rebuilds_the_shipped_files_from_the_sources(self):
        repo = Path(GENERATOR).resolve().parents[1]
        with tempfile.TemporaryDirectory(prefix="regions-") as scratch:
            scratch = Path(scratch)
            report = subprocess.run([sys.executable, "-B", GENERATOR, "--output", scratch, "--table",
                                     scratch / "localites.csv", "--names", scratch / "noms.csv"],
                                    check=True, capture_output=True, text=True).stdout
            built = {p.name: p.read_bytes() for p in scratch.iterdir()}
        kept = {p.name: p.read_bytes() for p in (repo / "data/regions").glob("*.txt")}
        for name in ("localites.csv", "noms.csv"):
            kept[name] = (repo / "data/france" / name).read_bytes()
        self.assertEqual(len(built), 24)
        self.assertEqual([n for n in sorted(built.keys() | kept.keys()) if built.get(n) != kept.get(n)], [],
                         "rebuild with: python3 tools/make_regions.py")
        self.assertIn("since the older list: 102 renamed, 5 under a new code, 87 merged into another, 7 left out\n"
                      "left out, no coordinates: 15031 Celles\n", report)

if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1)
    unittest.main()
