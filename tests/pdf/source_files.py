"""Source PDF files for the reader's tests, written byte by byte: the shapes real files take
that a naive reader gets wrong, and hostile ones. Usage: source_files.py FOLDER.

Each file is FOLDER/<name>.pdf; files the reader must refuse are named refuse_*.pdf."""

import os
import sys
import zlib


def write_pdf(path, objects, trailer, *, offsets=None, tail=b"", header=b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n",
              generations=None, xref_text=None):
    """objects: {number: body bytes}; offsets: {number: offset written instead of the real one}."""
    generations = generations or {}
    out = bytearray(header)
    real = {}
    for number in sorted(objects):
        real[number] = len(out)
        out += b"%d %d obj\n" % (number, generations.get(number, 0)) + objects[number] + b"\nendobj\n"
    size = max(objects) + 1
    xref = len(out)
    if xref_text is None:
        out += b"xref\n0 %d\n0000000000 65535 f \n" % size
        for number in range(1, size):
            if number in objects:
                where = (offsets or {}).get(number, real[number])
                out += b"%010d %05d n \n" % (where, generations.get(number, 0))
            else:
                out += b"0000000000 65535 f \n"
    else:
        out += xref_text
    out += b"trailer\n<< /Size %d " % size + trailer + b" >>\nstartxref\n%d\n%%%%EOF\n" % xref + tail
    with open(path, "wb") as f:
        f.write(out)
    return bytes(out)


def stream(data, extra=b""):
    return b"<< /Length %d%s >>\nstream\n" % (len(data), extra) + data + b"\nendstream"


FONT = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"


def keys_and_strings(folder):
    # A /Group before /Type, "/Length" then a line end, nested and escaped parentheses,
    # hexadecimal strings with a byte-order mark, "R" on its own line.
    content = b"BT /F1 18 Tf 20 150 Td (a\\(b\\) (nested) c) Tj ET 0 0.5 0 rg 20 20 80 60 re f"
    write_pdf(os.path.join(folder, "keys_and_strings.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 1 /Kids [3 0\nR] >>",
        3: b"<< /Group << /Type /Group /S /Transparency /CS /DeviceRGB >> /Type /Page /Parent 2 0 R"
           b" /MediaBox [0 0 300 200] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
        4: b"<< /Length\n%d >>\nstream\n" % len(content) + content + b"\nendstream",
        5: FONT,
        6: b"<< /Title (Prova \\(con\\) (parentesi) \\\\ e \\351) /Subject <FEFF0053006F006700670065007400740020"
           b"00E8 20AC> /Author <4D6172696F20526F737369> /Producer (p) >>",
    }, b"/Root 1 0 R /Info 6 0 R")


def contents_in_pieces(folder):
    # The first piece ends on "Q" and the next begins with "q"; one is Flate, one plain; the
    # array begins with blanks and holds a reference across a line end. The second page has
    # one stream whose /DecodeParms (a PNG predictor) its data cannot be read without.
    first = zlib.compress(b"q 1 0 0 rg 20 20 100 100 re f Q")
    second = b"q 0 0 1 rg 150 20 100 100 re f\nQ"
    raw = b"0 0.6 0 rg 30 30 200 80 re f".ljust(32)
    rows = [raw[i:i + 8] for i in range(0, len(raw), 8)]
    predicted = b"".join(b"\x01" + bytes([r[0]] + [(r[i] - r[i - 1]) & 0xFF for i in range(1, 8)]) for r in rows)
    write_pdf(os.path.join(folder, "contents_in_pieces.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 2 /Kids [3 0 R 6 0 R] /MediaBox [0 0 300 150] >>",
        3: b"<< /Type /Page /Parent 2 0 R /Resources << >> /Contents [  4 0\nR 5 0 R ] >>",
        4: stream(first, b" /Filter /FlateDecode"),
        5: stream(second),
        6: b"<< /Type /Page /Parent 2 0 R /Resources << >> /Contents 7 0 R >>",
        7: stream(zlib.compress(predicted), b" /Filter /FlateDecode /DecodeParms << /Predictor 11 /Columns 8 >>"),
    }, b"/Root 1 0 R")


