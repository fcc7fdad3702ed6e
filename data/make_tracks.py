#!/usr/bin/env python3
"""Generates tracks.json, the readable source of the sample track database.

Run it only to change the sample tracks; the build reads the committed tracks.json
(korvale-cli tracks build tracks.json -o tracks.dat).

Lateral frame of every track with geometry: a lap's lateral value is 0 on the centre
line and grows towards the driver's left. Edge 0 is the left edge, edge 1 the right edge.
The width value (constantWidth or widths) is the lateral value of the reference edge
(edge sideFlag), so on the oval (sideFlag 0, reference = left = inside edge) it is +half
width, and on the road course (sideFlag 1, reference = right edge) it is -half width.
Positions run from the start/finish line at point 0 in the direction of travel.

  python3 make_tracks.py > tracks.json          the source
  python3 make_tracks.py --png DIR              also draws each map into DIR/<id>.png
"""

import json
import math
import struct
import sys
import zlib


def truncate(v):
    return int(v)  # toward zero


# ---------------------------------------------------------------------------------------
# centre lines


def oval_centre(straight, radius, step):
    """Counter-clockwise oval (y up), start/finish in the middle of the front straight.
    Returns centre points (feet) with headings, every ~step feet, closed (last = first)."""
    length = 2 * straight + 2 * math.pi * radius
    n = round(length / step)

    def at(s):
        s %= length
        half = straight / 2
        if s < half:
            return (s, -radius, 0.0)
        s -= half
        arc = math.pi * radius
        if s < arc:
            a = s / radius
            return (half + radius * math.sin(a), -radius * math.cos(a), a)
        s -= arc
        if s < straight:
            return (half - s, radius, math.pi)
        s -= straight
        if s < arc:
            a = s / radius
            return (-half - radius * math.sin(a), radius * math.cos(a), math.pi + a)
        s -= arc
        return (-half + s, -radius, 2 * math.pi)

    pts = [at(length * i / n) for i in range(n)]
    pts.append(pts[0])
    return pts, length


def filleted_loop(vertices, start):
    """A closed centre line: the polygon of vertices (x, y, radius, name) with every vertex
    rounded by a circular arc of its radius. Returns the pieces, the loop length and, per
    named vertex, the arc length of the middle of its arc. start: the point (on the first
    edge, from the last vertex to the first) where the lap starts."""
    k = len(vertices)
    pieces = []  # ("line", p, q) or ("arc", centre, radius, a0, sweep)
    tangents = []
    for i in range(k):
        px, py = vertices[i - 1][:2]
        x, y, r, _ = vertices[i]
        nx, ny = vertices[(i + 1) % k][:2]
        d1 = math.atan2(y - py, x - px)
        d2 = math.atan2(ny - y, nx - x)
        turn = math.remainder(d2 - d1, 2 * math.pi)
        t = r * math.tan(abs(turn) / 2)
        a = (x - t * math.cos(d1), y - t * math.sin(d1))
        b = (x + t * math.cos(d2), y + t * math.sin(d2))
        side = 1 if turn > 0 else -1  # left turn: centre to the left
        c = (a[0] - side * r * math.sin(d1), a[1] + side * r * math.cos(d1))
        a0 = math.atan2(a[1] - c[1], a[0] - c[0])
        tangents.append((a, b, c, a0, turn, r))
    # first line runs from the start point to vertex 0's arc
    for i in range(k):
        a, b, c, a0, turn, r = tangents[i]
        prev_b = start if i == 0 else tangents[i - 1][1]
        pieces.append(("line", prev_b, a, None))
        pieces.append(("arc", c, r, a0, turn, vertices[i][3]))
    pieces.append(("line", tangents[-1][1], start, None))
    length = 0.0
    marks = []
    for pc in pieces:
        if pc[0] == "line":
            n = math.hypot(pc[2][0] - pc[1][0], pc[2][1] - pc[1][1])
            length += n
        else:
            n = abs(pc[4]) * pc[2]
            if pc[5]:
                marks.append((pc[5], length + n / 2))
            length += n
    return pieces, length, marks


