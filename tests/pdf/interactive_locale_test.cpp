// A document with fields, scripts, notes, links and references, written under a locale
// whose decimal separator is a comma, is byte for byte the one written under C.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void WriteInteractive(Tavlo& pdf, const std::string& path)
{
    TavloTestPeer peer(pdf);
    pdf.SetDocProperty("Modulo", "", "Anna Rossi", "", "", "");
    pdf.BeginDoc(path);
    pdf.SetScale(2);  // millimetres: every coordinate gets a fraction
    pdf.SetMargins(12.5f, 10, 15.25f, 10, false);
    pdf.OnDocEvent(2, "app.alert('aperto');", true);
    pdf.OnDocEvent(3, "chiudi();", true);
    pdf.BeginPage();
    pdf.SetFont("Helvetica", 10.5f, 0, 0);
    pdf.SetColorFill("#FFFFCC");
    pdf.SetColorLine("#336699");
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
    pdf.LinkTo("https://example.com/?a=1.5", 0, 0);
    pdf.BeginPage();
    pdf.LinkTo("page:-0.6", 0, 0, 4, 0.5f, 0.5f, 0, 0, 87.5f);
    pdf.EndDoc();
}

} // namespace

TEST(InteractiveLocale, TheItalianLocaleChangesNoByte)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    auto write = [&](const std::string& name) {
        Tavlo pdf;
        TavloTestPeer(pdf).State().CreationDate = "D:20260105093000+01'00'";
        const std::string path = dir.File(name);
        WriteInteractive(pdf, path);
        return path;
    };
    const std::string plain = write("c.pdf");
    ExpectReadersAccept(plain);
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "it_IT.UTF-8"))
        FAIL() << "it_IT.UTF-8 not installed";
    const std::locale savedCpp = std::locale::global(std::locale("it_IT.UTF-8"));
    std::string italian;
    try {
        italian = write("it.pdf");
    } catch (const TavloError& e) {
        ADD_FAILURE() << "refused under the Italian locale: error " << e.Number();
    }
    std::locale::global(savedCpp);
    std::setlocale(LC_ALL, savedC.c_str());
    ASSERT_FALSE(italian.empty());
    EXPECT_EQ(ReadFile(italian), ReadFile(plain));
}
