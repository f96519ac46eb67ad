#!/usr/bin/env python3
"""Builds the border file the maps draw (data/france/contours.txt).

    python3 tools/make_borders.py [--source GEOJSON] [--output FILE]

The source holds one polygon per département (longitude, latitude), each
border written twice, once by each side. Every ring is cut where the set of
départements owning its segments changes; each piece is kept once, projected
to Lambert-93 and simplified with Douglas-Peucker at two tolerances: 100 m
for local maps, 1 km for national ones. A piece with one side only is the
national outline; one whose two sides lie in different former regions (the
table of tools/make_regions.py) is a region border.

Output, UTF-8, one arc per line after the "#" comments:
    TOLERANCE KIND DEP1 DEP2 X0 Y0 DX1 DY1 DX2 DY2 ...
TOLERANCE in metres (100 or 1000), KIND N (outline), R (region border) or
D (département border), DEP2 "-" for the outline, then whole metres: the
first point, and each next point as its difference from the one before.

Standard library only, so the file rebuilds anywhere Python 3 runs.
"""

import argparse
import json
import math
import os
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(Path(__file__).resolve().parent))
from make_regions import REGIONS  # noqa: E402

DEFAULT_SOURCE = ROOT / "data" / "source" / "departements.geojson"
DEFAULT_OUTPUT = ROOT / "data" / "france" / "contours.txt"
TOLERANCES = (100, 1000)

# Lambert-93 (EPSG:2154): conic conformal on GRS80, the same formulas as core/render/projection.cpp.
A = 6378137.0
F = 1 / 298.257222101
E = math.sqrt(2 * F - F * F)


def _m(phi):
    return math.cos(phi) / math.sqrt(1 - (E * math.sin(phi)) ** 2)


def _t(phi):
    s = E * math.sin(phi)
    return math.tan(math.pi / 4 - phi / 2) / ((1 - s) / (1 + s)) ** (E / 2)


_P1, _P2, _P0 = math.radians(49), math.radians(44), math.radians(46.5)
N = (math.log(_m(_P1)) - math.log(_m(_P2))) / (math.log(_t(_P1)) - math.log(_t(_P2)))
AF = A * _m(_P1) / (N * _t(_P1) ** N)
RHO0 = AF * _t(_P0) ** N


def lambert93(lon, lat):
    rho = AF * _t(math.radians(lat)) ** N
    theta = N * math.radians(lon - 3.0)
    return 700000.0 + rho * math.sin(theta), 6600000.0 + RHO0 - rho * math.cos(theta)


def distance_to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def douglas_peucker(points, tolerance):
    keep = [False] * len(points)
    keep[0] = keep[-1] = True
    stack = [(0, len(points) - 1)]
    while stack:
        first, last = stack.pop()
        worst, index = 0.0, -1
        for i in range(first + 1, last):
            d = distance_to_segment(points[i], points[first], points[last])
            if d > worst:
                worst, index = d, i
        if index >= 0 and worst > tolerance:
            keep[index] = True
            stack += [(first, index), (index, last)]
    return [p for p, k in zip(points, keep) if k]


def rings(feature):
    geometry = feature["geometry"]
    polygons = [geometry["coordinates"]] if geometry["type"] == "Polygon" else geometry["coordinates"]
    for polygon in polygons:
        for ring in polygon:
            yield [tuple(p) for p in ring]


def arcs(features):
    """(owners, lon/lat points) for each border piece, kept once."""
    owners = {}
    for feature in features:
        code = feature["properties"]["code"]
        for ring in rings(feature):
            for a, b in zip(ring, ring[1:]):
                owners.setdefault(frozenset((a, b)), set()).add(code)
    pieces = []
    for feature in features:
        code = feature["properties"]["code"]
        for ring in rings(feature):
            if ring[0] != ring[-1]:
                ring.append(ring[0])
            sides = [frozenset(owners[frozenset(e)]) for e in zip(ring, ring[1:])]
            cuts = [i for i in range(len(sides)) if sides[i] != sides[i - 1]]
            if not cuts:
                runs = [(sides[0], ring)]
            else:
                # Start at a cut so that no piece wraps around the ring's first point.
                start = cuts[0]
                ring = ring[start:-1] + ring[:start + 1]
                sides = sides[start:] + sides[:start]
                runs, first = [], 0
                for i in range(1, len(sides) + 1):
                    if i == len(sides) or sides[i] != sides[first]:
                        runs.append((sides[first], ring[first:i + 1]))
                        first = i
            for side, points in runs:
                if min(side) == code:  # the other side writes it too
                    pieces.append((sorted(side), points))
    return pieces


def build(source):
    features = json.loads(Path(source).read_text(encoding="utf-8"))["features"]
    features.sort(key=lambda f: f["properties"]["code"])
    region_of = {dep: region for region, deps in REGIONS.items() for dep in deps}
    lines = [
        "# Contours des départements de France métropolitaine, Lambert-93 (EPSG:2154), mètres.",
        "# Contours : IGN – Admin Express COG 2018 (Licence Ouverte) ; fichier refait par tools/make_borders.py.",
        "# TOLÉRANCE NATURE DÉP1 DÉP2 X0 Y0 DX DY... (N pays, R ancienne région, D département)",
    ]
    pieces = arcs(features)
    for tolerance in TOLERANCES:
        for side, points in pieces:
            projected = [lambert93(lon, lat) for lon, lat in points]
            kept = douglas_peucker(projected, tolerance)
            rounded = [(round(x), round(y)) for x, y in kept]
            rounded = [p for i, p in enumerate(rounded) if i == 0 or p != rounded[i - 1]]
            closed = points[0] == points[-1]
            if len(rounded) < (4 if closed else 2):
                continue  # an islet below the tolerance
            if len(side) == 1:
                kind, deps = "N", (side[0], "-")
            else:
                a, b = side[0], side[-1]
                kind = "R" if region_of.get(a) != region_of.get(b) else "D"
                deps = (a, b)
            numbers = [*rounded[0]]
            for (x0, y0), (x1, y1) in zip(rounded, rounded[1:]):
                numbers += [x1 - x0, y1 - y0]
            lines.append(" ".join([str(tolerance), kind, *deps, *map(str, numbers)]))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=DEFAULT_SOURCE)
    parser.add_argument("--output", default=DEFAULT_OUTPUT)
    args = parser.parse_args()
    try:
        text = build(args.source)
    except (OSError, ValueError, KeyError, TypeError) as err:
        print(f"make_borders: {args.source}: {err}", file=sys.stderr)
        return 1
    output = Path(args.output)
    output.parent.mkdir(parents=True, exist_ok=True)
    # Written aside, then renamed: a failed run leaves the old file whole.
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", newline="\n", dir=output.parent, delete=False) as tmp:
        tmp.write(text)
    os.chmod(tmp.name, 0o644)
    os.replace(tmp.name, output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
