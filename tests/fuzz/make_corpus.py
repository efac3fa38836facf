#!/usr/bin/env python3
"""Writes the fuzzer's committed seed corpus (docs/formats.md's raw frame
file); run it again after changing a case. Each name says the viewer's fate
for it, which the tests check: valid- shown, empty- a plain window, bad-
turned away."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
MAGIC = b"OXRAWFRM" + struct.pack("<II", 1, 0)


def header(width, height):
    return MAGIC + struct.pack("<ii", width, height)


def pixels(count):
    return bytes((i * 37 + 11) & 0xFF for i in range(count))


def frame(width, height, extra=0):
    return header(width, height) + pixels(width * height * 3 + extra)


CASES = {
    # Accepted: every padding of a BMP row (3 * width mod 4), odd and even
    # heights, empty frames, and bytes after the pixels.
    "valid-1x1": frame(1, 1),
    "valid-2x3": frame(2, 3),
    "valid-3x2": frame(3, 2),
    "valid-4x4": frame(4, 4),
    "valid-5x7": frame(5, 7),
    "valid-7x1": frame(7, 1),
    "valid-1x9": frame(1, 9),
    "valid-16x12": frame(16, 12),
    "valid-33x5-trailing": frame(33, 5, extra=17),
    "empty-0x0": header(0, 0),
    "empty-0x480": header(0, 480),
    "empty-640x0": header(640, 0),
    "empty-huge-width-0-height": header(0x7FFFFFFF, 0),
    # Turned away.
    "bad-empty-file": b"",
    "bad-few-bytes": b"OXRAW",
    "bad-header-cut": header(4, 4)[:23],
    "bad-header-only": header(4, 4),
    "bad-one-byte-short": frame(4, 4)[:-1],
    "bad-negative-width": header(-4, 4) + pixels(48),
    "bad-negative-height": header(4, -4) + pixels(48),
    "bad-height-0x80000000": header(1, -0x80000000) + pixels(48),
    "bad-wraps-32-bits": header(0x55555556, 1) + pixels(8),
    "bad-wraps-32-bits-to-zero": header(0x40000000, 4) + pixels(8),
    "bad-wraps-32-bits-tall": header(2, 715827883) + pixels(8),
    "bad-largest-claim": header(0x7FFFFFFF, 0x7FFFFFFF) + pixels(64),
    "bad-claim-above-buffer": header(1400, 1300) + pixels(256),
}


def main():
    os.makedirs(CORPUS, exist_ok=True)
    for name in os.listdir(CORPUS):
        os.remove(os.path.join(CORPUS, name))
    for name, data in CASES.items():
        with open(os.path.join(CORPUS, name + ".raw"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
