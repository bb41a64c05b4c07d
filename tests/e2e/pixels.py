#!/usr/bin/env python3
"""Pixel checks on pictures taken from the screen or from trace replays.

    pixels.py blend A B SHOWN [TOLERANCE]
        prints how many pixels of SHOWN differ from the mean of A and B by
        more than TOLERANCE (default 2) in some channel. The mean is taken
        of the stored values, or of the values in linear light where the
        implementation keeps sRGB-encoded colour buffers (Mesa accumulates
        so); the smaller count is printed.

Pictures may be in any format ImageMagick reads; values are compared as
stored, 8 bits per channel, with no colour-space conversion.
"""
import subprocess
import sys


def read_rgb(path):
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout
    return data


def to_linear(v):
    c = v / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def from_linear(c):
    v = c * 12.92 if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    return v * 255.0


def stored_mean(x, y):
    return (x + y) / 2.0


def linear_mean(x, y):
    return from_linear((to_linear(x) + to_linear(y)) / 2.0)


def count_off(pa, pb, ps, mean, tolerance):
    bad = 0
    for i in range(0, len(ps), 3):
        for c in range(3):
            if abs(ps[i + c] - mean(pa[i + c], pb[i + c])) > tolerance:
                bad += 1
                break
    return bad


def blend(a, b, shown, tolerance=2):
    pa, pb, ps = read_rgb(a), read_rgb(b), read_rgb(shown)
    if not len(pa) == len(pb) == len(ps):
        raise SystemExit("pictures differ in size")
    return min(count_off(pa, pb, ps, stored_mean, tolerance),
               count_off(pa, pb, ps, linear_mean, tolerance))


def main():
    if sys.argv[1] == "blend":
        tolerance = float(sys.argv[5]) if len(sys.argv) > 5 else 2
        print(blend(sys.argv[2], sys.argv[3], sys.argv[4], tolerance))
    else:
        raise SystemExit("unknown check " + sys.argv[1])


if __name__ == "__main__":
    main()
