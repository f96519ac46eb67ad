#!/usr/bin/env python3
"""The region file generator on small hand-made commune lists.

    make_regions_test.py GENERATOR
"""

import csv
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

GENERATOR = None

HEADER = ["ID", "REF_INSEE", "NAME", "SLUG", "NORMALIZED", "DEPARTMENT", "REGION",
          "IS_DISTRICT", "DISTRICT_OF", "ZIP_CODES", "LATITUDE", "LONGITUDE"]

DEPARTMENTS = [f"{n:02d}" for n in range(1, 96) if n != 20] + ["2A", "2B"]


def commune(code, name, zip_code, lat="45.5", lon="4.5", dep=None, district_of=""):
    return {"REF_INSEE": code, "NAME": name, "DEPARTMENT": dep or code[:2],
            "IS_DISTRICT": "1" if district_of else "0", "DISTRICT_OF": district_of,
            "ZIP_CODES": zip_code, "LATITUDE": lat, "LONGITUDE": lon}


def one_per_department():
    """A commune in every département, so that none is reported missing."""
    return [commune(f"{dep}999", f"Village {dep}", "10000", dep=dep) for dep in DEPARTMENTS]


class Run:
    def __init__(self, rows, raw_lines=()):
        self.dir = tempfile.TemporaryDirectory(prefix="make-regions-")
        root = Path(self.dir.name)
        self.source = root / "communes.csv"
        self.output = root / "regions"
        with open(self.source, "w", encoding="utf-8", newline="") as f:
            out = csv.writer(f, quoting=csv.QUOTE_ALL)
            out.writerow(HEADER)
            for i, row in enumerate(rows, 1):
                out.writerow([row.get(c, "") if c != "ID" else str(i) for c in HEADER])
            for line in raw_lines:
                f.write(line + "\n")
        done = subprocess.run([sys.executable, "-B", GENERATOR, "--source", str(self.source),
                               "--output", str(self.output)], capture_output=True, text=True)
        self.code, self.stderr = done.returncode, done.stderr
        self.files = {p.stem: p.read_bytes() for p in self.output.glob("*")} \
            if self.output.exists() else {}

    def lines(self, region):
        return self.files[region].decode("cp1252").split("\r\n")

    def __del__(self):
        self.dir.cleanup()


