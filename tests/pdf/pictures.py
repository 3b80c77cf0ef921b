"""Pictures the image tests place, made at test time with Python's PIL or written byte by
byte where no tool writes the layout asked for.

    pictures.py tga OUT mode=RGBA w=9 h=5 [rle=1] [top=1] [map=1] [seed=1]
        mode: L, P, RGB, RGBA, LA (PIL) or 555 (16-bit colour, written here); alpha holds
        0, partial values and 255; map=1 adds a colour map the true-colour picture leaves
        unused, and keeps the picture without it as OUT.plain.
    pictures.py gif OUT w=40 h=30 [frames=L,T,W,H:...] [colours=16] [transparent=3]
        [interlace=1] [unknown=1] [seed=1]
        GIF89a with a global table; every frame keys index `transparent` when given; the
        LZW data never clear the table, which fills to code 4095 and stays full; unknown=1
        puts an extension of a label no reader knows, whose sub-blocks hold a fake image.
"""
import random
import struct
import sys

from PIL import Image


def args():
    kind, out = sys.argv[1], sys.argv[2]
    options = dict(a.split("=", 1) for a in sys.argv[3:])
    return kind, out, options


def tga(out, o):
    w, h, mode = int(o["w"]), int(o["h"]), o["mode"]
    rnd = random.Random(int(o.get("seed", 1)))
    alpha = lambda: rnd.choice((0, 0, 90, 255, 255, 255))
    top = o.get("top") == "1"
    if mode == "555":
        pixels = b"".join(struct.pack("<H", rnd.randrange(0x8000)) for _ in range(w * h))
        header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, w, h, 16, 0x20 if top else 0)
        open(out, "wb").write(header + pixels)
        return
    im = Image.new(mode, (w, h))
    if mode == "P":
        im.putpalette(bytes(rnd.randrange(256) for _ in range(3 * 200)))
        im.putdata([rnd.randrange(200) for _ in range(w * h)])
    else:
        channel = {"L": [None], "LA": [None, alpha], "RGB": [None] * 3, "RGBA": [None] * 3 + [alpha]}[mode]
        data = [tuple(f() if f else rnd.randrange(256) for f in channel) for _ in range(w * h)]
        im.putdata([d[0] for d in data] if mode == "L" else data)
    im.save(out, "TGA", rle=o.get("rle") == "1", orientation=1 if top else -1)
    if o.get("map") == "1":
        data = bytearray(open(out, "rb").read())
        open(out + ".plain", "wb").write(data)
        entries = 7
        data[1] = 1
        data[3:8] = struct.pack("<HHB", 0, entries, 24)
        data[18 + data[0]:18 + data[0]] = bytes(rnd.randrange(256) for _ in range(3 * entries))
        open(out, "wb").write(bytes(data))


def lzw(indices, minimum):
    """GIF LZW that never sends a clear code after the first: the table fills up to code
    4095, which is sent once as soon as the decoder holds it, and the rest of the data use
    the full table as it stands."""
    clear = 1 << minimum
    table = {bytes([i]): i for i in range(clear)}
    next_code, width = clear + 2, minimum + 1
    codes = [(clear, width)]
    current = b""
    filled = sent = False
    for index in indices:
        grown = current + bytes([index])
        if grown in table:
            current = grown
            continue
        codes.append((table[current], width))
        if filled and not sent:
            codes.append((4095, width))
            sent = True
        filled = next_code == 4095
        if next_code < 4096:
            table[grown] = next_code
            next_code += 1
            if next_code > 1 << width and width < 12:
                width += 1
        current = bytes([index])
    codes.append((table[current], width))
    codes.append((clear + 1, width))
    value = bits = 0
    out = bytearray()
    for code, size in codes:
        value |= code << bits
        bits += size
        while bits >= 8:
            out.append(value & 255)
            value >>= 8
            bits -= 8
    if bits:
        out.append(value)
    return bytes(out)


def sub_blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255)) + b"\0"


def gif(out, o):
    w, h = int(o["w"]), int(o["h"])
    colours = int(o.get("colours", 16))
    size = max(1, (colours - 1).bit_length())
    rnd = random.Random(int(o.get("seed", 1)))
    frames = [tuple(map(int, f.split(","))) for f in o.get("frames", f"0,0,{w},{h}").split(":")]
    data = b"GIF89a" + struct.pack("<HHBBB", w, h, 0x80 | (size - 1), 0, 0)
    data += bytes(rnd.randrange(256) for _ in range(3 << size))
    if o.get("unknown") == "1":
        data += b"\x21\x99" + sub_blocks(b"\x2c" + bytes(40))
    for left, top, fw, fh in frames:
        if "transparent" in o:
            data += b"\x21\xf9\x04\x01\x00\x00" + bytes([int(o["transparent"])]) + b"\x00"
        rows = [[rnd.randrange(colours) for _ in range(fw)] for _ in range(fh)]
        order = range(fh)
        if o.get("interlace") == "1":
            order = [r for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for r in range(start, fh, step)]
        indices = [i for r in order for i in rows[r]]
        minimum = max(2, size)
        data += b"\x2c" + struct.pack("<HHHHB", left, top, fw, fh, 0x40 if o.get("interlace") == "1" else 0)
        data += bytes([minimum]) + sub_blocks(lzw(indices, minimum))
    open(out, "wb").write(data + b";")


if __name__ == "__main__":
    kind, out, options = args()
    {"tga": tga, "gif": gif}[kind](out, options)
