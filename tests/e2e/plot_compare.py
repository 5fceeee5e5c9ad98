#!/usr/bin/env python3
"""Compares a screenshot of the X11 plot window with a plot picture of script mode, pixel by
pixel, outside the bands where labels and read-outs stand (their fonts differ: the X
server's default font against the pictures' 8x8 one). Everything else, the frame, the tic
marks, the trace and the cursors, and the empty background, must be identical.

Usage: plot_compare.py SCREENSHOT PICTURE WIDTH HEIGHT   (exit 0 when they agree)
"""
import subprocess
import sys


def rgb_rows(path, width, height):
    """The picture's rows as raw RGB bytes; None when it is not width x height."""
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout
    if len(data) != 3 * width * height:
        return None
    return [data[3 * width * y:3 * width * (y + 1)] for y in range(height)]


def label_band(x, y, minx, maxx, maxy, miny):
    """Where text may stand: read-outs and the vertical division label above the frame,
    the horizontal labels below it, the vertical end labels left of it."""
    if maxy - 40 <= y <= maxy - 8:
        return True
    if miny + 10 <= y <= miny + 30:
        return True
    left_labels = (maxy - 12 <= y <= maxy + 8) or (miny - 12 <= y <= miny + 8)
    return left_labels and x < minx - 4


def main():
    shot, picture, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    a, b = rgb_rows(shot, width, height), rgb_rows(picture, width, height)
    if a is None or b is None:
        print(f"the screenshot or the picture is not {width}x{height}")
        return 1
    minx, maxx, maxy, miny = width // 8, (width // 8) * 7, height // 8, (height // 8) * 7
    differ, compared, first = 0, 0, None
    lit = sum(len(row) - row.count(0) for row in a)  # a blank screen proves nothing
    for y in range(height):
        if a[y] == b[y] and not (maxy - 40 <= y <= miny + 30):
            compared += width
            continue
        for x in range(width):
            if label_band(x, y, minx, maxx, maxy, miny):
                continue
            compared += 1
            pa, pb = a[y][3 * x:3 * x + 3], b[y][3 * x:3 * x + 3]
            if pa != pb:
                differ += 1
                first = first or (x, y, pa.hex(), pb.hex())
    print(f"{differ} of {compared} pixels differ ({lit} lit colour bytes on the screen)"
          + (f"; first at {first[:2]}: screen {first[2]}, picture {first[3]}" if first else ""))
    return 0 if differ == 0 and lit > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