class WellFormedSource(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.run_ = Run(one_per_department() + [
            commune("01001", "L'Abergement-Clémenciat", "01400",
                    "46.1534255214", "4.92611354223"),
            commune("01002", "Zèbre", "01000"),
            commune("01003", "Ébène", "01000", "45.0000005", "5.9999994"),
            commune("01004", "Eau-Vive", "01300"),
            commune("01005", "Eau-Vive", "01200"),
            commune("01006", "Œuf", "01000"),
            commune("01007", "Oeil", "01000"),
            commune("01008", "Virgule, La", "01000"),
            commune("01009", "Greenwich", "01000", lon="0.0000004"),
            commune("01010", "Hwich-Ouest", "01000", lon="-0.00000049"),
            commune("75056", "Paris", "75000", "48.86", "2.34"),
            commune("75101", "Paris 1er Arrondissement", "75001", "48.86", "2.34",
                    district_of="75056"),
            commune("97101", "Les Abymes", "97139", "16.27", "-61.5", dep="971"),
        ])

    def test_succeeds_with_22_files(self):
        self.assertEqual(self.run_.code, 0, self.run_.stderr)
        self.assertEqual(len(self.run_.files), 22)

    def test_records_are_sorted_and_written_in_windows_1252(self):
        self.assertEqual(self.run_.files["Rhonealpes"], "".join(line + "\r\n" for line in [
            "45.500000,4.500000,EAU VIVE-01200",
            "45.500000,4.500000,EAU VIVE-01300",
            "45.000001,5.999999,ÉBÈNE-01000",
            "45.500000,0.000001,GREENWICH-01000",
            "45.500000,-0.000001,HWICH OUEST-01000",
            "46.153426,4.926114,L'ABERGEMENT CLÉMENCIAT-01400",
            "45.500000,4.500000,OEIL-01000",
            "45.500000,4.500000,ŒUF-01000",
            *[f"45.500000,4.500000,VILLAGE {dep}-10000"
              for dep in ("01", "07", "26", "38", "42", "69", "73", "74")],
            '45.500000,4.500000,"VIRGULE, LA-01000"',
            "45.500000,4.500000,ZÈBRE-01000",
        ]).encode("cp1252"))

    def test_arrondissements_replace_their_city(self):
        lines = self.run_.lines("Iledefrance")
        self.assertIn("48.860000,2.340000,PARIS 1ER ARRONDISSEMENT-75001", lines)
        self.assertFalse([line for line in lines if "PARIS-" in line])

    def test_overseas_communes_are_left_out(self):
        self.assertFalse([r for r, data in self.run_.files.items() if b"ABYMES" in data])


class MalformedSource(unittest.TestCase):
    CASES = [
        # (what, rows added to a valid list, raw lines, expected message)
        ("name outside Windows-1252", [commune("01001", "Āzé", "01000")], [],
         "line 98: name 'Āzé': 'Ā' has no Windows-1252 code"),
        ("name read as a number", [commune("01001", "3 Rivières", "01000")], [],
         "would be read as a number"),
        ("double quote in a name", [commune("01001", 'Le "Bourg"', "01000")], [],
         "double quote"),
        ("latitude not above 40", [commune("01001", "Sud", "01000", lat="39.9")], [],
         "latitude 39.9 lies outside"),
        ("longitude exactly zero", [commune("01001", "Zéro", "01000", lon="0.0")], [],
         "longitude is exactly 0"),
        ("longitude too far east", [commune("01001", "Est", "01000", lon="10.2")], [],
         "longitude 10.2 lies outside"),
        ("decimal comma", [commune("01001", "Virgule", "01000", lon="4,5")], [],
         "not a decimal number"),
        ("short postcode", [commune("01001", "Court", "1000")], [],
         "postcode '1000' is not five digits"),
        ("unknown département", [commune("99001", "Ailleurs", "99000")], [],
         "unknown département '99'"),
        ("commune twice", [commune("01001", "Un", "01000"), commune("01001", "Deux", "01000")],
         [], "commune 01001 listed twice"),
        ("arrondissement of a missing city",
         [commune("13201", "Marseille 1er", "13001", "43.3", "5.4", district_of="13055")], [],
         "arrondissements of unknown communes ['13055']"),
        ("missing field", [], ['"98","01001","Court","court","court","01","84","0",,"01000"'],
         "line 98: 10 fields, expected 12"),
        ("blank row", [], [""], "line 98: 0 fields, expected 12"),
    ]

    def test_rejects_with_a_message_and_writes_nothing(self):
        for what, rows, raw, message in self.CASES:
            with self.subTest(what):
                run = Run(one_per_department() + rows, raw)
                self.assertEqual(run.code, 1)
                self.assertIn(message, run.stderr)
                self.assertEqual(run.files, {})

    def test_missing_department_is_reported(self):
        run = Run([row for row in one_per_department() if row["DEPARTMENT"] != "90"])
        self.assertEqual(run.code, 1)
        self.assertIn("no commune in départements ['90']", run.stderr)

    def test_every_bad_row_is_reported(self):
        run = Run(one_per_department() + [commune("01001", "Sud", "01000", lat="12"),
                                          commune("01002", "Nord", "01000", lat="60")])
        self.assertEqual(run.code, 1)
        self.assertIn("line 98: latitude 12", run.stderr)
        self.assertIn("line 99: latitude 60", run.stderr)


if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1) if len(sys.argv) > 1 else \
        str(Path(__file__).resolve().parents[2] / "tools" / "make_regions.py")
    unittest.main()
