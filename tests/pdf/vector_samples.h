#pragma once
// Vector pictures the tests and the fuzzing seeds share: a Windows metafile written record by
// record, the same shapes in PostScript for Ghostscript, EPS files of today's producers made
// from them, and an EPS in the abbreviations of drawing programs.

#include "support/pdf/tools.h"

#include <initializer_list>
#include <string>

namespace tavlo::test {

// Records of a metafile, the placeable header first: bounds (100, 50) to (1540, 770) in
// units of 1/720 inch, so 144 × 72 points.
struct Metafile {
    std::string bytes = std::string("\xD7\xCD\xC6\x9A\0\0", 6);
    Metafile()
    {
        for (int word : {100, 50, 1540, 770, 720, 0, 0, 0})
            Word(word);
        for (int word : {1, 9, 0x300, 0, 0, 0, 0, 0, 0})
            Word(word);
    }
    void Word(int value) { bytes += {static_cast<char>(value & 255), static_cast<char>((value >> 8) & 255)}; }
    Metafile& Record(int function, std::initializer_list<int> params)
    {
        Word(static_cast<int>(3 + params.size()));
        Word(0);
        Word(function);
        for (int p : params)
            Word(p);
        return *this;
    }
};

// The drawing: a blue rectangle outlined by a red pen 40 units wide, an even-odd blue frame
// drawn under the null pen, a null-pen line (nothing) and a red line.
inline std::string Drawing()
{
    Metafile m;
    m.Record(0x020B, {50, 100}).Record(0x020C, {720, 1440});
    m.Record(0x02FA, {0, 40, 0, 200, 0}).Record(0x02FC, {0, 0, 255, 0}).Record(0x02FA, {5, 0, 0, 0, 0});
    m.Record(0x012D, {0}).Record(0x012D, {1});
    m.Record(0x0324, {4, 200, 150, 700, 150, 700, 450, 200, 450});
    m.Record(0x0106, {1}).Record(0x012D, {2});
    m.Record(0x0538, {2, 4, 4, 800, 110, 1500, 110, 1500, 690, 800, 690, 950, 250, 1350, 250, 1350, 550, 950, 550});
    m.Record(0x0325, {2, 150, 720, 1500, 720});
    m.Record(0x012D, {0}).Record(0x0325, {2, 200, 600, 700, 600}).Record(0, {});
    return m.bytes;
}

// The same shapes in PostScript, for Ghostscript.
inline const char* const kDrawingEps = R"(%!PS-Adobe-3.0 EPSF-3.0
%%BoundingBox: 0 0 144 72
0 72 translate 0.1 -0.1 scale -100 -50 translate
200 150 moveto 700 150 lineto 700 450 lineto 200 450 lineto closepath
gsave 0 0 1 setrgbcolor fill grestore 0.784 0 0 setrgbcolor 40 setlinewidth stroke
800 110 moveto 1500 110 lineto 1500 690 lineto 800 690 lineto closepath
950 250 moveto 1350 250 lineto 1350 550 lineto 950 550 lineto closepath 0 0 1 setrgbcolor eofill
200 600 moveto 700 600 lineto 0.784 0 0 setrgbcolor stroke
showpage
)";

// Shapes cairo writes as PostScript: a stroked circle and a filled curve (long paths, their
// lines wrapped in the middle of the operands), a dashed line, a rectangle, a clipped square
// and a turned one, in colours set for the strokes too.
inline const char* const kCairoDrawing = R"(import cairo, math, sys
s = cairo.PSSurface(sys.argv[1], 144, 72)
s.set_eps(True)
c = cairo.Context(s)
c.set_source_rgb(0, 0.5, 0); c.set_line_width(4)
c.arc(30, 36, 22, 0, 2 * math.pi); c.stroke()
c.set_source_rgb(0, 0, 1)
c.move_to(62, 8); c.curve_to(110, 8, 110, 40, 62, 40); c.curve_to(80, 30, 80, 18, 62, 8); c.close_path(); c.fill()
c.set_source_rgb(0.8, 0, 0); c.set_line_width(2); c.set_dash([6, 3])
c.move_to(60, 62); c.line_to(138, 62); c.stroke(); c.set_dash([])
c.set_source_rgb(0.5, 0.2, 0.6); c.rectangle(112, 6, 26, 20); c.set_line_width(3); c.stroke()
c.save(); c.rectangle(112, 34, 12, 12); c.clip(); c.set_source_rgb(0.9, 0.6, 0); c.arc(124, 46, 12, 0, 7); c.fill(); c.restore()
c.save(); c.translate(88, 52); c.rotate(0.5); c.set_source_rgb(0.2, 0.2, 0.2); c.rectangle(-6, -6, 12, 12); c.fill(); c.restore()
s.finish()
)";