def loop_point(pieces, s):
    for pc in pieces:
        if pc[0] == "line":
            n = math.hypot(pc[2][0] - pc[1][0], pc[2][1] - pc[1][1])
            if s <= n or pc is pieces[-1]:
                h = math.atan2(pc[2][1] - pc[1][1], pc[2][0] - pc[1][0])
                f = s / n if n else 0
                return (pc[1][0] + (pc[2][0] - pc[1][0]) * f, pc[1][1] + (pc[2][1] - pc[1][1]) * f, h)
        else:
            c, r, a0, turn = pc[1], pc[2], pc[3], pc[4]
            n = abs(turn) * r
            if s <= n:
                side = 1 if turn > 0 else -1
                a = a0 + side * s / r
                return (c[0] + r * math.cos(a), c[1] + r * math.sin(a), a + side * math.pi / 2)
        s -= n
    raise AssertionError("past the loop")


# ---------------------------------------------------------------------------------------
# edges, positions, checks


def spread(P, L, i0, i1, p0, p1):
    for i in range(i0 + 1, i1):
        P[i] = p0 + truncate((L[i] - L[i0]) / (L[i1] - L[i0]) * (p1 - p0))
    P[i0] = p0
    P[i1] = p1


def point_positions(track):
    """The positions the program derives from the reference edge and the anchors."""
    m = track["pointCount"]
    ref = track["edges"][track["sideFlag"]]
    L = [0.0]
    for i in range(1, m + 1):
        dx = ref[i][0] - ref[i - 1][0]
        dy = ref[i][1] - ref[i - 1][1]
        assert dx * dx + dy * dy < 2 ** 31
        L.append(L[-1] + math.sqrt(dx * dx + dy * dy))
    P = [0] * (m + 1)
    q = track["anchorCount"]
    if q == 0:
        spread(P, L, 0, m, 0, track["trackLength"])
    elif q < 0:
        a, p = track["anchorPoints"], track["anchorPositions"]
        spread(P, L, 0, a[0], 0, p[0])
        for j in range(1, -q):
            spread(P, L, a[j - 1], a[j], p[j - 1], p[j])
        spread(P, L, a[-1], m, p[-1], track["trackLength"])
    else:
        P = track["anchorPositions"][:m] + [track["trackLength"]]
    return P


def segments_cross(a, b, c, d):
    def orient(p, q, r):
        v = (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])
        return (v > 0) - (v < 0)
    return (orient(a, b, c) * orient(a, b, d) < 0) and (orient(c, d, a) * orient(c, d, b) < 0)


def check_edges(track):
    """Edges must not cross themselves or each other, and facing points must face."""
    m = track["pointCount"]
    segs = []
    for e in range(2):
        pts = track["edges"][e]
        segs += [(e, i, pts[i], pts[i + 1]) for i in range(m)]
    for x in range(len(segs)):
        for y in range(x + 1, len(segs)):
            e1, i1, a, b = segs[x]
            e2, i2, c, d = segs[y]
            if e1 == e2 and (abs(i1 - i2) <= 1 or abs(i1 - i2) == m - 1):
                continue
            assert not segments_cross(a, b, c, d), (track["name"], e1, i1, e2, i2)


def build_geometry(track, centre, half_widths, upf, margin_ft):
    """Edges (track units, map origin at the lower left) from centre points and half widths."""
    xs = [p[0] for p in centre]
    ys = [p[1] for p in centre]
    reach = max(half_widths) + margin_ft
    ox, oy = min(xs) - reach, min(ys) - reach
    left, right = [], []
    for (x, y, h, *_), hw in zip(centre, half_widths):
        nx, ny = -math.sin(h), math.cos(h)
        left.append([truncate((x - ox + hw * nx) * upf), truncate((y - oy + hw * ny) * upf)])
        right.append([truncate((x - ox - hw * nx) * upf), truncate((y - oy - hw * ny) * upf)])
    left[-1] = list(left[0])
    right[-1] = list(right[0])
    track["mapWidth"] = truncate((max(xs) + reach - ox) * upf)
    track["mapHeight"] = truncate((max(ys) + reach - oy) * upf)
    track["edges"] = [left, right]
    return ox, oy


