// Random sequences of calls with odd texts and numbers among ordinary ones: the writer may
// refuse a call with its own error, but every file it finishes is one the readers accept,
// encrypted or not. One run covers the document members (pages, layers, recorded objects,
// patterns, colours, fonts): resources named by content are the ones recorded and marked
// sections are closed, what a content stream says being the caller's part. The other
// covers the interactive members (fields, field and document scripts, notes, links, named
// references) among pages, recorded objects and bookmarks.

#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"
#include "pdf/tavlo_test_peer.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Up to three pieces picked from `pieces`, joined.
template <std::size_t N>
std::string RandomPieces(std::mt19937& random, const std::string (&pieces)[N])
{
    std::string text;
    const int count = static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % N];
    return text;
}

using RandomStep = void (*)(Tavlo&, TavloTestPeer&, std::mt19937&);

// Thirty documents of `calls` random steps each after `prepare`, every third one encrypted
// and every fourth compressed; `check` looks further at each finished file.
void ExpectRandomDocumentsValid(int calls, const std::function<void(Tavlo&)>& prepare, RandomStep step,
                                const std::function<void(const std::string&, const std::string&)>& check)
{
    ScratchDir dir;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("random" + std::to_string(seed) + ".pdf");
        const std::string password = seed % 3 == 0 ? "utente" : "";
        if (!password.empty())
            pdf.SetProtection(seed % 2 ? 4 : 4096, "", password);
        pdf.SetCompression(seed % 4 == 1 ? Filter::Flate : 0, 2);
        pdf.BeginDoc(path);
        prepare(pdf);
        for (int call = 0; call < calls; ++call) {
            try {
                step(pdf, peer, random);
            } catch (const TavloError&) {
                // refused with the writer's own error: the document goes on
            }
        }
        pdf.EndDoc();
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExpectReadersAccept(path, password);
        check(path, password);
    }
}

namespace document {

std::string RandomText(std::mt19937& random)
{
    static const std::string pieces[] = {"", " ", "Nome", "con spazio", "(", ")", "\\", "#", "/", "%", "<>", "[]",
                                         "\xE8", "\x80", "\r", "\n", "&", "'", "\"", "red", "#FF8000", "@1;2;3",
                                         "%40", "Stripes;navy", "SCREEN", "PRINTER", ";", "@", "#GG"};
    return RandomPieces(random, pieces);
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

} // namespace document

namespace interactive {

std::string RandomText(std::mt19937& random)
{
    static const std::string pieces[] = {"", " ", "Nome", "con spazio", "(", ")", "\\", "#", "/", "%", "<>", "[]",
                                         ".", "a.b", "|", "||", "\xE8", "\x80", "\r", "\n", "'", "\"", "true",
                                         "TRUE", "3", "-2", "2.5", "1e9", "x", "\xFF", "{", "}"};
    return RandomPieces(random, pieces);
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

} // namespace interactive

} // namespace

TEST(RandomCalls, FinishedFilesAreAlwaysValid)
{
    ExpectRandomDocumentsValid(
        60,
        [](Tavlo& pdf) {
            pdf.BeginObject("Logo", 0);
            pdf.EndObject();
            pdf.BeginTiling("righe", 0, 0, 4, 4, 4, 4, 1);
            pdf.EndTiling();
            pdf.AddGradient("cielo", 0, "white", "navy", 0, 0, 100, 0);
        },
        document::RandomCall, [](const std::string&, const std::string&) {});
}

TEST(InteractiveRandomCalls, FinishedFilesAreAlwaysValid)
{
    ExpectRandomDocumentsValid(
        80, [](Tavlo& pdf) { pdf.DefineRef("qui", 0, 10, 10, 0, 0, 0); }, interactive::RandomCall,
        [](const std::string& path, const std::string& password) {
            // qpdf's own form model reads every field without complaint.
            const std::string pw = password.empty() ? "" : " --password=" + password;
            EXPECT_EQ(RunTool("qpdf --json --json-key=acroform" + pw + " " + Quote(path) + " 2>&1 >/dev/null").output,
                      "");
        });
}
