"""Checks a screenshot of Mivrel's client area against what its size implies.

Usage: slip_shot.py IMAGE [WINDOW_COLOUR]   (IMAGE: the client area alone, any format
ImageMagick reads; WINDOW_COLOUR: rrggbb, default efefef)

The slip must be the largest that fits the client area, centred both ways: its outer frame
lines are found exactly where that size puts them, the editor sits in the address box, and
every pixel around the slip (its title band aside, and the strip of the retracted panel along
the top edge) is the window colour. Prints what it found; exits 0 when all holds, 1 if not.
The arithmetic is the program's own, written out again here from the slip's design: a slip
w pixels wide is scaled by (w - 1) / 1350, 900 design units high, below a title band of
2 + 2 * ((w - 1) // 60) pixels and the 17-pixel strip.
"""
import subprocess
import sys

STRIP = 17


def fitted_height(width):
    scale = max(width, 1) - 1
    return STRIP + 2 * (scale // 60) + 2 + scale * 900 // 1350 + 1


def largest_fitting_width(width, height):
    best = 1
    for candidate in range(1, max(width, 1) + 1):
        if fitted_height(candidate) <= height:
            best = candidate
        else:
            break
    return best


def read_image(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    width, height = int(fields[1]), int(fields[2])
    return width, height, ppm[pos + 1:]


def main():
    path = sys.argv[1]
    window = bytes.fromhex(sys.argv[2] if len(sys.argv) > 2 else "efefef")
    w, h, data = read_image(path)

    def pixel(x, y):
        at = 3 * (y * w + x)
        return data[at:at + 3]

    def dark(x, y):
        r, g, b = pixel(x, y)
        return r + g + b < 3 * 128

    slip_w = largest_fitting_width(w, h)
    scale = slip_w - 1
    frame_h = scale * 900 // 1350
    title = 2 + 2 * (scale // 60)
    left = (w - slip_w) // 2
    top = STRIP + title + (h - fitted_height(slip_w)) // 2
    print(f"client {w}x{h}: slip {slip_w} wide, frame at x {left}..{left + scale}, y {top}..{top + frame_h}")
    faults = []

    def line_dark(points, name):
        points = list(points)
        share = sum(dark(x, y) for x, y in points) / max(len(points), 1)
        if share < 0.9:
            faults.append(f"the {name} frame line is not there ({share:.0%} dark)")

    if top + frame_h >= h or left + scale >= w:
        faults.append("the slip does not fit the image")
    else:
        line_dark(((x, top) for x in range(left, left + scale + 1)), "top")
        line_dark(((x, top + frame_h) for x in range(left, left + scale + 1)), "bottom")
        line_dark(((left, y) for y in range(top, top + frame_h + 1)), "left")
        line_dark(((left + scale, y) for y in range(top, top + frame_h + 1)), "right")
        # The editor in the address box (design x 130..750, y 0..180): white below its text.
        ex, ey = left + scale * 130 // 1350 + 4, top + scale * 180 // 1350 * 3 // 4
        if pixel(ex, ey) != b"\xff\xff\xff":
            faults.append(f"no editor in the address box (pixel {ex},{ey} is {pixel(ex, ey).hex()})")

    stray = []
    for y in range(STRIP, h):
        inside_rows = top - title <= y <= top + frame_h
        for x in range(w):
            if inside_rows and left <= x <= left + scale:
                continue
            if pixel(x, y) != window:
                stray.append((x, y))
    if stray:
        x, y = stray[0]
        faults.append(f"{len(stray)} pixels around the slip are not the window colour, "
                      f"the first at {x},{y}: {pixel(x, y).hex()}")
    for fault in faults:
        print("  " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
