// TrueType fonts: widths, descriptors and embedded programs against fontTools, the fonts and
// texts poppler reads back, and the files refused.

#include "pdf/ErrorRaised.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/draw/TrueTypeReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const std::string kSerif = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf";

ToolResult Oracle(const std::string& arguments)
{
    return RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/truetype_oracle.py " + arguments + " 2>&1");
}

// pdffonts' rows as "name emb", sorted.
std::vector<std::string> ListedFonts(const std::string& path)
{
    std::istringstream rows(RunTool("pdffonts " + Quote(path)).output);
    std::vector<std::string> listed;
    std::string line;
    for (int n = 0; std::getline(rows, line); ++n) {
        std::istringstream fields(line);
        std::string name, type, encoding, embedded;
        fields >> name >> type >> encoding >> embedded;
        if (n >= 2)
            listed.push_back(name + " " + embedded);
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}

} // namespace

TEST(TrueTypeFonts, WidthsNamesAndProgramsAsReadersSeeThem)
{
    ScratchDir dir;
    ASSERT_EQ(Oracle("forge " + dir.File("")).exitCode, 0);
    const std::string path = dir.File("fonts.pdf");
    Tavlo pdf;
    // Added before the document is open: BeginDoc writes it with its program.
    EXPECT_EQ(pdf.AddFont(kSerif, "", 1, 0), "LiberationSerif");
    pdf.BeginDoc(path);
    struct Case {
        std::string file, alias;
        std::int16_t embedded;
        std::int32_t encoding;
        std::string name, sample;
    };
    const Case cases[] = {
        {kSans, "", 1, 0, "DejaVuSans", "Caff\xE8 \x80 10, \x93s\xEC\x94 \x96 \x91perch\xE9\x92"},
        {kMono, "Mono Spaziato", 0, 0, "MonoSpaziato", "Citt\xE0 \x84\x80\x93 \xAB" "1\xBB"},
        {kSans, "DejaVuSans", 0, 0, "DejaVuSans", ""},  // the name is taken: the first font stands
        {kSans, "Dv", 1, 1, "Dv", "Caff\x8F \xD2s\x93\xD3 \xD0 \xD4perch\x8E\xD5"},  // Mac Roman bytes
        {kSerif, "LiberationSerif", 1, 0, "LiberationSerif", "\xC0 \xE0 \xC8 \xE8 \xC9 \xE9 \xCC \xEC \xD2 \xF2"},
        {dir.File("grande.ttf"), "", 1, 0, "GrandeProva", ""},
        {dir.File("simboli.ttf"), "", 1, 0, "Simboli", ""},
        {dir.File("grassetto.ttf"), "", 1, 0, "MyFontBoldItalic", ""},
        {dir.File("solops.ttf"), "", 1, 0, "SoloPostScript", ""},
        {dir.File("senza nome.ttf"), "", 1, 0, "senzanome", ""},
        {dir.File("strano.ttf"), "", 1, 0, "Nome(strano)/#1", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pdf.AddFont(c.file, c.alias, c.embedded, c.encoding), c.name) << c.file;
    EXPECT_EQ(pdf.ErrNumber(), 0);
    EXPECT_EQ(TavloTestPeer(pdf).State().FontCount, 10);

    pdf.BeginPage();
    float y = 40;
    for (const Case& c : cases) {
        pdf.SetFont(c.name, 12, 0, c.encoding);
        EXPECT_EQ(TavloTestPeer(pdf).State().doc.FontResource,
                  (c.encoding == 1 ? "MAC" : "") + (c.name == "Nome(strano)/#1" ? "Nome#28strano#29#2F#231" : c.name));
        if (!c.sample.empty())
            pdf.DrawText(20, y += 30, c.sample);
    }
    pdf.EndPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);

    const ToolResult oracle = Oracle("widths " + path + " " + kSans + " " + kMono + " " + kSerif + " " +
                                     dir.File("grande.ttf") + " " + dir.File("simboli.ttf") + " " +
                                     dir.File("grassetto.ttf"));
    EXPECT_EQ(oracle.exitCode, 0) << oracle.output;
    for (const char* font : {"DejaVuSans win embedded", "DejaVuSans mac embedded", "DejaVuSansMono win not-embedded",
                             "LiberationSerif win embedded", "GrandeProva win embedded", "Simboli win embedded",
                             "MyFontBoldItalic win embedded"})
        EXPECT_NE(oracle.output.find(font), std::string::npos) << font << "\n" << oracle.output;
    const std::vector<std::string> listed = {
        "DejaVuSans yes", "DejaVuSans yes", "DejaVuSansMono no", "GrandeProva yes", "LiberationSerif yes",
        "MyFontBoldItalic,BoldItalic yes", "Nome(strano)/#1 yes", "Simboli yes", "SoloPostScript yes",
        "senzanome yes"};
    EXPECT_EQ(ListedFonts(path), listed);
    const std::string text = RunTool("pdftotext " + Quote(path) + " -").output;
    for (const char* line : {"Caff\xC3\xA8 \xE2\x82\xAC 10, \xE2\x80\x9Cs\xC3\xAC\xE2\x80\x9D \xE2\x80\x93 "
                             "\xE2\x80\x98perch\xC3\xA9\xE2\x80\x99",
                             "Citt\xC3\xA0 \xE2\x80\x9E\xE2\x82\xAC\xE2\x80\x9C \xC2\xAB" "1\xC2\xBB",
                             "Caff\xC3\xA8 \xE2\x80\x9Cs\xC3\xAC\xE2\x80\x9D \xE2\x80\x93 "
                             "\xE2\x80\x98perch\xC3\xA9\xE2\x80\x99"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    const std::string file = ReadFile(path);
    for (const char* descriptor : {"/FontName /MyFontBoldItalic,BoldItalic /Flags 96 ", "/StemV 120 /ItalicAngle -12 ",
                                   "/FontName /Simboli /Flags 4 "})
        EXPECT_NE(file.find(descriptor), std::string::npos) << descriptor;
}

TEST(TrueTypeFonts, DamagedForgedAndForeignFilesMakeNoRecord)
{
    ScratchDir dir;
    const std::string sans = ReadFile(kSans);
    auto u16 = [](const std::string& b, std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]));
    };
    // The directory entry of a table, and the table's offset.
    auto entry = [&](const std::string& b, const std::string& tag) {
        std::size_t at = 12;
        while (b.compare(at, 4, tag) != 0)
            at += 16;
        return at;
    };
    auto table = [&](const std::string& b, const std::string& tag) {
        return u16(b, entry(b, tag) + 8) << 16 | u16(b, entry(b, tag) + 10);
    };
    auto variant = [&](const std::string& name, auto change) {
        std::string bytes = sans;
        change(bytes);
        WriteFile(dir.File(name), bytes);
        return dir.File(name);
    };
    const std::string files[] = {
        dir.File("assente.ttf"),
        variant("immagine.ttf", [](std::string& b) { b = "BM" + b.substr(2, 200); }),
        variant("raccolta.ttc", [](std::string& b) { b.replace(0, 4, "ttcf"); }),
        "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf",
        variant("vuoto.ttf", [](std::string& b) { b.clear(); }),
        variant("troncato.ttf", [](std::string& b) { b.resize(b.size() / 2); }),
        variant("tabelle.ttf", [](std::string& b) { b[4] = b[5] = '\xFF'; }),
        variant("em.ttf", [&](std::string& b) { b[table(b, "head") + 18] = b[table(b, "head") + 19] = 0; }),
        variant("senzaos2.ttf", [&](std::string& b) { b.replace(entry(b, "OS/2"), 4, "XS/2"); }),
        variant("metriche.ttf", [&](std::string& b) { b[table(b, "hhea") + 34] = b[table(b, "hhea") + 35] = 0; }),
        variant("cmap.ttf", [&](std::string& b) { b[table(b, "cmap") + 4 + 8 * 3 + 4] = '\x7F'; }),
    };
    const std::string path = dir.File("nessuno.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    for (const std::string& file : files) {
        EXPECT_EQ(pdf.AddFont(file, "X", 1, 0), "") << file;
        EXPECT_EQ(pdf.ErrNumber(), file == files[0] ? ErrorCode::FileNotFound : 321) << file;
        EXPECT_EQ(pdf.ErrSource(), "Tavlo.AddFont");
        EXPECT_NE(pdf.ErrDescription().find(" - " + file), std::string::npos) << pdf.ErrDescription();
    }
    EXPECT_EQ(TavloTestPeer(pdf).State().FontCount, 0);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_TRUE(ListedFonts(path).empty());

    // The name of a built-in record is not taken over.
    Tavlo other;
    other.SetFont("Arial", 10, 0, 0);
    EXPECT_EQ(other.AddFont(kSans, "Arial", 0, 0), "");
    EXPECT_EQ(other.ErrNumber(), ErrorCode::InvalidArgument);
}

TEST(TrueTypeFonts, ReadBigEndianSignsAndBounds)
{
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0x80, 0x00, 0x00, 0x00};
    struct Row {
        std::int64_t offset;
        int size;
        bool isUnsigned;
        std::int32_t value, error;
    };
    const Row rows[] = {{0, 2, false, -2, 0},        {0, 2, true, 65534, 0}, {2, 4, false, -2, 0},
                        {6, 4, false, INT32_MIN, 0}, {6, 4, true, 0, 6},     {9, 2, true, 0, 9},
                        {-1, 2, true, 0, 9},         {0, 3, true, 0, 0}};
    for (const Row& r : rows) {
        std::int32_t value = 0;
        EXPECT_EQ(ErrorRaised([&] { value = ReadBigEndian(bytes, r.offset, r.size, r.isUnsigned); }), r.error)
            << r.offset << " " << r.size;
        EXPECT_EQ(value, r.value) << r.offset << " " << r.size;
    }
}
