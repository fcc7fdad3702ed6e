#!/usr/bin/env python3
"""Writes the tool bar's pictograms as SVG files at 16, 24 and 32 pixels.

Each pictogram is drawn on a 16-unit grid; the larger sizes scale the grid and keep the
outlines on whole pixels (1 px at 16, 1.5 at 24, 2 at 32) so that none of them is blurred.
Run it after changing a drawing and commit the files it writes:
    python3 scripts/make-icons.py
"""
import os

OUT = os.path.join(os.path.dirname(__file__), "..", "src", "resources", "icons")

INK = "#2e3436"      # outlines
PAPER = "#ffffff"
BLUE = "#3465a4"
GREEN = "#4e9a06"
RED = "#cc0000"
ORANGE = "#f57900"
GREY = "#888a85"
FILM = "#555753"
YELLOW = "#edd400"


def film(x, y, w, h):
    """A film frame with sprocket holes along the top and bottom: a replay."""
    s = [("rect", dict(x=x, y=y, w=w, h=h, fill=FILM, stroke=INK))]
    hx = x + 1.5
    while hx + 1 <= x + w - 0.5:
        s.append(("rect", dict(x=hx, y=y + 1, w=1, h=1, fill=PAPER, stroke=None)))
        s.append(("rect", dict(x=hx, y=y + h - 2, w=1, h=1, fill=PAPER, stroke=None)))
        hx += 2
    s.append(("rect", dict(x=x + 1.5, y=y + 2.5, w=w - 3, h=h - 5, fill="#729fcf", stroke=None)))
    return s


def arrow_down(cx, top, bottom, colour):
    return [("path", dict(d=f"M{cx},{top} V{bottom - 2.5}", stroke=colour, fill=None, width=2)),
            ("path", dict(d=f"M{cx - 3},{bottom - 3} L{cx},{bottom} L{cx + 3},{bottom - 3} Z",
                          fill=colour, stroke=colour))]


def arrow_right(left, right, cy, colour):
    return [("path", dict(d=f"M{left},{cy} H{right - 2.5}", stroke=colour, fill=None, width=2)),
            ("path", dict(d=f"M{right - 3},{cy - 3} L{right},{cy} L{right - 3},{cy + 3} Z",
                          fill=colour, stroke=colour))]


def page(x, y, w, h):
    c = 3
    return [("path", dict(d=f"M{x},{y} H{x + w - c} L{x + w},{y + c} V{y + h} H{x} Z",
                          fill=PAPER, stroke=INK)),
            ("path", dict(d=f"M{x + w - c},{y} V{y + c} H{x + w}", fill=None, stroke=INK))]


def track_loop(stroke=INK, fill=None, width=1.5):
    return [("path", dict(d="M4.5,3.5 H11 C13.5,3.5 14.5,6 13,8 L10.5,10.5 C9,12 9,13.5 7,13.5"
                          " H4 C2,13.5 1.5,11.5 2.5,9.5 L3,6 C3,4.5 3.5,3.5 4.5,3.5 Z",
                          fill=fill, stroke=stroke, width=width))]


def magnifier(sign):
    s = [("circle", dict(cx=6.5, cy=6.5, r=4.5, fill="#eeeeec", stroke=INK, width=1.5)),
         ("path", dict(d="M10,10 L14.5,14.5", stroke=INK, fill=None, width=2.5))]
    s.append(("path", dict(d="M4.5,6.5 H8.5", stroke=INK, fill=None, width=1.5)))
    if sign == "fit":
        s = s[:2] + [("path", dict(d="M4,5.5 V4 H5.5 M7.5,4 H9 V5.5 M9,7.5 V9 H7.5 M5.5,9 H4 V7.5",
                                   stroke=INK, fill=None, width=1))]
    return s


