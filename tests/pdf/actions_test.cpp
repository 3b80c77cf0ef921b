// Document, page and field scripts found by poppler (pdfinfo -js), mupdf (mutool show) and
// qpdf where readers look for them.

#include "pdf/AnnotationChecks.h"
#include "support/pdf/tools.h"

using namespace tavlo;
using namespace tavlo::test;

namespace {

std::string MutoolShow(const std::string& path, const std::string& what)
{
    return RunTool("mutool show -b " + Quote(path) + " " + what).output;
}

// Every script in `expected` is among those poppler lists, none of `absent` is.
void ExpectScripts(const std::string& path, const std::vector<std::string>& expected,
                   const std::vector<std::string>& absent = {}, const std::string& password = "")
{
    const std::string js =
        RunTool("pdfinfo -js" + (password.empty() ? "" : " -upw " + Quote(password)) + " " + Quote(path)).output;
    for (const std::string& script : expected)
        EXPECT_NE(js.find(script), std::string::npos) << script << "\n" << js;
    for (const std::string& script : absent)
        EXPECT_EQ(js.find(script), std::string::npos) << script << "\n" << js;
}

} // namespace

// Pins where each document, page and field event's script goes (catalog OpenAction and AA
// /WC /WP /WS /DP /DS, the named global script, page AA /O /C, widget A and AA /D /E /X /Fo
// /Bl /K /V /C /F), chains of scripts added to one event, fields reached by a name's prefix
// ("riga" reaches "riga.1", not "righe"), and the calculation order.
TEST(Actions, DocumentPageAndFieldEventsGoWhereReadersLook)
{
    const std::string path = WriteDocument("events.pdf", [](Tavlo& pdf) {
                                 pdf.OnDocEvent(0, "lost();", true);  // a page script before the page: dropped
                                 pdf.BeginPage();
                                 const char* doc[] = {"apri();", "chiudi();", "stampa();", "salva();", "stampato();",
                                                      "salvato();", "function comune() { return 1; }"};
                                 for (int event = 2; event <= 8; ++event)
                                     pdf.OnDocEvent(event, doc[event - 2], true);
                                 pdf.OnDocEvent(2, " ancora();", false);
                                 pdf.OnDocEvent(9, "nessuno();", true);
                                 pdf.OnDocEvent(-1, "nessuno();", true);
                                 pdf.OnDocEvent(0, "entra();", true);
                                 pdf.OnDocEvent(1, "esci();", true);
                                 for (const char* name : {"totale", "riga", "riga.1", "righe"})
                                     pdf.AddField(name, 0, 10, 10, 80, 20, "", 0, "", 0);
                                 pdf.AddField("vai", 5, 10, 130, 80, 20, "Vai", std::string("originale();"), "", 0);
                                 for (int event = 0; event < 10; ++event)
                                     pdf.OnFieldEvent(event, "totale", "t" + std::to_string(event) + "();");
                                 pdf.OnFieldEvent(8, "riga", "somma();");
                                 for (const char* script : {"primo();", "secondo();", "terzo();"})
                                     pdf.OnFieldEvent(6, "riga", script);
                                 pdf.OnFieldEvent(0, "vai", "sostituto();");
                                 pdf.OnFieldEvent(10, "totale", "mai();");
                                 pdf.OnFieldEvent(2, "totale", "");
                                 pdf.OnFieldEvent(6, "assente", "x();");  // no such field on the page
                             }).path;
    EXPECT_EQ(InfoField(path, "PDF version"), "1.4");
    ExpectSummaryGolden("actions.txt", path);
    ExpectScripts(path,
                  {"chiudi();", "stampa();", "salva();", "stampato();", "salvato();", "entra();", "esci();",
                   "function comune() { return 1; }", "t0();", "t6();", "t9();", "somma();", "sostituto();"},
                  {"lost();", "nessuno();", "originale();", "mai();", "x();"});
    EXPECT_EQ(MutoolShow(path, "trailer/Root/OpenAction/JS"), "apri(); ancora();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AA/DS/JS"), "salvato();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/Names/JavaScript/Names/2/JS"), "function comune() { return 1; }");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/Pages/Kids/1/AA/O/JS"), "entra();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AcroForm/Fields/2/AA/K/Next/2/JS"), "terzo();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AcroForm/Fields/1/AA/F/JS"), "t9();");
}

