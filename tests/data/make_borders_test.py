#!/usr/bin/env python3
# The border generator on three hand-made départements, then on the real
# source, which must rebuild the shipped file byte for byte: make_borders_test.py GENERATOR

import json
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path


def square(code, x, y, size=0.1, steps=10):
    # A square ring in degrees with points along its sides, so that a side is an arc of many segments.
    side = [(x + size * i / steps, y) for i in range(steps)]
    side += [(x + size, y + size * i / steps) for i in range(steps)]
    side += [(x + size - size * i / steps, y + size) for i in range(steps)]
    side += [(x, y + size - size * i / steps) for i in range(steps)]
    ring = [[round(a, 5), round(b, 5)] for a, b in side]
    return {"type": "Feature", "properties": {"code": code, "nom": code},
            "geometry": {"type": "Polygon", "coordinates": [ring + [ring[0]]]}}


def run(features):
    with tempfile.TemporaryDirectory(prefix="make-borders-") as root:
        source, output = Path(root) / "in.geojson", Path(root) / "out.txt"
        source.write_text(json.dumps({"type": "FeatureCollection", "features": features}), encoding="utf-8")
        done = subprocess.run([sys.executable, "-B", GENERATOR, "--source", source, "--output", output],
                              capture_output=True, text=True)
        return done.returncode, done.stderr, output.read_text(encoding="utf-8") if output.exists() else ""


class Generator(unittest.TestCase):
    def test_each_shared_border_once_with_its_kind(self):
        # 35 and 22 are both Bretagne; 50 is Basse-Normandie: 35|50 is a region border.
        code, err, text = run([square("35", -1.6, 48.0), square("50", -1.5, 48.0), square("22", -1.6, 48.1)])
        self.assertEqual(code, 0, err)
        arcs = [line.split() for line in text.splitlines() if not line.startswith("#")]
        local = sorted((a[1], a[2], a[3]) for a in arcs if a[0] == "100")
        self.assertEqual(local, [("D", "22", "35"), ("N", "22", "-"), ("N", "35", "-"), ("N", "50", "-"),
                                 ("R", "35", "50")])
        # A straight side of about 7 to 11 km keeps its two ends only; points are whole metres.
        shared = next(a for a in arcs if a[0] == "100" and a[1] == "R")
        self.assertEqual(len(shared), 4 + 4)
        self.assertTrue(all(n.lstrip("-").isdigit() for n in shared[4:]))

    def test_a_broken_source_writes_nothing(self):
        code, err, text = run([{"type": "Feature", "properties": {}, "geometry": {"type": "Polygon"}}])
        self.assertEqual((code, text), (1, ""))
        self.assertIn("make_borders:", err)

    def test_the_shipped_file_rebuilds_byte_for_byte(self):
        root = Path(GENERATOR).resolve().parent.parent
        with tempfile.TemporaryDirectory(prefix="make-borders-") as out:
            output = Path(out) / "contours.txt"
            done = subprocess.run([sys.executable, "-B", GENERATOR, "--output", output], capture_output=True, text=True)
            self.assertEqual(done.returncode, 0, done.stderr)
            shipped = (root / "data" / "france" / "contours.txt").read_bytes()
            self.assertEqual(output.read_bytes(), shipped)
            self.assertLess(len(shipped), 1_000_000)


if __name__ == "__main__":
    GENERATOR = sys.argv.pop(1)
    unittest.main()
