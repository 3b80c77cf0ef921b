// Seeds of the picture harnesses, one folder each named after its harness: GIF and TGA
// pictures from the image tests' generator (PIL and hand-written layouts) and ImageMagick,
// JPEG files from ImageMagick, and the vector tests' metafile and EPS samples with the EPS
// files of today's producers (Ghostscript, poppler, LibreOffice, ImageMagick and cairo's).

#include "fuzz/FuzzHarness.h"
#include "pdf/vector_samples.h"
#include "support/pdf/tools.h"

#include <vector>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    using namespace tavlo::test;
    const std::string kind = cartella.filename().string();
    if (kind == "wmf")
        return ScriviSeme(cartella, "disegno.wmf", Drawing());
    if (kind == "eps") {
        bool written = ScriviSeme(cartella, "arte.eps", kArtEps) && ScriviSeme(cartella, "disegno.eps", kDrawingEps);
        const ScratchDir dir;
        for (const char* producer : {"eps2write", "pdftops", "ps2ai", "soffice", "convert", "pycairo", "rsvg", "gnuplot",
                                     "gnuplot-text", "pdftocairo", "pdftocairo-plot", "gnuplot-ps-text", "fig2dev-text",
                                     "dot-text", "matplotlib"}) {
            const std::string eps = ProducedEps(producer, dir.Path());
            written = !eps.empty() && ScriviSeme(cartella, std::string(producer) + ".eps", eps) && written;
        }
        return written;
    }
    auto file = [&](const std::string& name) { return " " + Quote((cartella / name).string()); };
    const std::string py = "/usr/bin/python3 " + Quote(QUERCINO_SOURCE_DIR "/tests/pdf/pictures.py") + " " + kind;
    const std::string magick = "/usr/bin/convert -size 9x5 gradient:red-blue";
    std::vector<std::string> commands;
    if (kind == "gif")
        commands = {py + file("tabella_piena.gif") + " w=100 h=100 colours=16",
                    py + file("fotogrammi.gif") + " w=40 h=30 frames=0,0,40,30:5,4,20,10 transparent=3 interlace=1 unknown=1",
                    magick + " -colors 2" + file("due_colori.gif")};
    else if (kind == "jpeg")
        commands = {magick + file("rgb.jpg"), magick + " -colorspace Gray -interlace JPEG" + file("grigio.jpg"),
                    magick + " -colorspace CMYK" + file("cmyk.jpg")};
    else if (kind == "tga")
        commands = {py + file("mappa.tga") + " w=9 h=5 mode=P rle=1 top=1", py + file("alfa.tga") + " w=9 h=5 mode=RGBA rle=1",
                    py + file("colori_16.tga") + " w=9 h=5 mode=555", py + file("grigio_alfa.tga") + " w=9 h=5 mode=LA map=1"};
    bool written = !commands.empty();
    for (const std::string& command : commands)
        written = RunTool(command + " 2>/dev/null").exitCode == 0 && written;
    return written;
}

} // namespace quercino::fuzz