ICONS = {
    # The desktop's theme has these; ours stand in where it has none.
    "document-new": page(3.5, 1.5, 10, 13) + [
        ("path", dict(d="M11.5,9.5 L12.5,11.5 L14.5,12 L12.5,12.5 L11.5,14.5 L10.5,12.5"
                      " L8.5,12 L10.5,11.5 Z", fill=YELLOW, stroke="#c4a000"))],
    "document-open": [
        ("path", dict(d="M1.5,3.5 H6 L7.5,5 H13.5 V13.5 H1.5 Z", fill="#c17d11", stroke="#8f5902")),
        ("path", dict(d="M3,7.5 H15 L13.5,13.5 H1.5 Z", fill="#e9b96e", stroke="#8f5902"))],
    "document-save": [
        ("rect", dict(x=1.5, y=1.5, w=13, h=13, fill=BLUE, stroke="#204a87")),
        ("rect", dict(x=4.5, y=1.5, w=7, h=5, fill=PAPER, stroke="#204a87")),
        ("rect", dict(x=9, y=2.5, w=1.5, h=3, fill="#204a87", stroke=None)),
        ("rect", dict(x=3.5, y=9.5, w=9, h=5, fill="#eeeeec", stroke="#204a87"))],
    "zoom-out": magnifier("minus"),
    "zoom-fit-best": magnifier("fit"),
    "help-contents": [
        ("circle", dict(cx=8, cy=8, r=6.5, fill=BLUE, stroke="#204a87")),
        ("path", dict(d="M5.8,6.2 C5.8,3.8 10.2,3.8 10.2,6.2 C10.2,7.8 8,7.8 8,9.8",
                      fill=None, stroke=PAPER, width=1.8)),
        ("rect", dict(x=7, y=11, w=2, h=2, fill=PAPER, stroke=None))],
    # Korvale's own commands.
    "import-replay": film(0.5, 0.5, 11, 8) + arrow_down(11.5, 6, 15, GREEN),
    "import-average-lap": [
        ("path", dict(d="M1,7 C3,2 5,2 7,5 S11,9 13,3", fill=None, stroke=GREY, width=1)),
        ("path", dict(d="M1,3 C3,8 5,8 7,5 S11,1 13,7", fill=None, stroke=GREY, width=1)),
        ("path", dict(d="M1,5 C3,5 5,5 7,5 S11,5 13,5", fill=None, stroke=RED, width=1.5)),
    ] + arrow_down(12, 8, 15.5, GREEN),
    "export-text-data": page(0.5, 0.5, 10, 14) + [
        ("path", dict(d="M2.5,5.5 H7 M2.5,7.5 H8.5 M2.5,9.5 H6.5 M2.5,11.5 H8.5",
                      fill=None, stroke=GREY, width=1))] + arrow_right(7.5, 15.5, 12, GREEN),
    "export-to-replay": film(0.5, 0.5, 11, 8) + arrow_right(4, 15.5, 12.5, GREEN),
    "info": [
        ("rect", dict(x=0.5, y=1.5, w=15, h=13, fill=PAPER, stroke=INK)),
        ("rect", dict(x=0.5, y=1.5, w=15, h=2.5, fill=BLUE, stroke=INK)),
        ("path", dict(d="M2,8 L3,6.5 L4,7.5 L5,6", fill=None, stroke=RED, width=1)),
        ("path", dict(d="M2,11.5 L3,10 L4,11 L5,9.5", fill=None, stroke=GREEN, width=1)),
        ("path", dict(d="M7,7 H13.5 M7,10.5 H12", fill=None, stroke=INK, width=1))],
    "corners": [
        ("path", dict(d="M1.5,14.5 C6,14.5 6,7.5 10,7.5 S14.5,5 14.5,1.5",
                      fill=None, stroke=INK, width=1.5)),
        ("path", dict(d="M3,1.5 H9 L6,5 Z", fill="#00c000", stroke="#006000"))],
    "data": [
        ("rect", dict(x=0.5, y=1.5, w=15, h=13, fill=PAPER, stroke=INK)),
        ("rect", dict(x=0.5, y=1.5, w=15, h=3, fill="#d3d7cf", stroke=INK)),
        ("path", dict(d="M5.5,1.5 V14.5 M10.5,1.5 V14.5 M0.5,8 H15.5 M0.5,11.5 H15.5",
                      fill=None, stroke=GREY, width=1)),
        ("rect", dict(x=6.5, y=5.5, w=3, h=1, fill=RED, stroke=None)),
        ("rect", dict(x=11.5, y=5.5, w=3, h=1, fill=BLUE, stroke=None))],
    "speed-comparison": [
        ("path", dict(d="M4.5,3.5 H11 C13.5,3.5 14.5,6 13,8 L10.5,10.5",
                      fill=None, stroke=RED, width=3)),
        ("path", dict(d="M10.5,10.5 C9,12 9,13.5 7,13.5 H4 C2,13.5 1.5,11.5 2.5,9.5 L3,6"
                      " C3,4.5 3.5,3.5 4.5,3.5", fill=None, stroke=BLUE, width=3))],
    "graph": [
        ("path", dict(d="M1.5,0.5 V14.5 H15.5", fill=None, stroke=INK, width=1)),
        ("path", dict(d="M2.5,12 C5,3 7,3 9,8 S13,11 15,3", fill=None, stroke=RED, width=1.5))],
    "map": track_loop(INK, "#d3d7cf", 2) + [
        ("path", dict(d="M6,2 V5", fill=None, stroke=INK, width=1))],
    "picture-in-picture": [
        ("rect", dict(x=0.5, y=1.5, w=15, h=13, fill=PAPER, stroke=INK)),
        ("path", dict(d="M1.5,12 C4,5 6,5 8,8", fill=None, stroke=RED, width=1)),
        ("rect", dict(x=8.5, y=8.5, w=6, h=5, fill="#d3d7cf", stroke=BLUE))],
}


def fmt(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def shape(kind, a, k, line):
    stroke = a.get("stroke", INK)
    width = a.get("width", 1) * k if "width" in a else line
    # Paths are drawn on the grid and scaled as a whole, so their outline is given unscaled.
    if kind == "path":
        width /= k
    paint = f'fill="{a.get("fill") or "none"}"'
    if stroke:
        paint += f' stroke="{stroke}" stroke-width="{fmt(width)}" stroke-linejoin="round"'
    if kind == "rect":
        return (f'<rect x="{fmt(a["x"] * k)}" y="{fmt(a["y"] * k)}" width="{fmt(a["w"] * k)}"'
                f' height="{fmt(a["h"] * k)}" {paint}/>')
    if kind == "circle":
        return (f'<circle cx="{fmt(a["cx"] * k)}" cy="{fmt(a["cy"] * k)}" r="{fmt(a["r"] * k)}"'
                f' {paint}/>')
    return f'<path transform="scale({fmt(k)})" d="{a["d"]}" {paint}/>'


def main():
    for size, line in ((16, 1), (24, 1.5), (32, 2)):
        k = size / 16
        folder = os.path.join(OUT, str(size))
        os.makedirs(folder, exist_ok=True)
        for name, shapes in ICONS.items():
            body = "\n  ".join(shape(kind, a, k, line) for kind, a in shapes)
            svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}"'
                   f' viewBox="0 0 {size} {size}">\n  {body}\n</svg>\n')
            with open(os.path.join(folder, name + ".svg"), "w") as f:
                f.write(svg)


if __name__ == "__main__":
    main()
