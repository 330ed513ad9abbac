#!/usr/bin/env python3
"""Packs PNG images into a Windows .ico, each stored as PNG (Windows Vista and
later read those), keeping each image's own colour depth: the 32x32 image in
256 colours, the 48x48 one in 32 bits per pixel.

usage: make-ico.py OUT.ico IMAGE.png...
"""
import struct
import sys


def png_info(data: bytes):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG")
    width, height, depth, colour_type = struct.unpack(">IIBB", data[16:26])
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    bits = depth if colour_type == 3 else depth * channels
    return width, height, bits, colour_type == 3


def main() -> None:
    out, *files = sys.argv[1:]
    images = [open(f, "rb").read() for f in files]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for data in images:
        width, height, bits, palette = png_info(data)
        colours = 0 if not palette or bits >= 8 else 1 << bits
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits,
                               len(data), offset)
        offset += len(data)
        blobs += data
    with open(out, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    main()
