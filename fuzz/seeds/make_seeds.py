#!/usr/bin/env python3
"""Writes the generated fuzz seeds: small interlaced PNG images, large but cheap ones (a few kB of file for up to
8192 x 8192 pixels, so the large-image PNG target meets sizes from 4 Mpixels up to the cap and
just past it)
and small rider and track files that reach every record kind. Run from anywhere; the files go
beside this script, in the folder of each target. Only the standard library is used."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


# ---- PNG ----

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def patterned(row_bytes, y):
    """A scanline of varied bytes, its filter type cycling through all five."""
    return bytes([y % 5]) + bytes((x * 37 + y * 11) & 0xFF for x in range(row_bytes))


def png(width, height, depth, colour_type, interlace=0, rows=None, extra=b""):
    """rows(row_bytes, y) gives one scanline with its filter byte; the default is a blank row."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    rows = rows or (lambda row_bytes, y: bytes(1 + row_bytes))
    # Adam7 stores seven reduced images one after another, each row of its own width; without
    # interlacing there is one image, the whole one.
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    packer = zlib.compressobj(9)
    parts = []
    for x0, y0, dx, dy in passes if interlace else [(0, 0, 1, 1)]:
        pass_width = (width - x0 + dx - 1) // dx if width > x0 else 0
        pass_height = (height - y0 + dy - 1) // dy if height > y0 else 0
        row_bytes = (pass_width * channels * depth + 7) // 8
        for y in range(pass_height if pass_width else 0):
            parts.append(packer.compress(rows(row_bytes, y)))
    parts.append(packer.flush())
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra + chunk(b"IDAT", b"".join(parts)) +
            chunk(b"IEND", b""))


def stripes(width):
    """8-bit RGBA: Paeth-filtered stripes in the top 64 rows, blank rows below, so the wide
    unfiltering runs on real data while the file stays a few kB."""
    line = bytes([4]) + bytes((x // 64 % 2) * 255 for x in range(width * 4))
    blank = bytes([0]) + bytes(width * 4)
    return lambda row_bytes, y: line if y < 64 and y % 2 else blank


PALETTE = chunk(b"PLTE", bytes([0, 0, 0, 255, 255, 255])) + chunk(b"tRNS", bytes([0]))
FOUR_COLOURS = chunk(b"PLTE", bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255])) + chunk(b"tRNS", bytes([0, 128]))

# Small interlaced images whose every pass holds varied, filtered rows.
write("png_decode", "grey16_adam7_key.png", png(9, 9, 16, 0, 1, patterned, chunk(b"tRNS", bytes([0, 37]))))
write("png_decode", "grey_alpha8_adam7.png", png(4, 4, 8, 4, 1, patterned))
write("png_decode", "palette2_adam7_alpha.png", png(7, 3, 2, 3, 1, patterned, FOUR_COLOURS))

write("png_decode_large", "grey1_8192x8192_at_the_cap.png", png(8192, 8192, 1, 0))
write("png_decode_large", "rgba8_1024x4400_striped.png", png(1024, 4400, 8, 6, rows=stripes(1024)))
write("png_decode_large", "palette1_8192x1024_adam7.png", png(8192, 1024, 1, 3, interlace=1, extra=PALETTE))
write("png_decode_large", "grey16_4096x1100_keyed.png", png(4096, 1100, 16, 0, extra=chunk(b"tRNS", bytes([0, 0]))))
write("png_decode", "grey1_8193x1_over_the_cap.png", png(8193, 1, 1, 0))
write("png_decode", "grey1_1x8193_over_the_cap.png", png(1, 8193, 1, 0))
write("png_decode_large", "grey1_8193x8192_over_the_cap.png", png(8193, 8192, 1, 0))

# ---- Riders and tracks ----

def string(text):
    """A stored string: its 32-bit length counting the zero, the characters, the zero."""
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data


def point(x, y, point_id, group, radius=2.0, mass=1.0, friction=0.0, collides=1):
    return struct.pack("<7fiiB", x, y, x, y, radius, mass, friction, point_id, group, collides)


def link(a, b, kind, rest, sprite=None):
    """sprite = (slot, frame, depth, along, across, half width, half height), or None."""
    data = struct.pack("<iiiifffB", a, b, kind, 0, 0.5, 0.2, rest, 1 if sprite else 0)
    if sprite:
        data += struct.pack("<iiiffff", *sprite)
    return data


def joint(a, b, c, stiffness=0.3, limit=1.0):
    return struct.pack("<iiiff", a, b, c, stiffness, limit)


def snapshot(points, links, joints):
    return (struct.pack("<i", len(points)) + b"".join(points) + struct.pack("<i", len(links)) + b"".join(links) +
            struct.pack("<i", len(joints)) + b"".join(joints))


# A small rider: a triangle frame with one link of each kind, a sprite on one link, one joint.
RIDER_POINTS = [point(0, 0, 1, 0), point(10, 0, 2, 0), point(5, 8, 3, 1, radius=3.0, friction=0.1),
                point(5, 16, 4, 2, collides=0)]
RIDER = snapshot(RIDER_POINTS,
                 [link(1, 2, 0, 10), link(2, 3, 1, 9.4), link(3, 1, 2, 9.4), link(3, 4, 3, 8,
                                                                                 sprite=(15, 5, 2, 0.5, 0, 4, 8))],
                 [joint(1, 3, 2), joint(2, 3, 4, limit=0.5)])

write("rider_load", "empty_body.rider", b"TOLK_RIDER_RIDER\0" + string("sprites\\to.png") + struct.pack("<i", 0) +
      snapshot([], [], []))
write("rider_load", "every_link_kind.rider", b"TOLK_RIDER_RIDER\0" + string("sprites\\to.png") +
      struct.pack("<i", 3) + RIDER)


def solid(x1, y1, x2, y2, kind, demo):
    if demo:
        return struct.pack("<ffIIff", x1, y1, 0, kind, x2, y2)
    return struct.pack("<fffffI", x1, y1, x2, y2, 0, kind)


def scenery(x1, y1, x2, y2, colour, demo):
    floats = struct.pack("<5f", x1, y1, x2, y2, 1.5)
    return bytes(colour) + floats if demo else floats + bytes(colour)


def track(demo, start=None, rider=None, scenery_version=None):
    version = 2 if demo else 1
    solids = [solid(-100, 0, 100, 0, 0, demo), solid(100, 0, 200, 40, 1, demo), solid(200, 40, 260, 40, 2, demo)]
    sceneries = [scenery(-50, 20, 50, 30, (200, 30, 30), demo)]
    data = b"TOLK_RIDER_TRACK\0" + struct.pack("<Ii", version, len(solids)) + b"".join(solids)
    data += struct.pack("<Ii", scenery_version or version, len(sceneries)) + b"".join(sceneries)
    if start is None and rider is None:
        return data
    data += bytes([1]) + start if start else bytes([0])
    return data + string(rider) if rider else data


write("track_load", "three_kinds_and_scenery.track", track(False))
write("track_load", "demo_field_order.demo", track(True, start=RIDER))
write("track_load", "start_state_and_rider.track", track(False, start=RIDER, rider="riders\\sledder.rider"))
write("track_load", "unknown_scenery_version.track", track(False, scenery_version=7))