// The same kind of shapes as SVG, for rsvg-convert.
inline const char* const kSvgDrawing =
    "<svg xmlns='http://www.w3.org/2000/svg' width='144pt' height='72pt' viewBox='0 0 144 72'>"
    "<circle cx='30' cy='36' r='22' fill='none' stroke='green' stroke-width='4'/>"
    "<path d='M62 8 C110 8 110 40 62 40 C80 30 80 18 62 8 Z' fill='blue'/>"
    "<path d='M60 62 L138 62' stroke='#c00' stroke-width='2' stroke-dasharray='6 3'/>"
    "<rect x='112' y='6' width='26' height='20' rx='4' fill='#ff0' stroke='#639' stroke-width='3'/>"
    "<g transform='translate(88 52) rotate(30)'><rect x='-6' y='-6' width='12' height='12' fill='#333'/></g>"
    "<polyline points='112,40 120,66 128,40 136,66' fill='none' stroke='black' stroke-width='1.5'/></svg>";

// A figure for fig2dev: a red polyline, a blue box filled at full tint with a black outline
// and a green circle; "-text" adds a label.
inline std::string FigDrawing(bool text)
{
    return std::string("#FIG 3.2\nLandscape\nCenter\nInches\nLetter\n100.00\nSingle\n-2\n1200 2\n"
                       "2 1 0 2 4 7 50 -1 -1 0.000 0 0 -1 0 0 3\n\t 1200 1200 2400 1800 3600 1200\n"
                       "2 2 0 1 0 1 50 -1 20 0.000 0 0 -1 0 0 5\n\t 1200 2400 3600 2400 3600 3000 1200 3000 "
                       "1200 2400\n1 3 0 1 0 2 50 -1 20 0.000 1 0.0000 2400 3600 300 300 2400 3600 2700 3600\n") +
           (text ? "4 0 0 50 -1 0 12 0.0000 4 135 450 1200 4200 Prova\\001\n" : "");
}

// A plot by matplotlib: a red line, a blue area and a green circle; "-text" keeps the axes
// and adds a title.
inline const char* const kMatplotlibDrawing = R"(import sys, matplotlib
matplotlib.use('ps')
import matplotlib.pyplot as plt
fig, ax = plt.subplots(figsize=(2, 1))
ax.plot([0, 1, 2, 3], [0, 1, 0, 1], 'r-', lw=2)
ax.fill_between([0, 1, 2, 3], [0, 0.5, 0.2, 0.6], color='blue')
ax.add_patch(plt.Circle((1.5, 0.5), 0.3, color='green'))
if sys.argv[2] == 'text':
    ax.set_title('Prova')
else:
    ax.set_axis_off()
fig.savefig(sys.argv[1])
)";

