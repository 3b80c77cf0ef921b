# The advance of each shown string of a case file, for text_state_test: glyph widths of the
# URW AFM files (the glyph of each Windows-1252 byte named by Python's codec and fontTools'
# Adobe glyph list) scaled by the size, plus the character spacing after every glyph and the
# word spacing after each byte 32, all scaled horizontally, in the unit.
# A case: "afm-name size char-spacing word-spacing scaling points-per-unit hex-text" ("-": empty).
import sys
from fontTools import agl
folder = '/usr/share/fonts/type1/urw-base35/'
names = {0xA0: ['space'], 0xAD: ['hyphen']}
for glyph, uvs in agl.LEGACY_AGL2UV.items():
    for uv in uvs:
        names.setdefault(uv, []).append(glyph)
fonts = {}
for line in open(sys.argv[1]):
    name, size, tc, tw, tz, scale, text = line.split()
    size, tc, tw, tz, scale = map(float, (size, tc, tw, tz, scale))
    if name not in fonts:
        # "C code ; WX width ; N name ; ..." lines
        fields = (dict(f.split(None, 1) for f in l.strip().split(' ; ') if ' ' in f)
                  for l in open(folder + name + '.afm') if l.startswith('C '))
        fonts[name] = {f['N'].split()[0]: int(f['WX']) for f in fields}
    font = fonts[name]
    data = b'' if text == '-' else bytes.fromhex(text)
    glyphs = 0
    for b in data:
        glyph = next(n for n in names[ord(bytes([b]).decode('cp1252'))] if n in font)
        glyphs += font[glyph]
    print((glyphs * size / 1000 + tc * len(data) + tw * data.count(32)) * tz / 100 / scale)
