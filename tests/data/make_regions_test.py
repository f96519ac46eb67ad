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
HEADER = ["ID", "REF_INSEE", "NAME", "SLUG", "NORMALIZED", "DEPARTMENT", "REGION",
          "IS_DISTRICT", "DISTRICT_OF", "ZIP_CODES", "LATITUDE", "LONGITUDE"]


def commune(code, name, zip_code, lat="45.5", lon="4.5", dep=None, district_of=""):
    return {"REF_INSEE": code, "NAME": name, "DEPARTMENT": dep or code[:2],
            "IS_DISTRICT": "1" if district_of else "0", "DISTRICT_OF": district_of,
            "ZIP_CODES": zip_code, "LATITUDE": lat, "LONGITUDE": lon}


# A commune in every département, so that none is reported missing.
BASE = [commune(f"{dep}999", f"Village {dep}", "10000", dep=dep)
        for dep in [f"{n:02d}" for n in range(1, 96) if n != 20] + ["2A", "2B"]]


def run(rows, raw_lines=()):
    # The generator's exit code, messages and files (base name: bytes).
    with tempfile.TemporaryDirectory(prefix="make-regions-") as root:
        source, output = Path(root) / "communes.csv", Path(root) / "regions"
        with open(source, "w", encoding="utf-8", newline="") as f:
            csv.writer(f, quoting=csv.QUOTE_ALL).writerows(
                [HEADER] + [[str(i) if c == "ID" else row.get(c, "") for c in HEADER]
                            for i, row in enumerate(rows, 1)])
            f.writelines(line + "\n" for line in raw_lines)
        done = subprocess.run([sys.executable, "-B", GENERATOR, "--source", str(source),
                               "--output", str(output)], capture_output=True, text=True)
        return done.returncode, done.stderr, {p.stem: p.read_bytes() for p in output.glob("*")}


class Generator(unittest.TestCase):
    def test_writes_sorted_windows_1252_records_for_the_22_regions(self):
        code, stderr, files = run(BASE + [
            commune("01001", "L'Abergement-Clémenciat", "01400", "46.1534255214", "4.92611354223"),
            commune("01002", "Zèbre", "01000"),
            commune("01003", "Ébène", "01000", "45.0000005", "5.9999994"),
            commune("01004", "Eau-Vive", "01300"),
            commune("01005", "Eau-Vive", "01200"),
            commune("01006", "Œuf", "01000"),
            commune("01007", "Oeil", "01000"),
            commune("01008", "Virgule, La", "01000"),
            commune("01009", "Greenwich", "01000", lon="-0.00000049"),
            commune("75056", "Paris", "75000", "48.86", "2.34"),
            commune("75101", "Paris 1er Arrondissement", "75001", "48.86", "2.34", district_of="75056"),
            commune("97101", "Les Abymes", "97139", "16.27", "-61.5", dep="971"),
        ])
        self.assertEqual((code, len(files)), (0, 22), stderr)
        self.assertEqual(files["Rhonealpes"], "".join(line + "\r\n" for line in [
            "45.500000,4.500000,EAU VIVE-01200",  # ties by postcode
            "45.500000,4.500000,EAU VIVE-01300",
            "45.000001,5.999999,ÉBÈNE-01000",
            "45.500000,-0.000001,GREENWICH-01000",  # never 0, read as a name
            "46.153426,4.926114,L'ABERGEMENT CLÉMENCIAT-01400",
            "45.500000,4.500000,OEIL-01000",
            "45.500000,4.500000,ŒUF-01000",
            *[f"45.500000,4.500000,VILLAGE {dep}-10000"
              for dep in ("01", "07", "26", "38", "42", "69", "73", "74")],
            '45.500000,4.500000,"VIRGULE, LA-01000"',
            "45.500000,4.500000,ZÈBRE-01000",
        ]).encode("cp1252"))
        self.assertIn(b"PARIS 1ER ARRONDISSEMENT-75001", files["Iledefrance"])
        self.assertNotIn(b"PARIS-", files["Iledefrance"])
        self.assertFalse([r for r, data in files.items() if b"ABYMES" in data])

    def test_rejects_bad_rows_with_a_message_and_writes_nothing(self):
        cases = [  # (rows, raw lines, expected message)
            (BASE + [commune("01001", "Āzé", "01000")], [], "line 98: name 'Āzé': 'Ā' has no Windows-1252 code"),
            (BASE + [commune("01001", "3 Rivières", "01000")], [], "would be read as a number"),
            (BASE + [commune("01001", "Zéro", "01000", lon="0.0")], [], "longitude is exactly 0"),
            (BASE + [commune("01001", "Virgule", "01000", lon="4,5")], [], "not a decimal number"),
            (BASE + [commune("01001", "Court", "1000")], [], "postcode '1000' is not five digits"),
            # Every bad row is reported, not only the first.
            (BASE + [commune("01001", "Sud", "01000", lat="12"), commune("01002", "Est", "01000", lon="10.2")],
             [], "line 99: longitude 10.2 lies outside"),
            (BASE + [commune("01001", "Un", "01000"), commune("01001", "Deux", "01000")], [],
             "commune 01001 listed twice"),
            (BASE + [commune("13201", "Marseille 1er", "13001", "43.3", "5.4", district_of="13055")], [],
             "arrondissements of unknown communes ['13055']"),
            ([row for row in BASE if row["DEPARTMENT"] != "90"], [], "no commune in départements ['90']"),
            (BASE, ['"98","01001","Court","court","court","01","84","0",,"01000"'], "line 98: 10 fields, expected 12"),
        ]
        for rows, raw, message in cases:
            with self.subTest(message):
                code, stderr, files = run(rows, raw)
                self.assertEqual((code, files), (1, {}))
                self.assertIn(message, stderr)


if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1) if len(sys.argv) > 1 else \
        str(Path(__file__).resolve().parents[2] / "tools" / "make_regions.py")
    unittest.main()