// The drawing as a producer writes it, made in dir: "eps2write" Ghostscript's EPS writer and
// "pdftops" poppler's EPS of Ghostscript's PDF, both of kDrawingEps, and "ps2ai" Ghostscript's
// Illustrator 88 file of it; "soffice" LibreOffice Draw's EPS of an SVG drawing; "convert"
// ImageMagick's EPS of a raster picture. cairo's: "pycairo" of kCairoDrawing, "rsvg" of
// kSvgDrawing, "pdftocairo" of Ghostscript's PDF of kDrawingEps, "gnuplot" a plot without
// text from its epscairo terminal and "pdftocairo-plot" of the same plot as PDF; with the
// axes' numbers, "gnuplot-text" and "pdftocairo-text". PostScript's own producers: "gnuplot-ps"
// and "gnuplot-ps-mono" the plot from the classic postscript terminal in colour and
// monochrome, "fig2dev" of FigDrawing, "dot" graphviz's drawing of a small graph,
// "matplotlib" of kMatplotlibDrawing, "groff" a troff drawing through ps2epsi; each with
// "-text" for the same with text, as "soffice-text" is LibreOffice's with a word. Empty when
// the producer failed.
inline std::string ProducedEps(const std::string& producer, const std::string& dir)
{
    const std::string ps = dir + "/drawing.ps", pdf = dir + "/drawing.pdf", out = dir + "/" + producer + ".eps";
    WriteFile(ps, kDrawingEps);
    WriteFile(dir + "/drawing.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='144pt' height='72pt' "
                                    "viewBox='0 0 144 72'><rect x='10' y='10' width='50' height='30' fill='blue' "
                                    "stroke='red' stroke-width='4'/></svg>");
    WriteFile(dir + "/cairo_shapes.py", kCairoDrawing);
    WriteFile(dir + "/shapes.svg", kSvgDrawing);
    const std::string gs = "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=";
    const std::string gsPdf = gs + "pdfwrite -o " + Quote(pdf) + " " + Quote(ps);
    const bool text = producer.size() > 5 && producer.substr(producer.size() - 5) == "-text";
    auto plot = [&](const std::string& terminal, const std::string& file) {
        WriteFile(dir + "/plot.gp", "set terminal " + terminal + " size 2in,1in\nset output '" + file +
                                        "'\nunset key\n" + (text ? "" : "unset tics\n") +
                                        "plot sin(x) lw 2, cos(x) with filledcurves y1=0 fs solid 0.4\n");
        return "gnuplot " + Quote(dir + "/plot.gp");
    };
    auto base = [&](std::size_t suffix) { return producer.substr(0, producer.size() - (text ? suffix : 0)); };
    const std::string kind = base(5);
    std::string command;
    if (kind == "gnuplot-ps" || kind == "gnuplot-ps-mono")
        command = plot(std::string("postscript eps ") + (kind == "gnuplot-ps" ? "color" : "monochrome"), out);
    else if (kind == "fig2dev")
        command = (WriteFile(dir + "/drawing.fig", FigDrawing(text)), "fig2dev -L eps " + Quote(dir + "/drawing.fig") +
                                                                          " " + Quote(out));
    else if (kind == "dot")
        command = (WriteFile(dir + "/graph.dot",
                             std::string("digraph { node [shape=box, style=filled, fillcolor=lightblue") +
                                 (text ? "" : ", label=\"\"") +
                                 "]; a -> b; b -> c; a -> c [color=red]; d [shape=ellipse]; c -> d; }"),
                   "dot -Teps -o " + Quote(out) + " " + Quote(dir + "/graph.dot"));
    else if (kind == "matplotlib")
        command = (WriteFile(dir + "/plot.py", kMatplotlibDrawing),
                   "/usr/bin/python3 " + Quote(dir + "/plot.py") + " " + Quote(out) + (text ? " text" : " plain"));
    else if (kind == "groff")
        command = (WriteFile(dir + "/drawing.tr", text ? ".ll 2i\nCiao mondo, una prova.\n"
                                                       : "\\D'l 1i 0'\n\\D'P 0.5i 0 0 0.5i -0.5i 0'\n"),
                   "groff -Tps " + Quote(dir + "/drawing.tr") + " > " + Quote(dir + "/drawing-groff.ps") +
                       " && ps2epsi " + Quote(dir + "/drawing-groff.ps") + " " + Quote(out));
    else if (producer == "soffice-text")
        command = (WriteFile(dir + "/words.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='144pt' height='72pt' "
                                                 "viewBox='0 0 144 72'><rect x='10' y='10' width='50' height='30' "
                                                 "fill='blue'/><text x='70' y='40' font-size='16'>Prova</text></svg>"),
                   "soffice -env:UserInstallation=file://" + dir + "/profile --headless --convert-to eps --outdir " +
                       Quote(dir) + " " + Quote(dir + "/words.svg") + " && mv " + Quote(dir + "/words.eps") + " " +
                       Quote(out));
    else if (producer == "eps2write")
        command = gs + "eps2write -o " + Quote(out) + " " + Quote(ps);
    else if (producer == "pdftops")
        command = gsPdf + " && pdftops -eps " + Quote(pdf) + " " + Quote(out);
    else if (producer == "ps2ai")
        command = "gs -q -dNODISPLAY -dNOSAFER -dBATCH \"$(find /usr/share/ghostscript -name ps2ai.ps | head -1)\" " +
                  Quote(ps) + " > " + Quote(out);
    else if (producer == "soffice")
        command = "soffice -env:UserInstallation=file://" + dir + "/profile --headless --convert-to eps --outdir " +
                  Quote(dir) + " " + Quote(dir + "/drawing.svg") + " && mv " + Quote(dir + "/drawing.eps") + " " +
                  Quote(out);
    else if (producer == "pycairo")
        command = "/usr/bin/python3 " + Quote(dir + "/cairo_shapes.py") + " " + Quote(out);
    else if (producer == "rsvg")
        command = "rsvg-convert -f eps -o " + Quote(out) + " " + Quote(dir + "/shapes.svg");
    else if (producer == "pdftocairo")
        command = gsPdf + " && pdftocairo -eps " + Quote(pdf) + " " + Quote(out);
    else if (producer == "gnuplot" || producer == "gnuplot-text")
        command = plot("epscairo", out);
    else if (producer == "pdftocairo-plot" || producer == "pdftocairo-text")
        command = plot("pdfcairo", dir + "/plot.pdf") + " && pdftocairo -eps " + Quote(dir + "/plot.pdf") + " " +
                  Quote(out);
    else
        command = "/usr/bin/convert -size 40x20 gradient:red-blue eps2:" + Quote(out);
    return RunTool("(" + command + ") >/dev/null 2>&1").exitCode == 0 ? ReadFile(out) : std::string();
}

