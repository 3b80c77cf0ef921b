// One document with everything the writer makes, plain and encrypted under both strengths,
// compressed or not: every reader opens it and finds what was put in; and under the Italian
// locale (decimal comma, other upper-case rules) the same calls give the same bytes.

#include "pdf/TavloTestPeer.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void WriteEverything(Tavlo& pdf)
{
    TavloTestPeer peer(pdf);
    pdf.SetLabel(3, "", -1);
    pdf.SetPageTransition(5, 3, 1);
    pdf.OnDocEvent(2, "app.alert('aperto');", true);
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
        pdf.DrawText(20, 80, "Pagina " + std::to_string(page) + " \xE8");
        pdf.BeginLayer(page == 3 ? "PRINTER" : "SCREEN", 1, 1);
        pdf.SetColorFill("griglia;red");
        pdf.DrawRect(20, 100, 200, 100, 5);
        pdf.EndLayer();
        pdf.SetAlpha(40);
        pdf.SetColorFill("cielo");
        pdf.DrawRect(20, 220, 300, 80, 5);
        pdf.AddBookmark("Pagina " + std::to_string(page), -1, 4, 0, 100, 0, 0, 100, page == 2 ? "green" : "", page);
        pdf.AddBookmark("Sezione", -1, 2, 0, 200, 0, 0, 0, "", 0);
        pdf.AddBookmark("Pagina seguente", 1, 0, 0, 0, 0, 0, 0, "", 0);
    }
    // Fields, scripts, notes, links and references at coordinates with fractions.
    pdf.SetScale(2);
    pdf.SetMargins(12.5f, 10, 15.25f, 10, false);
    pdf.AddField("importo", 0, 10.5f, 20.25f, 40.75f, 8.5f, "1.234,56", std::string(" 12.0 "), "Importo", 2048);
    pdf.AddField("scelta", 3, 10.5f, 32.25f, 40.75f, 8.5f, "a|b|c", std::string("2.4"), "", 0);
    pdf.AddField("conferma", 1, 60.5f, 20.25f, 5.5f, 5.5f, "true", 0, "", 0);
    pdf.OnFieldEvent(7, "importo", "AFNumber_Keystroke(2, 0, 0, 0, '\x80', true);");
    pdf.AddNoteBox("Nota", 80.5f, 20.25f, 50.125f, 20.5f, 4, 1, 1.5f, 0.75f, 4);
    pdf.AddNoteIcon("Icona", 3, 140.5f, 20.25f, true, 0);
    pdf.DefineRef("inizio", 4, 10.5f, 10.25f, 0, 0, 125.5f);
    peer.SetLastBox(40.5, 700.25, 140.75, 680.5);
    pdf.LinkTo("page:1.6", 1, 2, 3, 10.5f, 12.25f, 50.5f, 30.75f, 0);
    pdf.LinkTo("ref:inizio", 0, 1);
    pdf.LinkTo("page:-0.6", 0, 0, 4, 0.5f, 0.5f, 0, 0, 87.5f);
}

WriteOptions Setting(std::int32_t protection, std::uint32_t compression)
{
    return {[=](Tavlo& pdf) {
                TavloTestPeer(pdf).State().CreationDate = "D:20260105093000+01'00'";
                if (protection >= 0)
                    pdf.SetProtection(protection, "padrone", "utente");
                pdf.SetCompression(compression, 3);
                pdf.SetDocProperty("Riepilogo fatture 2026", "Soggetti obbligati", "Studio Rossi", "Quercino",
                                   "Quercino", "iva; fatture");
                pdf.SetViewerPreferences(2 + 128 + 8192);
                pdf.SetFont("Times", 11, 0, 0);  // before the file exists
            },
            protection >= 0 ? "utente" : ""};
}

} // namespace

TEST(FullDocument, PlainEncryptedAndCompressedReadByEveryReader)
{
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {-1, 0}, {-1, Filter::Flate}, {4, 0}, {4096 | 4, Filter::Flate}, {4096, Filter::Lzw | Filter::Ascii85}};
    for (const auto& [protection, compression] : cases) {
        const WriteOptions options = Setting(protection, compression);
        const std::string path = WriteDocument("tutto.pdf", WriteEverything, options).path;
        const auto info = PdfInfo(path, options.password);
        EXPECT_EQ(info.at("Title"), "Riepilogo fatture 2026");
        EXPECT_EQ(info.at("Author"), "Studio Rossi");
        EXPECT_EQ(info.at("Pages"), "4");
        EXPECT_EQ(info.at("Page    2 size"), "842 x 596 pts (A4)");
        EXPECT_EQ(info.at("Page    4 rot"), "180");
        EXPECT_EQ(info.at("PDF version"), "1.5");
        const QpdfDocument q(path, options.password);
        // Level -1: one below the entry before.
        std::vector<std::string> titles = {"Riepilogo fatture 2026", "  Indice"};
        for (const char* page : {"1", "2", "3", "4"})
            titles.insert(titles.end(), {std::string("    Pagina ") + page, "      Sezione", "  Pagina seguente"});
        EXPECT_EQ(q.OutlineTitles(), titles);
        EXPECT_EQ(StringValue(q.Root()["pages"][1]["label"]["/P"]), "Cap. ");
        EXPECT_EQ(q.Root()["acroform"]["fields"].Size(), 3u);
        EXPECT_NE(PopplerText(path, options.password).find("Pagina 3 \xC3\xA8"), std::string::npos);
        EXPECT_NE(MupdfText(path, options.password).find("Pagina 2"), std::string::npos);
    }
}

TEST(FullDocument, SameBytesUnderTheItalianLocale)
{
    const std::string plain = WriteDocument("c.pdf", WriteEverything, Setting(-1, Filter::Flate)).bytes;
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(std::setlocale(LC_ALL, "it_IT.UTF-8")) << "it_IT.UTF-8 not installed";
    const std::locale savedCpp = std::locale::global(std::locale("it_IT.UTF-8"));
    std::string italian;
    try {
        italian = WriteDocument("it.pdf", WriteEverything, Setting(-1, Filter::Flate)).bytes;
        WriteDocument("it-protetto.pdf", WriteEverything, Setting(4, Filter::Flate));
    } catch (const TavloError& e) {
        ADD_FAILURE() << "refused under the Italian locale: error " << e.Number();
    }
    std::locale::global(savedCpp);
    std::setlocale(LC_ALL, savedC.c_str());
    EXPECT_TRUE(italian == plain);
}