def position_feet(P, index_f, ipu):
    i = min(int(index_f), len(P) - 2)
    f = index_f - i
    return round((P[i] + (P[i + 1] - P[i]) * f) * ipu / 12, 1)


# ---------------------------------------------------------------------------------------
# the tracks


def oval():
    ipu = 1.0  # one track unit is an inch
    upf = 12 / ipu
    straight, radius, half_width = 1761.0, 700.0, 30.0
    centre, length = oval_centre(straight, radius, 30.0)
    m = len(centre) - 1
    t = {
        "name": "Marlow Flats Speedway",
        "pathPattern": "marlow",
        "altPathPattern": "mflats",
        "trackId": 7,
        "trackLength": truncate(length * upf),
        "inchesPerUnit": ipu,
        "corners": [],
        "pointCount": m,
    }
    ox, oy = build_geometry(t, centre, [half_width] * (m + 1), upf, 250.0)
    t["sideFlag"] = 0                       # reference: the left (inside) edge
    t["constantWidth"] = truncate(half_width * upf)
    t["anchorCount"] = 0
    # the pit lane inside the front straight, and the start/finish line across the track
    pit_y = (-radius + 70 - oy) * upf
    pit = [[truncate((x - ox) * upf), truncate(pit_y)] for x in (-straight / 2 + 150, -straight / 4, 0, straight / 4, straight / 2 - 150)]
    pit[0][1] = pit[-1][1] = truncate((-radius + half_width - oy) * upf)
    t["others"] = [{"colour": [255, 200, 0], "points": pit}]
    P = point_positions(t)
    s_arc = math.pi * radius
    # Turns 1-4: the middles of the four quarter circles.
    marks = [straight / 2 + s_arc / 4, straight / 2 + 3 * s_arc / 4,
             straight * 1.5 + s_arc * 1.25, straight * 1.5 + s_arc * 1.75]
    t["corners"] = [{"name": "Turn %d" % (k + 1), "position": position_feet(P, s / length * m, ipu)}
                    for k, s in enumerate(marks)]
    return t


ROAD_VERTICES = [
    # x, y (feet), fillet radius (feet), corner name; driven counter-clockwise overall
    (2800, 0, 70, "Harbour Hairpin"),
    (2000, 700, 260, "Lantern Kink"),
    (2350, 1300, 160, "The Chapel"),
    (3250, 1450, 200, "Osprey"),
    (3450, 2400, 130, "Fenwick Bend"),
    (2400, 2650, 420, "Long Acre"),
    (1650, 2150, 170, "Gorse Esses"),
    (1100, 2550, 150, "Quarry"),
    (0, 2650, 200, "Beacon"),
    (-550, 1750, 260, "Sawmill"),
    (-150, 1050, 130, "Cutter's Corner"),
    (-650, 0, 190, "Last Chance"),
]


