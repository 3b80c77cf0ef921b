// Random sequences of the document members, with odd arguments among ordinary ones: the
// writer may refuse a call with its own error, but every file it finishes is one the
// readers accept. Resources named by content (objects played, patterns selected) are the
// ones recorded, and marked sections are closed: what a content stream says is the
// caller's part.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <random>

using namespace tavlo;
using namespace tavlo::test;

namespace {

std::string RandomText(std::mt19937& random)
{
    static const std::string pieces[] = {"", " ", "Nome", "con spazio", "(", ")", "\\", "#", "/", "%", "<>", "[]",
                                         "\xE8", "\x80", "\r", "\n", "&", "'", "\"", "red", "#FF8000", "@1;2;3",
                                         "%40", "Stripes;navy", "SCREEN", "PRINTER", ";", "@", "#GG"};
    std::string text;
    const int count = static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
    return text;
}

// Colour texts in every form, good and bad, and the names of the patterns recorded.
std::string Colour(std::mt19937& random)
{
    static const std::string colours[] = {"", " ", "red", " navy ", "#FF8000", "#ff8000xyz", "#F00", "#GG0000", "%40",
                                          "%250", "@1;2;3", "@0;50;100;0", "@1;2", "@", ";", "righe;blue",
                                          "Righe;pink", "cielo", "RIGHE;;", "grey", "mai;red"};
    return colours[random() % (sizeof colours / sizeof colours[0])];
}

void RandomCall(Tavlo& pdf, TavloTestPeer& peer, std::mt19937& random)
{
    auto number = [&](int low, int high) { return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)); };
    auto coordinate = [&] { return static_cast<float>(number(-50, 900)) / 2.0f; };
    switch (random() % 25) {
    case 0: pdf.BeginPage(); break;
    case 1: pdf.EndPage(); break;
    case 2: pdf.SetPaperSize(number(-10, 20), coordinate() + 10, coordinate() + 10); break;
    case 3: pdf.SetMargins(coordinate() / 10, coordinate() / 10, coordinate() / 10, coordinate() / 10, random() % 2); break;
    case 4: pdf.SetPageView(number(-1, 4)); break;
    case 5: pdf.SetPageTransition(number(-2, 20), coordinate() / 100, coordinate() / 100); break;
    case 6: pdf.SetLabel(number(-1, 6), RandomText(random), static_cast<std::int16_t>(number(-2, 5))); break;
    case 7:
        pdf.AddBookmark(RandomText(random), static_cast<std::int16_t>(number(-3, 4)), number(-1, 6), coordinate(),
                        coordinate(), coordinate(), coordinate(), coordinate(), RandomText(random), number(0, 4));
        break;
    case 8:
        pdf.BeginLayer(RandomText(random), static_cast<std::int16_t>(number(-1, 1)),
                       static_cast<std::int16_t>(number(0, 1)));
        peer.PutContent("0 0 20 20 re f");
        break;
    case 21: pdf.EndLayer(); break;
    case 9: pdf.SetColorFill(random() % 2 ? "righe" : "Cielo"); break;
    case 10: pdf.BeginObject(RandomText(random), number(0, 31)); break;
    case 11: pdf.EndObject(); break;
    case 12: pdf.PlayObject(random() % 2 ? "Logo" : RandomText(random)); break;
    case 13:
        pdf.BeginTiling(RandomText(random) + "T", 0, 0, coordinate() / 10 + 1, coordinate() / 10 + 1,
                        coordinate() / 10 + 1, coordinate() / 10 + 1, number(0, 2));
        break;
    case 14: pdf.EndTiling(); break;
    case 15: pdf.SetColorFill(Colour(random)); break;
    case 16: pdf.SetColorLine(Colour(random)); break;
    case 17: pdf.SetAlpha(static_cast<std::int16_t>(number(-20, 120))); break;
    case 18:
        pdf.AddGradient(RandomText(random), number(0, 2), Colour(random), Colour(random), coordinate(),
                        coordinate(), coordinate(), coordinate(), coordinate() / 10, coordinate() / 10);
        break;
    case 19: pdf.SetFont(RandomText(random) + "Arial", static_cast<float>(number(-2, 30)), number(0, 31), number(0, 2)); break;
    case 20: pdf.SetDocProperty(RandomText(random), RandomText(random), RandomText(random), "", "", RandomText(random)); break;
    case 22: pdf.SetPaperSize(255, coordinate() * 40 - 1000, coordinate() * 40 - 1000); break;
    case 23: pdf.SetScale(number(0, 3) == 0 ? 255 : number(0, 4), coordinate() / 100); break;
    default: peer.PutContent("0 0 10 10 re S"); break;
    }
}

} // namespace

TEST(RandomCalls, FinishedFilesAreAlwaysValid)
{
    if (!ReadersAvailable())
        GTEST_SKIP() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("random" + std::to_string(seed) + ".pdf");
        if (seed % 3 == 0)
            pdf.SetProtection(seed % 2 ? 4 : 4096, "", "utente");
        pdf.SetCompression(seed % 4 == 1 ? Filter::Flate : 0, 2);
        pdf.BeginDoc(path);
        pdf.BeginObject("Logo", 0);
        pdf.EndObject();
        pdf.BeginTiling("righe", 0, 0, 4, 4, 4, 4, 1);
        pdf.EndTiling();
        pdf.AddGradient("cielo", 0, "white", "navy", 0, 0, 100, 0);
        for (int call = 0; call < 60; ++call) {
            try {
                RandomCall(pdf, peer, random);
            } catch (const TavloError&) {
                // refused with the writer's own error: the document goes on
            }
        }
        pdf.EndDoc();
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExpectReadersAccept(path, seed % 3 == 0 ? "utente" : "");
    }
}
