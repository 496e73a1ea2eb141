#!/usr/bin/env python3
"""Writes the seed archives of fuzz_skin into corpus/fuzz_skin/: small inner archives of each layout the loader knows."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.join(HERE, "..", "..", "skins", "modern", "modern.skn")


def bmp24(w, h, rgb):
    row = bytes(rgb[::-1]) * w
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * h
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


def bmp8(w, h):
    palette = b"".join(bytes((i, 255 - i, i // 2, 0)) for i in range(4))
    row = bytes(i % 4 for i in range(w)) + b"\0" * ((4 - w % 4) % 4)
    pixels = row * h
    off = 54 + len(palette)
    return (b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, 4, 0) + palette + pixels)


def slot(picture):
    return b"\1" if picture is None else b"\0" + picture


def inner(version, slots, pictures, text):
    return (struct.pack("<i", version) + b"".join(slot(s) for s in slots) + struct.pack("<i", len(pictures)) +
            b"".join(pictures) + text)


SMALL = (b"[VERSION]\r\nskinname=Seed\r\n[PICTURES]\r\npicture=f.bmp\r\nmask=m.bmp\r\nactivepicturescount=2\r\n"
         b"[FORMINFO]\r\nclientrect=2,3,8,7\r\nlefttoppoint=0,12\r\n[SKINOBJECTS]\r\ncount=2\r\n0=close:stdbutton\r\n"
         b"1=cap:caption\r\n[close]\r\ncommand=cmclose\r\nskinrect=0,0,4,4\r\n[SKINCONTROLS]\r\ncount=3\r\n"
         b"0=button:button\r\n1=p:panel\r\n2=u:updown\r\n[BUTTON]\r\npictureindex=0x1\r\nskinrect=-5,3,10,20\r\n"
         b"fontstyle=fsbold,fsitalic\r\nmorphkind=mkpush\r\n[p]\r\nalignment=taleftjustify\r\n")


# Frame points that leave the nine parts without a middle (the window must still get a usable frame), and a
# gauge and scroll bar whose skin sizes are far beyond any control (nothing that large may be built).
HOSTILE_FRAME = (b"[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\npicture=f.bmp\r\n[FORMINFO]\r\n"
                 b"lefttoppoint=4,4\r\nrighttoppoint=8,4\r\nleftbottompoint=4,8\r\nrightbottompoint=4,8\r\n"
                 b"clientrect=2,5,8,8\r\n[SKINOBJECTS]\r\ncount=1\r\n0=close:stdbutton\r\n[close]\r\n"
                 b"command=cmclose\r\nskinrect=6,0,9,3\r\n")
HUGE_PARTS = (b"[VERSION]\r\nskinname=Huge\r\n[PICTURES]\r\nactivepicturescount=1\r\n[SKINCONTROLS]\r\ncount=2\r\n"
              b"0=gauge:gauge\r\n1=hscrollbar:scrollbar\r\n[gauge]\r\npictureindex=0\r\nskinrect=0,0,7,3\r\n"
              b"lefttoppoint=2,0\r\nrighttoppoint=5,0\r\nprogressarea=1,1,99999,99999\r\nprogressrect=0,0,7,3\r\n"
              b"[hscrollbar]\r\npictureindex=0\r\nskinrect=0,0,7,3\r\nthumbrect=0,0,99999,99999\r\n")


def write(name, payload, compressed=False):
    with open(os.path.join(HERE, "corpus", "fuzz_skin", name), "wb") as f:
        f.write(bytes([1 if compressed else 0]) + payload)


def main():
    os.makedirs(os.path.join(HERE, "corpus", "fuzz_skin"), exist_ok=True)
    frame, mask = bmp24(10, 10, (200, 210, 220)), bmp24(10, 10, (0, 0, 0))
    write("v3_small", inner(3, [frame, None, mask], [bmp24(7, 3, (1, 2, 3)), bmp8(5, 2)], SMALL))
    write("v2_extra_slots", inner(2, [frame, None, mask, bmp8(3, 3), None], [bmp8(2, 2)], SMALL))
    write("no_pictures", inner(3, [None, None, None], [], SMALL))
    with open(SKIN, "rb") as f:
        modern = f.read().replace(b"\n", b"\r\n")
    write("modern_text", inner(3, [None, None, None], [], modern))
    write("hostile_frame_points", inner(3, [frame, None, None], [], HOSTILE_FRAME))
    write("huge_gauge_and_thumb", inner(3, [None, None, None], [bmp24(7, 3, (200, 0, 0))], HUGE_PARTS))
    write("compressed_small", zlib.compress(inner(3, [None, None, mask], [bmp8(3, 1)], SMALL), 9), compressed=True)


if __name__ == "__main__":
    main()
