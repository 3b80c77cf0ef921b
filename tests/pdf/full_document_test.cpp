// One document with everything this part of the writer makes, plain and encrypted under
// both strengths, compressed or not: every reader opens it and finds what was put in.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void WriteEverything(Tavlo& pdf, const std::string& path)
{
    TavloTestPeer peer(pdf);
    pdf.SetDocProperty("Riepilogo fatture 2026", "Soggetti obbligati", "Studio Rossi", "Quercino", "Quercino",
                       "iva; fatture");
    pdf.SetViewerPreferences(2 + 128 + 8192);
    pdf.SetFont("Times", 11, 0, 0);  // before the file exists
    pdf.BeginDoc(path);
    pdf.SetLabel(3, "", -1);
    pdf.SetPageTransition(5, 3, 1);

    pdf.BeginObject("Intestazione", 7);
    pdf.SetColorFill("lightblue");
    peer.PutContent("0 0 596 40 re f");
    pdf.EndObject();
    pdf.BeginTiling("griglia", 0, 0, 12, 12, 12, 12, 1);
    peer.PutContent("0 0 6 6 re f");
    pdf.EndTiling();
    pdf.AddGradient("cielo", 0, "white", "navy", 0, 0, 300, 0);

    pdf.AddBookmark("Indice", 0, 0, 0, 0, 0, 0, 0, "", 0);
    for (int page = 1; page <= 4; ++page) {
        pdf.BeginPage();
        if (page == 2) {
            pdf.SetPaperSize(1);
            pdf.SetLabel(1, "Cap. ", 1);
        }
        if (page == 4)
            pdf.SetPageView(2);
        pdf.SetFont(page % 2 ? "Arial" : "Courier", 12, page & 3, 0);
        pdf.SetColorText("@0;0;0;80");
        pdf.SetColorFill(pdf.GetPage() % 2 ? "tomato" : "%30");
        peer.PutContent("BT /" + peer.State().doc.FontResource + " 12 Tf 1 0 0 -1 20 80 Tm (Pagina " +
                        std::to_string(page) + " \xE8) Tj ET");
        pdf.BeginLayer(page == 3 ? "PRINTER" : "SCREEN", 1, 1);
        pdf.SetColorFill("griglia;red");
        peer.PutContent("20 100 200 100 re f");
        pdf.EndLayer();
        pdf.SetAlpha(40);
        pdf.SetColorFill("cielo");
        peer.PutContent("20 220 300 80 re f");
        pdf.AddBookmark("Pagina " + std::to_string(page), -1, 4, 0, 100, 0, 0, 100, page == 2 ? "green" : "", page);
        pdf.AddBookmark("Sezione", -1, 2, 0, 200, 0, 0, 0, "", 0);
        pdf.AddBookmark("Pagina seguente", 1, 0, 0, 0, 0, 0, 0, "", 0);
    }
    pdf.EndDoc();
}

} // namespace

TEST(FullDocument, PlainEncryptedAndCompressedReadByEveryReader)
{
    if (!ReadersAvailable() || !ToolAvailable("xmllint"))
        FAIL() << "qpdf, poppler, mupdf or xmllint missing";
    struct Case {
        bool encrypted;
        std::int32_t flags;
        std::uint32_t compression;
    };
    const Case cases[] = {{false, 0, 0}, {false, 0, Filter::Flate}, {true, 4, 0}, {true, 4096 | 4, Filter::Flate},
                          {true, 4096, Filter::Lzw | Filter::Ascii85}};
    ScratchDir dir;
    int n = 0;
    for (const Case& c : cases) {
        Tavlo pdf;
        const std::string path = dir.File("tutto" + std::to_string(n++) + ".pdf");
        if (c.encrypted)
            pdf.SetProtection(c.flags, "padrone", "utente");
        pdf.SetCompression(c.compression, 3);
        WriteEverything(pdf, path);
        const std::string pw = c.encrypted ? "utente" : "";
        ExpectReadersAccept(path, pw);
        const std::string popplerPw = c.encrypted ? " -upw utente " : " ";
        const std::string info = RunTool("pdfinfo -f 1 -l 4" + popplerPw + Quote(path)).output;
        EXPECT_NE(info.find("Title:           Riepilogo fatture 2026"), std::string::npos) << info;
        EXPECT_NE(info.find("Author:          Studio Rossi"), std::string::npos) << info;
        EXPECT_NE(info.find("Pages:           4"), std::string::npos) << info;
        EXPECT_NE(info.find("Page    2 size:  842 x 596 pts"), std::string::npos) << info;
        EXPECT_NE(info.find("Page    4 rot:   180"), std::string::npos) << info;
        EXPECT_NE(info.find("PDF version:     1.5"), std::string::npos) << info;

        const std::string qpdfPw = c.encrypted ? " --password=utente " : " ";
        const std::string json =
            RunTool("qpdf" + qpdfPw + "--json --json-key=outlines --json-key=pagelabels " + Quote(path)).output;
        EXPECT_NE(json.find("\"title\": \"Indice\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"title\": \"Pagina 4\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"/P\": \"u:Cap. \""), std::string::npos) << json;

        const std::string text = RunTool("pdftotext" + popplerPw + Quote(path) + " -").output;
        EXPECT_NE(text.find("Pagina 3 \xC3\xA8"), std::string::npos) << text;
        const std::string mutext =
            RunTool("mutool draw -q -F txt" + std::string(c.encrypted ? " -p utente " : " ") + Quote(path) + " 2>/dev/null")
                .output;
        EXPECT_NE(mutext.find("Pagina 2"), std::string::npos) << mutext;
    }
}

// The program runs under the machine's locale (Italian for our users: decimal comma, other
// upper-case rules): the same calls give the same bytes as under the C locale, and the
// encrypted twin still opens in every reader.
TEST(FullDocument, SameBytesUnderTheItalianLocale)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    auto write = [&](const std::string& name, bool encrypted) {
        Tavlo pdf;
        TavloTestPeer(pdf).State().CreationDate = "D:20260105093000+01'00'";
        if (encrypted)
            pdf.SetProtection(4, "padrone", "utente");
        pdf.SetCompression(Filter::Flate, 3);
        const std::string path = dir.File(name);
        WriteEverything(pdf, path);
        return path;
    };
    const std::string plain = write("c.pdf", false);
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "it_IT.UTF-8"))
        FAIL() << "it_IT.UTF-8 not installed";
    const std::locale savedCpp = std::locale::global(std::locale("it_IT.UTF-8"));
    const std::string italian = write("it.pdf", false);
    const std::string encrypted = write("it-protetto.pdf", true);
    std::locale::global(savedCpp);
    std::setlocale(LC_ALL, savedC.c_str());

    EXPECT_EQ(ReadFile(italian), ReadFile(plain));
    ExpectReadersAccept(encrypted, "utente");
    const std::string info = RunTool("pdfinfo -f 1 -l 4 -upw utente " + Quote(encrypted)).output;
    EXPECT_NE(info.find("Page    2 size:  842 x 596 pts"), std::string::npos) << info;
}
