#!/usr/bin/python3
"""Writes the width tables of Tavlo's built-in fonts as C++ source.

The widths come from the AFM files of the URW base-35 fonts, which share their metrics
with the standard 14 fonts. Codes 0-255 follow WinAnsiEncoding for the text families and
the font's own encoding for Symbol and ZapfDingbats; the codes the fonts do not cover get
the fixed widths the writer has always used for them.

Usage: afm_widths.py AFM_FOLDER OUTPUT.cpp
"""

import os
import sys

WIN_ANSI_HIGH = {
    128: "Euro", 130: "quotesinglbase", 131: "florin", 132: "quotedblbase", 133: "ellipsis",
    134: "dagger", 135: "daggerdbl", 136: "circumflex", 137: "perthousand", 138: "Scaron",
    139: "guilsinglleft", 140: "OE", 142: "Zcaron", 145: "quoteleft", 146: "quoteright",
    147: "quotedblleft", 148: "quotedblright", 149: "bullet", 150: "endash", 151: "emdash",
    152: "tilde", 153: "trademark", 154: "scaron", 155: "guilsinglright", 156: "oe",
    158: "zcaron", 159: "Ydieresis", 160: "space",
}

LATIN1 = (
    "exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine "
    "guillemotleft logicalnot hyphen registered macron degree plusminus twosuperior "
    "threesuperior acute mu paragraph periodcentered cedilla onesuperior ordmasculine "
    "guillemotright onequarter onehalf threequarters questiondown Agrave Aacute Acircumflex "
    "Atilde Adieresis Aring AE Ccedilla Egrave Eacute Ecircumflex Edieresis Igrave Iacute "
    "Icircumflex Idieresis Eth Ntilde Ograve Oacute Ocircumflex Otilde Odieresis multiply "
    "Oslash Ugrave Uacute Ucircumflex Udieresis Yacute Thorn germandbls agrave aacute "
    "acircumflex atilde adieresis aring ae ccedilla egrave eacute ecircumflex edieresis igrave "
    "iacute icircumflex idieresis eth ntilde ograve oacute ocircumflex otilde odieresis divide "
    "oslash ugrave uacute ucircumflex udieresis yacute thorn ydieresis"
).split()

ASCII = (
    "space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft "
    "parenright asterisk plus comma hyphen period slash zero one two three four five six seven "
    "eight nine colon semicolon less equal greater question at A B C D E F G H I J K L M N O P "
    "Q R S T U V W X Y Z bracketleft backslash bracketright asciicircum underscore grave a b c "
    "d e f g h i j k l m n o p q r s t u v w x y z braceleft bar braceright asciitilde"
).split()


def win_ansi_names():
    names = {}
    for i, name in enumerate(ASCII):
        names[32 + i] = name
    names.update(WIN_ANSI_HIGH)
    for i, name in enumerate(LATIN1):
        names[161 + i] = name
    return names


def read_afm(path):
    by_name, by_code = {}, {}
    with open(path, encoding="latin-1") as afm:
        for line in afm:
            if not line.startswith("C "):
                continue
            fields = dict(
                part.strip().split(" ", 1) for part in line.split(";") if part.strip() and " " in part.strip()
            )
            code, width, name = int(fields["C"]), int(fields["WX"]), fields["N"]
            by_name[name] = width
            if code >= 0:
                by_code[code] = width
    return by_name, by_code


def text_family(by_name, low, overrides):
    names = win_ansi_names()
    widths = []
    for code in range(256):
        if code < 32:
            widths.append(low)
        elif code in overrides:
            widths.append(overrides[code])
        else:
            widths.append(by_name[names[code]])
    return widths


def arial(by_name, low):
    overrides = {127: 750, 129: 750, 141: 750, 143: 750, 144: 750, 157: 750,
                 128: 556, 175: 552, 177: 549, 181: 576, 247: 549}
    return text_family(by_name, low, overrides)


def times(by_name):
    overrides = {127: 778, 129: 778, 141: 778, 143: 778, 144: 778, 157: 778,
                 128: 500, 175: 500, 177: 549, 181: 576, 247: 549}
    return text_family(by_name, 333, overrides)


def symbol(by_code):
    widths = []
    for code in range(256):
        if code < 30:
            widths.append(332)
        elif (32 <= code <= 126 or 161 <= code <= 254) and code != 240:
            widths.append(by_code[code])
        else:
            widths.append(600)
    return widths


def dingbats(by_code):
    widths = []
    for code in range(256):
        if code < 32:
            widths.append(600)
        elif code in by_code and code != 240:
            widths.append(by_code[code])
        else:
            widths.append(0)
    return widths


def table(name, widths):
    lines = ["const std::array<std::int16_t, 256> %s = {" % name]
    for row in range(16):
        chunk = widths[row * 16:(row + 1) * 16]
        lines.append("    " + ", ".join(str(w) for w in chunk) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    folder, output = sys.argv[1], sys.argv[2]
    afm = lambda name: read_afm(os.path.join(folder, name + ".afm"))
    sans, _ = afm("NimbusSans-Regular")
    sans_bold, _ = afm("NimbusSans-Bold")
    roman, _ = afm("NimbusRoman-Regular")
    roman_bold, _ = afm("NimbusRoman-Bold")
    roman_italic, _ = afm("NimbusRoman-Italic")
    roman_bold_italic, _ = afm("NimbusRoman-BoldItalic")
    _, symbol_codes = afm("StandardSymbolsPS")
    _, dingbat_codes = afm("D050000L")

    tables = [
        ("kArialRegular", arial(sans, 272)),
        ("kArialBold", arial(sans_bold, 311)),
        ("kArialItalic", arial(sans, 259)),
        ("kArialBoldItalic", arial(sans_bold, 311)),
        ("kTimesRegular", times(roman)),
        ("kTimesBold", times(roman_bold)),
        ("kTimesItalic", times(roman_italic)),
        ("kTimesBoldItalic", times(roman_bold_italic)),
        ("kSymbol", symbol(symbol_codes)),
        ("kZapfDingbats", dingbats(dingbat_codes)),
    ]
    text = [
        "// Generated by tools/pdf/afm_widths.py from the AFM files of the URW base-35 fonts;",
        "// do not edit. Widths in 1/1000 em for the codes 0-255.",
        "",
        '#include "pdf/draw/BuiltinFontWidths.h"',
        "",
        "namespace tavlo::widths {",
        "",
    ]
    for name, widths in tables:
        text.append(table(name, widths))
        text.append("")
    text.append("} // namespace tavlo::widths")
    with open(output, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(text) + "\n")


if __name__ == "__main__":
    main()