TEST(Actions, DocumentOpenAndLevelScriptsAloneNeedNoLaterVersion)
{
    const std::string path = WriteDocument("plain.pdf", [](Tavlo& pdf) {
                                 pdf.OnDocEvent(2, "apri();", true);
                                 pdf.OnDocEvent(8, "var x = 1;", true);
                             }).path;
    EXPECT_EQ(InfoField(path, "PDF version"), "1.3");
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "catalog.open.js"), "apri();");
    EXPECT_EQ(Fact(facts, "catalog.js.globalscript.js"), "var x = 1;");
}

TEST(Actions, CompressedAndEncryptedScriptsAreReadBack)
{
    for (const std::uint32_t filters : {Filter::Flate, Filter::Flate | Filter::Ascii85, Filter::Lzw | Filter::AsciiHex}) {
        const std::string path = WriteOnePage(
            "packed.pdf",
            [](Tavlo& pdf) {
                pdf.OnDocEvent(4, "prima_della_stampa();", true);
                pdf.OnDocEvent(8, "var comune = 'condiviso';", true);
                pdf.AddField("campo", 0, 10, 10, 80, 20, "", 0, "", 0);
                pdf.OnFieldEvent(7, "campo", "convalida(event.value);");
            },
            {[&](Tavlo& pdf) {
                 pdf.SetProtection(4096, "padrone", "utente");
                 pdf.SetCompression(filters, 3);
             },
             "utente"});
        ExpectScripts(path, {"prima_della_stampa();", "var comune = 'condiviso';", "convalida(event.value);"}, {},
                      "utente");
        const auto facts = InteractiveSummary(path, "utente");
        EXPECT_EQ(Fact(facts, "catalog.aa/WP.js"), "prima_della_stampa();");
        // The name of the document-level script decrypts to itself.
        EXPECT_EQ(Fact(facts, "catalog.js.globalscript.js"), "var comune = 'condiviso';");
        EXPECT_EQ(Fact(facts, "page1.annot1.AA/V.js"), "convalida(event.value);");
    }
}

// Scripts are Windows-1252 text: "€" and typographic quotes must reach the reader as such,
// whether a field, a link, the document or a page holds them.
TEST(Actions, ScriptsKeepTheirCharactersInReaders)
{
    const std::string path = WriteOnePage("characters.pdf", [](Tavlo& pdf) {
        pdf.AddField("campo", 0, 10, 10, 80, 20, "", 0, "", 0);
        pdf.AddField("vai", 5, 10, 40, 80, 20, "Vai", std::string("app.alert('premuto\x85');"), "", 0);
        pdf.OnFieldEvent(7, "campo", "app.alert('\x80 \x93ok\x94');");
        pdf.LinkTo("script:app.alert('perch\xE9 \x91s\xEC\x92');", 0, 0);
        pdf.OnDocEvent(3, "app.alert('\x80 \x92" "chiuso\x92');", true);
        pdf.OnDocEvent(0, "app.alert('\x93pagina\x94');", true);
    });
    ExpectScripts(path, {"app.alert('premuto\u2026');", "app.alert('\u20AC \u201Cok\u201D');",
                         "app.alert('perch\u00E9 \u2018s\u00EC\u2019');", "app.alert('\u20AC \u2019chiuso\u2019');",
                         "app.alert('\u201Cpagina\u201D');"});
    EXPECT_EQ(Fact(InteractiveSummary(path), "page1.annot1.A.js"), "app.alert('perch\u00E9 \u2018s\u00EC\u2019');");
}
