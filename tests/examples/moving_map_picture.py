#!/usr/bin/env python3
"""tests/examples/moving_map_picture.py
Checks the moving-map example's picture against the scenery it was drawn
from, with its own projection (orthographic, on the tangent plane at the
aircraft, turned track up), not the library's.

  moving_map_picture.py centre FACILITIES.csv
      prints "LAT LON" (degrees): the aircraft position whose map shows the
      most facilities (the middle of those around the densest facility).
  moving_map_picture.py check PICTURE.png FACILITIES.csv LAT LON TRACK RANGE_NM
      checks every facility's symbol at its projected pixel, the empty
      middle of VOR circles and NDB triangles, the labels, the range ring
      and the aircraft; exits 1 with the failures listed.

FACILITIES.csv is skorvan-facilities' CSV (kind,ident,lat_deg,lon_deg,...).
The geometry is the gauge's: a square frame of 512 pixels, the range ring
two fifths of it from the centre, the map range at the ring."""
import csv
import math
import struct
import sys
import zlib

FRAME = 512
RING = FRAME * 2 // 5
EARTH_RADIUS_M = 6367310.0
METRES_PER_NM = 1852.0
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
RING_GREY = (90, 90, 90)


def read_facilities(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    return [(r["kind"], r["ident"], float(r["lat_deg"]), float(r["lon_deg"])) for r in rows]


def read_png(path):
    """RGB rows of an 8-bit RGB PNG whose rows carry filter 0 (as the runner writes)."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]:
            raise SystemExit(f"{path}: bad CRC in {kind!r}")
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if (depth, colour) != (8, 2):
                raise SystemExit(f"{path}: not 8-bit RGB")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    if len(raw) != stride * height:
        raise SystemExit(f"{path}: {len(raw)} bytes of pixels for {width}x{height}")
    rows = []
    for y in range(height):
        row = raw[y * stride:(y + 1) * stride]
        if row[0] != 0:
            raise SystemExit(f"{path}: row {y} uses filter {row[0]}")
        rows.append([tuple(row[1 + 3 * x:4 + 3 * x]) for x in range(width)])
    return width, height, rows


def project(lat, lon, lat0, lon0, track, range_m):
    """Canvas pixel of a position (degrees): east and north on the tangent
    plane, turned by minus the track, scaled so the ring is the range. None
    for the far side of the earth, which would land on the same plane."""
    p, l, p0 = math.radians(lat), math.radians(lon - lon0), math.radians(lat0)
    if math.sin(p) * math.sin(p0) + math.cos(p) * math.cos(p0) * math.cos(l) <= 0:
        return None
    east = EARTH_RADIUS_M * math.cos(p) * math.sin(l)
    north = EARTH_RADIUS_M * (math.sin(p) * math.cos(p0) - math.cos(p) * math.sin(p0) * math.cos(l))
    t = math.radians(-track)
    x = math.cos(t) * east + math.sin(t) * north
    z = -math.sin(t) * east + math.cos(t) * north
    c = FRAME / 2
    return c + x / range_m * RING, c - z / range_m * RING


def centre(facilities):
    cells = {}
    for f in facilities:
        cells.setdefault((math.floor(f[2]), math.floor(f[3])), []).append(f)
    best, best_count = None, -1
    for _, _, lat, lon in facilities:
        if abs(lon) > 170:  # this search's window does not wrap round the antimeridian
            continue
        k = math.cos(math.radians(lat))
        window = [g for dlat in (-1, 0, 1) for dlon in (-2, -1, 0, 1, 2)
                  for g in cells.get((math.floor(lat) + dlat, math.floor(lon) + dlon), ())
                  if abs(g[2] - lat) < 0.75 and abs(g[3] - lon) * k < 0.75]
        if len(window) > best_count:
            best_count = len(window)
            # Their middle rather than one of them, so none sits under the aircraft.
            best = (sum(g[2] for g in window) / len(window), sum(g[3] for g in window) / len(window))
    print(f"{best[0]:.4f} {best[1]:.4f}")


def check(picture, facilities, lat0, lon0, track, range_nm):
    width, height, rows = read_png(picture)
    if (width, height) != (FRAME, FRAME):
        raise SystemExit(f"{picture}: {width}x{height}, not {FRAME}x{FRAME}")
    range_m = range_nm * METRES_PER_NM
    s = RING
    failures, checked = [], 0

    def near(x, y, colour, r=1):
        xi, yi = int(x), int(y)  # the map truncates toward zero; all points here are positive
        return any(0 <= xi + dx < width and 0 <= yi + dy < height and rows[yi + dy][xi + dx] == colour
                   for dx in range(-r, r + 1) for dy in range(-r, r + 1))

    # Every facility drawn, and the box each covers with its symbol and label.
    drawn = []
    for kind, ident, lat, lon in facilities:
        point = project(lat, lon, lat0, lon0, track, range_m)
        if point is None:
            continue
        x, y = point
        if 0 < x < width and 0 < y < height:
            box = (x - 0.07 * s - 2, y - 0.1 * s - 2, x + 0.05 * s + 9 * len(ident) + 2, y + 0.07 * s + 2)
            drawn.append((kind, ident, x, y, box))
    c = FRAME / 2

    def covered(x, y, me):
        """Whether anything but facility me may paint around (x, y)."""
        if abs(x - c) < 12 and abs(y - c) < 13:  # the aircraft
            return True
        if abs(math.hypot(x - c, y - c) - RING) < 3:
            return True
        return any(o is not me and o[4][0] <= x + 1 and x - 1 <= o[4][2] and o[4][1] <= y + 1 and y - 1 <= o[4][3]
                   for o in drawn)

    for me in drawn:
        kind, ident, x, y, _ = me
        if not (0.1 * s < x < width - 0.1 * s - 9 * len(ident) and 0.12 * s < y < height - 0.1 * s):
            continue  # partly off the frame
        if abs(x - c) < 14 and abs(y - c) < 14:
            continue  # under the aircraft, drawn last
        checked += 1
        if kind == "VOR":
            strokes = [(x, y - 0.045 * s), (x, y + 0.045 * s), (x - 0.045 * s, y), (x + 0.045 * s, y)]
            hollow = [(x, y)]
        elif kind == "NDB":
            strokes = [(x, y + 0.04 * s), (x, y - 0.04 * s + 1)]
            hollow = [(x, y + 0.013 * s)]
        elif kind == "AIRPORT":
            strokes = [(x, y), (x, y - 0.025 * s), (x - 0.025 * s, y)]
            hollow = []
        else:
            failures.append(f"{kind} {ident}: unknown kind")
            continue
        for px, py in strokes:
            if not near(px, py, MAGENTA):
                failures.append(f"{kind} {ident}: no magenta at ({px:.1f}, {py:.1f}) of its symbol at ({x:.1f}, {y:.1f})")
        for px, py in hollow:
            if not covered(px, py, me) and near(px, py, MAGENTA):
                failures.append(f"{kind} {ident}: magenta inside its symbol at ({px:.1f}, {py:.1f})")
        label = [(x + 0.05 * s + dx, y - 0.1 * s + dy) for dx in range(0, 7 * len(ident)) for dy in range(0, 15)]
        if not any(near(px, py, MAGENTA, 0) for px, py in label):
            failures.append(f"{kind} {ident}: no label right of and above ({x:.1f}, {y:.1f})")
    if checked < 3:
        failures.append(f"only {checked} facilities to check: the picture tells too little")
    if not near(c, c - 5, WHITE, 0) or not near(c, c + 8, WHITE, 0):
        failures.append("no aircraft at the centre")
    ring = [(c, c - RING), (c + RING, c), (c, c + RING), (c - RING, c)]
    seen = sum(near(px, py, RING_GREY) for px, py in ring)
    if seen < 3:  # a facility may paint over one
        failures.append(f"the range ring shows at {seen} of its four ends")
    for f in failures:
        print(f"moving-map picture: {f}")
    print(f"moving-map picture: {checked} of {len(drawn)} facilities drawn checked at their own pixels, "
          f"{len(failures)} failures")
    return 1 if failures else 0


def main(argv):
    if len(argv) == 3 and argv[1] == "centre":
        centre(read_facilities(argv[2]))
        return 0
    if len(argv) == 8 and argv[1] == "check":
        return check(argv[2], read_facilities(argv[3]), *map(float, argv[4:8]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