// Shapes in the abbreviations of drawing programs, which the prolog defines for PostScript;
// lines no content stream may hold (gsave, an unmatched Q, a wrong operand count) are left
// out. The background's custom colour is orange at 80 % (a tint of 0.2).
inline const char* const kArtEps = "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 10 20 210 120\r\n"
                            "/m {moveto} def /l {lineto} def /L {lineto} def /c {curveto} def /k {setcmykcolor} def\r"
                            "/G {setgray} def /w {setlinewidth} def /Xa {setrgbcolor} def /f {closepath fill} def\r"
                            "/F {fill} def /S {stroke} def /Q {} def /J {setlinecap} def\n"
                            "/x {1 exch sub /t exch def pop 4 {t mul 4 1 roll} repeat setcmykcolor} def\n"
                            "%%EndProlog\n0 0.5 1 0 (Orange \\(Pantone\\)) 0.2 x\n10 20 m 210 20 l 210 120 l 10 120 l f\n"
                            "0 0 1 0 k\n20 30 m\n100 30 l\n100.0004 80 L\n20 80 l\nf\nf\n"
                            "1 0 0 Xa\n120 40 m\n200 40 l\n200 120 160 110 120 40 c\nF\n"
                            "%%BeginDocument: nested.eps\n%%BoundingBox: 0 0 5 5\n%%EndDocument\n"
                            "gsave 0 G\n4 w\n2 J\n20 100 m 200 100 l\nQ\n20 100 m\n200 100 l\nS\n1 2 3 m\n"
                            "showpage\n%%Trailer\n";

} // namespace tavlo::test
