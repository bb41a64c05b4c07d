#!/usr/bin/env python3
"""Pixel checks on pictures taken from the screen or from trace replays.

    pixels.py blend A B SHOWN [TOLERANCE]
        prints how many pixels of SHOWN differ from the mean of A and B by
        more than TOLERANCE (default 2) in some channel. The mean is taken
        of the stored values, or of the values in linear light where the
        implementation keeps sRGB-encoded colour buffers (Mesa accumulates
        so); the smaller count is printed.

    pixels.py probe OP SOURCE SHOWN [OP SOURCE SHOWN...]
        prints how many pixels of SHOWN differ from what the logic operation
        GL_OP leaves when SOURCE is drawn over the probes' known destination:
        the left half of the block all zero bits, the right half all one
        bits. SOURCE and SHOWN are blocks of the same size. Several probes
        give one count a line, in their order (one start of Python and of
        ImageMagick for each picture, rather than for each probe).

Pictures may be in any format ImageMagick reads; values are compared as
stored, 8 bits per channel, with no colour-space conversion.
"""
import functools
import subprocess
import sys


@functools.cache
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


# The sixteen logic operations of OpenGL on one 8-bit component, s the incoming
# value and d the one in the frame buffer (the OpenGL 1.1 definition).
LOGIC_OPS = {
    "COPY": lambda s, d: s,
    "COPY_INVERTED": lambda s, d: ~s,
    "AND_REVERSE": lambda s, d: s & ~d,
    "OR_REVERSE": lambda s, d: s | ~d,
    "AND": lambda s, d: s & d,
    "OR": lambda s, d: s | d,
    "NAND": lambda s, d: ~(s & d),
    "NOR": lambda s, d: ~(s | d),
    "XOR": lambda s, d: s ^ d,
    "EQUIV": lambda s, d: ~(s ^ d),
    "AND_INVERTED": lambda s, d: ~s & d,
    "OR_INVERTED": lambda s, d: ~s | d,
}


@functools.cache
def image_width(path):
    size = subprocess.run(["identify", "-format", "%w", path], capture_output=True, check=True)
    return int(size.stdout)


def probe(op, source, shown):
    width = image_width(source)
    ps, pw = read_rgb(source), read_rgb(shown)
    if len(ps) != len(pw):
        raise SystemExit("blocks differ in size")
    apply = LOGIC_OPS[op]
    bad = 0
    for i in range(0, len(ps), 3):
        destination = 0 if (i // 3) % width < width // 2 else 0xFF
        expected = [apply(ps[i + c], destination) & 0xFF for c in range(3)]
        if expected != list(pw[i:i + 3]):
            bad += 1
    return bad


def main():
    if sys.argv[1] == "blend":
        tolerance = float(sys.argv[5]) if len(sys.argv) > 5 else 2
        print(blend(sys.argv[2], sys.argv[3], sys.argv[4], tolerance))
    elif sys.argv[1] == "probe" and len(sys.argv) % 3 == 2:
        for at in range(2, len(sys.argv), 3):
            print(probe(*sys.argv[at:at + 3]))
    else:
        raise SystemExit("unknown check " + sys.argv[1])


if __name__ == "__main__":
    main()