def road_course():
    ipu = 0.5  # one track unit is half an inch
    upf = 12 / ipu
    step = 30.0
    pieces, length_ft, marks = filleted_loop(ROAD_VERTICES, (1000.0, 0.0))
    m = round(length_ft / step)
    centre = [loop_point(pieces, length_ft * i / m) for i in range(m)]
    centre.append(centre[0])
    # half width 22 ft, 30 ft on the start/finish straight, widening by up to 6 ft at the
    # middle of each corner
    def half_width(s):
        hw = 22.0
        for _, at in marks:
            d = min(abs(s - at), length_ft - abs(s - at))
            hw = max(hw, 28.0 - d / 40.0)
        # the wide start/finish straight narrows over 160 ft at either end
        d = max(0.0, min(s - 600, (length_ft - 900) - s))
        hw = max(hw, 30.0 - d / 20.0)
        return hw
    hws = [half_width(length_ft * i / m) for i in range(m + 1)]
    hws[-1] = hws[0]
    t = {
        "name": "Kestrel Ridge Circuit",
        "pathPattern": "kestrel",
        "altPathPattern": "",
        "trackId": 12,
        "trackLength": truncate(length_ft * upf),
        "inchesPerUnit": ipu,
        "corners": [],
        "pointCount": m,
    }
    ox, oy = build_geometry(t, centre, hws, upf, 300.0)
    t["sideFlag"] = 1                                         # reference: the right edge
    t["widths"] = [-truncate(hw * upf) for hw in hws[:m]]     # lateral value of the right edge
    # anchors every eighth of the lap, at the centre line's own distance
    anchors = [m * j // 8 for j in range(1, 8)]
    t["anchorCount"] = -len(anchors)
    t["anchorPoints"] = anchors
    t["anchorPositions"] = [truncate(length_ft * a / m * upf) for a in anchors]

    def offset_line(indexes, extra):
        pts = []
        for i in indexes:
            x, y, h = centre[i % m]
            nx, ny = -math.sin(h), math.cos(h)
            off = -(hws[i % m] + extra)
            pts.append([truncate((x - ox + off * nx) * upf), truncate((y - oy + off * ny) * upf)])
        return pts
    # pit lane to the right of the start/finish straight; gravel trap outside the hairpin
    pit = offset_line(range(m - 25, m + 20), 50.0)
    hairpin = next(at for name, at in marks if name == "Harbour Hairpin")
    hp = round(hairpin / length_ft * m)
    trap = offset_line(range(hp - 6, hp + 7), 70.0)
    t["others"] = [{"colour": [255, 200, 0], "points": pit}, {"colour": [160, 120, 60], "points": trap}]
    P = point_positions(t)
    t["corners"] = [{"name": name, "position": position_feet(P, at / length_ft * m, ipu)} for name, at in marks]
    return t


def short_track():
    ipu = 0.75
    upf = 12 / ipu
    length_ft = 2640.0
    return {
        "name": "Pinecrest Bullring",
        "pathPattern": "pinecrest",
        "altPathPattern": "bullring",
        "trackId": 3,
        "trackLength": truncate(length_ft * upf),
        "inchesPerUnit": ipu,
        "corners": [{"name": "Turns 1-2", "position": 660.0}, {"name": "Turns 3-4", "position": 1980.0}],
        "pointCount": 0,
    }


# ---------------------------------------------------------------------------------------
# output


def png(path, track, size=800):
    scale = size / max(track["mapWidth"], track["mapHeight"])
    w, h = int(track["mapWidth"] * scale) + 1, int(track["mapHeight"] * scale) + 1
    img = [[255] * (3 * w) for _ in range(h)]

    def dot(x, y, c):
        px, py = int(x * scale), h - 1 - int(y * scale)
        if 0 <= px < w and 0 <= py < h:
            img[py][3 * px:3 * px + 3] = c

    def line(a, b, c):
        n = int(max(abs(b[0] - a[0]), abs(b[1] - a[1])) * scale) + 1
        for k in range(n + 1):
            dot(a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n, c)

    for e, c in ((0, [200, 0, 0]), (1, [0, 0, 200])):
        pts = track["edges"][e]
        for a, b in zip(pts, pts[1:]):
            line(a, b, c)
    for o in track["others"]:
        for a, b in zip(o["points"], o["points"][1:]):
            line(a, b, o["colour"])
    line(track["edges"][0][0], track["edges"][1][0], [0, 150, 0])
    raw = b"".join(b"\0" + bytes(r) for r in img)
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    tracks = [short_track(), oval(), road_course()]  # file order differs from name order
    for t in tracks:
        if t["pointCount"]:
            check_edges(t)
    if "--png" in sys.argv:
        d = sys.argv[sys.argv.index("--png") + 1]
        for t in tracks:
            if t["pointCount"]:
                png("%s/%d.png" % (d, t["trackId"]), t)
    source = {
        # the stream soon settles into a cycle; this state gives one of period 12
        "key": {"a": 0x1B873593, "b": 0x3C6EF372, "x": 0x5BE0CD19, "y": 0x1F83D9AB},
        "version": 107,
        "tracks": tracks,
    }
    json.dump(source, sys.stdout, indent=1)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main()
