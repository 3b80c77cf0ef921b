// Random sequences of the interactive members (fields, field and document scripts, notes,
// links, named references) among pages, recorded objects and bookmarks, with odd texts
// and numbers among ordinary ones: the writer may refuse a call with its own error, but
// every file it finishes is one the readers accept, encrypted or not.

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
                                         ".", "a.b", "|", "||", "\xE8", "\x80", "\r", "\n", "'", "\"", "true",
                                         "TRUE", "3", "-2", "2.5", "1e9", "x", "\xFF", "{", "}"};
    std::string text;
    const int count = static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
    return text;
}

// Named references go to the one name every document defines: a name never defined is
// the caller's mistake, which readers report.
std::string RandomTarget(std::mt19937& random)
{
    static const std::string prefixes[] = {"http:", "https:", "mailto:", "file:", "script:", "layer:", "ref:",
                                           "page:", "page:#", "page:+", "page:-", "bookmark:", "bookmark:@",
                                           "ftp:", "", "HTTP:", "layer:ON(", "layer:OFF(", "layer:TOGGLE("};
    const std::string prefix = prefixes[random() % (sizeof prefixes / sizeof prefixes[0])];
    return prefix == "ref:" ? "ref:qui" : prefix + RandomText(random);
}

// Any option word, but the comb flag only on text fields: poppler takes it on a button
// for a flag it does not implement and says so.
std::int32_t RandomOptions(std::mt19937& random, std::int32_t kind)
{
    const auto options = static_cast<std::int32_t>(random());
    return kind == 0 ? options : options & ~1024;
}

void RandomCall(Tavlo& pdf, TavloTestPeer& peer, std::mt19937& random)
{
    auto number = [&](int low, int high) { return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)); };
    auto coordinate = [&] { return static_cast<float>(number(-50, 900)) / 2.0f; };
    switch (random() % 16) {
    case 0: pdf.BeginPage(); break;
    case 1: pdf.EndPage(); break;
    case 2:
    case 3: {
        const std::int32_t kind = number(-1, 6);
        if (random() % 2)
            pdf.AddField(RandomText(random), kind, coordinate(), coordinate(), coordinate() / 4, coordinate() / 8,
                         RandomText(random), number(-3, 5), RandomText(random), RandomOptions(random, kind));
        else
            pdf.AddField(RandomText(random), kind, coordinate(), coordinate(), coordinate() / 4, coordinate() / 8,
                         RandomText(random), RandomText(random), RandomText(random), RandomOptions(random, kind));
        break;
    }
    case 4: pdf.OnFieldEvent(number(-1, 10), RandomText(random), RandomText(random)); break;
    case 5: pdf.OnDocEvent(number(-1, 9), RandomText(random), random() % 2); break;
    case 6:
        pdf.AddNoteBox(RandomText(random), coordinate(), coordinate(), coordinate() / 4, coordinate() / 8,
                       number(-1, 5), number(-1, 5), coordinate() / 50, coordinate() / 50, number(-1, 1023));
        break;
    case 7:
        pdf.AddNoteIcon(RandomText(random), number(-1, 7), coordinate(), coordinate(), random() % 2,
                        number(-1, 1023));
        break;
    case 8:
    case 9:
        peer.SetLastBox(coordinate(), coordinate(), coordinate(), coordinate());
        pdf.LinkTo(RandomTarget(random), static_cast<std::int16_t>(number(-1, 3)), number(-1, 4), number(-1, 5),
                   coordinate(), coordinate(), coordinate() / 4, coordinate() / 8, coordinate());
        break;
    case 10:
        pdf.DefineRef(RandomText(random), number(-1, 5), coordinate(), coordinate(), coordinate() / 4,
                      coordinate() / 8, coordinate());
        break;
    case 11:
        pdf.AddBookmark(RandomText(random), static_cast<std::int16_t>(number(-1, 3)), number(-1, 5), coordinate(),
                        coordinate(), coordinate(), coordinate(), coordinate(), "", 0);
        break;
    case 12: pdf.BeginObject(RandomText(random), number(0, 31)); break;
    case 13: pdf.EndObject(); break;
    case 14: pdf.SetFont(random() % 2 ? "Helvetica" : "Courier", static_cast<float>(number(-2, 30)), number(0, 3), 0); break;
    default: pdf.BeginLayer(RandomText(random), 1, 1); pdf.EndLayer(); break;
    }
}

} // namespace

TEST(InteractiveRandomCalls, FinishedFilesAreAlwaysValid)
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
        pdf.DefineRef("qui", 0, 10, 10, 0, 0, 0);
        for (int call = 0; call < 80; ++call) {
            try {
                RandomCall(pdf, peer, random);
            } catch (const TavloError&) {
                // refused with the writer's own error: the document goes on
            }
        }
        pdf.EndDoc();
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExpectReadersAccept(path, seed % 3 == 0 ? "utente" : "");
        // qpdf's own form model reads every field without complaint.
        const std::string pw = seed % 3 == 0 ? " --password=utente" : "";
        const ToolResult form = RunTool("qpdf --json --json-key=acroform" + pw + " " + Quote(path) + " 2>&1 >/dev/null");
        EXPECT_EQ(form.output, "");
    }
}