def boxes_and_rotation(folder):
    # Media boxes away from the origin, a crop box, each rotation, a box written backwards,
    # the rotation and boxes inherited from the page-tree node.
    def page(n, entries):
        return b"<< /Type /Page /Parent 2 0 R /Contents 9 0 R %s >>" % entries
    art = b"0 0 0 rg 110 210 40 40 re f 1 0 0 rg 300 400 60 90 re f 0 0 1 rg 200 300 30 30 re f"
    write_pdf(os.path.join(folder, "boxes_and_rotation.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 5 /Kids [3 0 R 4 0 R 5 0 R 6 0 R 7 0 R] /Rotate 90"
           b" /MediaBox [100 200 400 500] /Resources << >> >>",
        3: page(3, b"/Rotate 0"),
        4: page(4, b""),
        5: page(5, b"/Rotate 180 /CropBox [150 250 380 480]"),
        6: page(6, b"/Rotate -90 /MediaBox [400 520 100 200]"),
        7: page(7, b"/Rotate 0 /MediaBox [-50 -60 250 140.5]"),
        9: stream(art),
    }, b"/Root 1 0 R")


def generations_and_offsets(folder):
    # Objects of generation 1, an entry whose offset is 0, streams of 0 and 1 byte, an empty
    # /Resources, a long tail after %%EOF that puts startxref far from the end, an octal
    # escape followed by a digit (S, then 4), a hexadecimal string of odd length (C is 0xC0).
    art = b"q 0 0 0 rg 10 10 50 50 re f Q q 0.5 0 0.5 rg 100 50 60 40 re f Q /X1 Do"
    write_pdf(os.path.join(folder, "generations_and_offsets.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 1 R >>",
        2: b"<< /Type /Pages /Count 2 /Kids [3 0 R 8 0 R] >>",
        3: b"<< /Type /Page /Parent 2 1 R /MediaBox [0 0 200 120] /Contents 4 1 R"
           b" /Resources << /XObject << /X1 5 0 R /X2 6 0 R >> >> >>",
        4: stream(art),
        5: stream(b"", b" /Type /XObject /Subtype /Form /BBox [0 0 10 10]"),
        6: stream(b"n", b" /Type /XObject /Subtype /Form /BBox [0 0 10 10]"),
        7: b"<< /Title (Generazioni \\1234) /Author <4D6172696F20C> >>",
        8: b"<< /Type /Page /Parent 2 1 R /MediaBox [0 0 100 100] /Resources << >> /Contents 10 0 R >>",
        10: stream(b""),
    }, b"/Root 1 1 R /Info 7 0 R", generations={1: 1, 2: 1, 4: 1}, offsets={6: 0},
        tail=b"% bytes after the end\n" + b"x" * 600 + b"\n")


def incremental_update(folder):
    # An update appended to a file: a new title and a new content for the page; its trailer
    # has /Prev, and the older trailer lies behind the newer one within a kilobyte.
    base = write_pdf(os.path.join(folder, "incremental_update.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 1 /Kids [3 0 R] >>",
        3: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << >> /Contents 4 0 R >>",
        4: stream(b"1 0 0 rg 10 10 180 180 re f"),
        5: b"<< /Title (Prima) /Author (Originale) >>",
    }, b"/Root 1 0 R /Info 5 0 R")
    prev = int(base[base.rindex(b"startxref") + 10:].split()[0])
    update = bytearray(base)
    at4 = len(update)
    update += b"4 0 obj\n" + stream(b"0 1 0 rg 50 50 100 100 re f") + b"\nendobj\n"
    at6 = len(update)
    update += b"6 0 obj\n<< /Title (Aggiornato) /Author (Originale) /Subject (Seconda versione) >>\nendobj\n"
    xref = len(update)
    update += b"xref\n0 1\n0000000000 65535 f \n4 1\n%010d 00000 n \n6 1\n%010d 00000 n \n" % (at4, at6)
    update += b"trailer\n<< /Size 7 /Root 1 0 R /Info 6 0 R /Prev %d >>\nstartxref\n%d\n%%%%EOF\n" % (prev, xref)
    with open(os.path.join(folder, "incremental_update.pdf"), "wb") as f:
        f.write(update)


