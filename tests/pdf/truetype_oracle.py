"""fontTools as the oracle of the TrueType tests (run with Debian's /usr/bin/python3).

forge DIR: writes small fonts the system lacks (a glyph index above 8191, a symbol cmap,
bold italic, missing names, a name PDF must escape).
damage FONT DIR: writes damaged, forged and foreign variants of FONT that AddFont must refuse.
widths PDF FONT...: every TrueType font of the PDF against the file whose name it bears:
/Widths of codes 32-255 read through its encoding, the descriptor's flags, and the embedded
program equal to the file; prints one line per font, exits 1 on any difference.
"""
import base64
import json
import os
import re
import struct
import subprocess
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable


def build(path, cmap, advances, names, weight=400, angle=0, count=4, symbol=False):
    glyphs = ['.notdef', 'space'] + ['g%d' % i for i in range(2, count)]
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(glyphs)
    fb.setupCharacterMap({} if symbol else cmap)
    pen = TTGlyphPen(None)
    pen.moveTo((0, -100))
    pen.lineTo((0, 700))
    pen.lineTo((500, 700))
    pen.lineTo((500, -100))
    pen.closePath()
    box = pen.glyph()
    fb.setupGlyf({g: (TTGlyphPen(None).glyph() if g == 'space' else box) for g in glyphs})
    fb.setupHorizontalMetrics({g: (advances.get(g, 600), 0) for g in glyphs})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable(names, mac=False)
    fb.setupOS2(usWeightClass=weight, usWinAscent=800, usWinDescent=200)
    fb.setupPost(italicAngle=angle)
    if symbol:
        table = CmapSubtable.newSubtable(4)
        table.platformID, table.platEncID, table.language, table.cmap = 3, 0, 0, cmap
        fb.font['cmap'].tables = [table]
    fb.save(path)


def forge(folder):
    os.makedirs(folder, exist_ok=True)
    build(folder + '/grande.ttf', {0x20: 'space', 0x41: 'g8999', 0x42: 'g9000'}, {'g8999': 1234, 'g9000': 700},
          {'familyName': 'Grande', 'styleName': 'Regular', 'fullName': 'Grande Prova', 'psName': 'GrandeProva'},
          count=9001)
    build(folder + '/simboli.ttf', {0xF020: 'space', 0xF041: 'g2'}, {'g2': 900, 'space': 300},
          {'familyName': 'Simboli', 'styleName': 'Regular', 'fullName': 'Simboli', 'psName': 'Simboli'}, symbol=True)
    build(folder + '/grassetto.ttf', {0x41: 'g2'}, {}, {'familyName': 'My Font', 'styleName': 'Bold Italic',
          'fullName': 'My Font Bold Italic', 'psName': 'MyFont-BoldItalic'}, weight=700, angle=-12)
    build(folder + '/solops.ttf', {0x41: 'g2'}, {}, {'familyName': 'Solo', 'styleName': 'Regular',
                                                     'psName': 'SoloPostScript'})
    build(folder + '/senza nome.ttf', {0x41: 'g2'}, {}, {'familyName': 'X', 'styleName': 'Regular'})
    build(folder + '/strano.ttf', {0x41: 'g2'}, {}, {'familyName': 'S', 'styleName': 'Regular',
                                                     'fullName': 'Nome (strano)/#1', 'psName': 'Strano'})


def damage(font, folder):
    os.makedirs(folder, exist_ok=True)
    b = open(font, 'rb').read()
    count = struct.unpack('>H', b[4:6])[0]
    entries = {b[12 + 16 * i:16 + 16 * i].decode('latin-1'): 12 + 16 * i for i in range(count)}
    table = lambda tag: struct.unpack('>I', b[entries[tag] + 8:entries[tag] + 12])[0]
    patch = lambda at, data: b[:at] + data + b[at + len(data):]
    variants = {'immagine.ttf': b'BM' + b[2:200], 'raccolta.ttc': patch(0, b'ttcf'), 'vuoto.ttf': b'',
                'troncato.ttf': b[:len(b) // 2], 'tabelle.ttf': patch(4, b'\xff\xff'),
                'em.ttf': patch(table('head') + 18, b'\0\0'), 'senzaos2.ttf': patch(entries['OS/2'], b'XS/2'),
                'metriche.ttf': patch(table('hhea') + 34, b'\0\0'), 'cmap.ttf': patch(table('cmap') + 32, b'\x7f')}
    for name, data in variants.items():
        open(os.path.join(folder, name), 'wb').write(data)


def character(code, mac):
    if mac:
        return 0xA4 if code == 0xDB else ord(bytes([code]).decode('mac_roman'))
    try:
        return ord(bytes([code]).decode('cp1252'))
    except UnicodeDecodeError:
        return code  # the five unassigned bytes: their C1 controls, which no font maps


def widths(pdf, fonts):
    files = {}
    for path in fonts:
        font = TTFont(path)
        files[font['name'].getDebugName(4).replace(' ', '')] = (font, open(path, 'rb').read())
    objects = json.loads(subprocess.run(['qpdf', '--json=2', '--json-stream-data=inline', pdf],
                                        capture_output=True, check=True).stdout)['qpdf'][1]
    value = lambda ref: objects['obj:' + ref]
    bad = 0
    for item in objects.values():
        d = item.get('value')
        if not isinstance(d, dict) or d.get('/Subtype') != '/TrueType':
            continue
        base = re.sub('#([0-9A-F]{2})', lambda m: chr(int(m.group(1), 16)), d['/BaseFont'][1:]).split(',')[0]
        if base not in files:
            continue
        font, data = files[base]
        descriptor = value(d['/FontDescriptor'])['value']
        symbolic = descriptor['/Flags'] & 4 != 0
        mac = d['/Encoding']['/BaseEncoding'] == '/MacRomanEncoding'
        cmap = {}
        for table in font['cmap'].tables:
            if table.platformID == 3 and table.format == 4:
                cmap = table.cmap
                break
        metrics, scale = font['hmtx'], 1000 / font['head'].unitsPerEm
        for code in range(32, 256):
            glyph = (cmap.get(0xF000 + code) if symbolic else None) or cmap.get(
                code if symbolic else character(code, mac), '.notdef')
            expected = round(metrics[glyph][0] * scale)
            if d['/Widths'][code] != expected:
                bad += 1
                print('%s code %d: %d, fontTools %d' % (base, code, d['/Widths'][code], expected))
        program = descriptor.get('/FontFile2')
        if program and value(program)['stream']['data'] != base64.b64encode(data).decode():
            bad += 1
            print('%s: embedded program differs from the file' % base)
        print('%s %s %s' % (base, 'mac' if mac else 'win', 'embedded' if program else 'not-embedded'))
    sys.exit(1 if bad else 0)


if __name__ == '__main__':
    {'forge': lambda: forge(sys.argv[2]), 'damage': lambda: damage(sys.argv[2], sys.argv[3]),
     'widths': lambda: widths(sys.argv[2], sys.argv[3:])}[sys.argv[1]]()