def loops(folder):
    # A /Prev that points at its own section, and resources that refer to each other in a
    # circle. In a second file a page-tree node lists itself, and two nodes
    # are each other's /Parent (mupdf refuses to draw that one).
    def objects(kids, parent):
        return {
            1: b"<< /Type /Catalog /Pages 2 0 R >>",
            2: b"<< /Type /Pages /Count 2 /Kids [%s] %s >>" % (kids, parent),
            3: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 150 150] /Contents 4 0 R"
               b" /Resources << /XObject << /A 5 0 R >> >> >>",
            4: stream(b"/A Do"),
            5: stream(b"0 0 1 rg 10 10 100 100 re f",
                      b" /Type /XObject /Subtype /Form /BBox [0 0 150 150] /Resources << /XObject << /A 5 0 R >> >>"),
            6: b"<< /Type /Pages /Count 1 /Kids [7 0 R] /Parent 2 0 R /Resources << >> >>",
            7: b"<< /Type /Page /Parent 6 0 R /MediaBox [0 0 150 150] /Contents 8 0 R >>",
            8: stream(b"0 0 0 rg 40 40 70 70 re f"),
        }
    path = os.path.join(folder, "loops.pdf")
    data = write_pdf(path, objects(b"3 0 R 6 0 R", b""), b"/Root 1 0 R")
    xref = int(data[data.rindex(b"startxref") + 10:].split()[0])
    write_pdf(path, objects(b"3 0 R 6 0 R", b""), b"/Root 1 0 R /Prev %d" % xref)
    write_pdf(os.path.join(folder, "page_tree_loops.pdf"), objects(b"3 0 R 2 0 R 6 0 R", b"/Parent 6 0 R"),
              b"/Root 1 0 R")


def initial_state(folder):
    # A page that sets nothing it can take for granted: one-operand colours in the gray spaces,
    # lines of the default width, cap and dash, and text of a Type 3 font of square glyphs (no
    # machine font) with the default spacings, scaling, leading (T* stays on the line), mode.
    widths = b" ".join([b"1000"] + [b"0"] * 64 + [b"1000"])
    content = (b"0.8 sc 20 20 80 80 re f 0.4 SC 20 140 m 180 140 l 20 170 m 180 170 l S"
               b" BT /T3 20 Tf 110 20 Td (a a) Tj T* (aa) Tj 0 30 Td (aaa) Tj ET")
    write_pdf(os.path.join(folder, "initial_state.pdf"), {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 1 /Kids [3 0 R] >>",
        3: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R"
           b" /Resources << /Font << /T3 5 0 R >> >> >>",
        4: stream(content),
        5: b"<< /Type /Font /Subtype /Type3 /FontBBox [0 0 1000 1000] /FontMatrix [0.001 0 0 0.001 0 0]"
           b" /CharProcs << /a 6 0 R /space 7 0 R >> /Encoding << /Type /Encoding /Differences [32 /space 97 /a] >>"
           b" /FirstChar 32 /LastChar 97 /Widths [" + widths + b"] /Resources << >> >>",
        6: stream(b"1000 0 0 0 1000 1000 d1 0 0 1000 1000 re f"),
        7: stream(b"1000 0 0 0 0 0 d1"),
    }, b"/Root 1 0 R")


def refused(folder):
    # Hostile files: the reader must say why and neither crash, hang nor claim memory.
    page = {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: b"<< /Type /Pages /Count 1 /Kids [3 0 R] >>",
        3: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>",
    }
    write_pdf(os.path.join(folder, "refuse_huge_subsection.pdf"), page, b"/Root 1 0 R",
              xref_text=b"xref\n0 2000000000\n0000000000 65535 f \n")
    write_pdf(os.path.join(folder, "refuse_encrypt_in_older_trailer.pdf"), page,
              b"/Root 1 0 R /Encrypt << /Filter /Standard /V 1 /R 2 /O <00> /U <00> /P -4 >>")
    deep = b"[" * 5000 + b"]" * 5000
    write_pdf(os.path.join(folder, "refuse_deep_nesting.pdf"), {**page, 4: deep}, b"/Root 1 0 R /Info 4 0 R")
    # The root's only kid is a node whose only kid is the root, its own parent: no page.
    write_pdf(os.path.join(folder, "refuse_page_tree_circle.pdf"),
              {**page, 2: b"<< /Type /Pages /Count 1 /Kids [4 0 R] >>",
               4: b"<< /Type /Pages /Count 1 /Kids [2 0 R] /Parent 2 0 R >>"}, b"/Root 1 0 R")
    write_pdf(os.path.join(folder, "refuse_no_startxref.pdf"), page, b"/Root 1 0 R")
    with open(os.path.join(folder, "refuse_no_startxref.pdf"), "r+b") as f:
        data = f.read().replace(b"startxref", b"startxxxf")
        f.seek(0)
        f.write(data)
    # Read, but its page cannot be placed.
    write_pdf(os.path.join(folder, "empty_media_box.pdf"),
              {**page, 3: b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 0 100] >>"}, b"/Root 1 0 R")


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for make in (keys_and_strings, contents_in_pieces, boxes_and_rotation, generations_and_offsets,
                 incremental_update, loops, initial_state, refused):
        make(folder)


if __name__ == "__main__":
    main()
