// Document, page and field scripts found by poppler (pdfinfo -js), mupdf (mutool show)
// and qpdf where readers look for them.

#include "pdf/AnnotationChecks.h"

using namespace tavlo;
using namespace tavlo::test;

namespace {

using ActionsTest = AnnotationTest;

std::string MutoolShow(const std::string& path, const std::string& what)
{
    return RunTool("mutool show -b " + Quote(path) + " " + what).output;
}

std::string Scripts(const std::string& path)
{
    return RunTool("pdfinfo -js " + Quote(path)).output;
}

// Every script in `expected` is among those poppler lists.
void ExpectScripts(const std::string& js, std::initializer_list<const char*> expected)
{
    for (const char* script : expected)
        EXPECT_NE(js.find(script), std::string::npos) << script << "\n" << js;
}

} // namespace

TEST_F(ActionsTest, DocumentEventsGoToTheCatalog)
{
    Tavlo pdf;
    const std::string path = dir.File("doc.pdf");
    pdf.BeginDoc(path);
    pdf.OnDocEvent(0, "lost();", true);  // a page script before the page: dropped by BeginPage
    pdf.BeginPage();
    pdf.OnDocEvent(2, "apri();", true);
    pdf.OnDocEvent(2, " ancora();", false);
    pdf.OnDocEvent(3, "chiudi();", true);
    pdf.OnDocEvent(4, "stampa();", true);
    pdf.OnDocEvent(5, "salva();", true);
    pdf.OnDocEvent(6, "stampato();", true);
    pdf.OnDocEvent(7, "salvato();", true);
    pdf.OnDocEvent(8, "function comune() { return 1; }", true);
    pdf.OnDocEvent(9, "nessuno();", true);
    pdf.OnDocEvent(-1, "nessuno();", true);
    pdf.OnDocEvent(0, "entra();", true);
    pdf.OnDocEvent(1, "esci();", true);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(InfoField(path, "PDF version"), "1.4");

    const auto facts = InteractiveSummary(path);
    ExpectFacts(facts, {{"catalog.open.js", "apri(); ancora();"}, {"catalog.aa/WC.js", "chiudi();"},
                        {"catalog.aa/WP.js", "stampa();"},          {"catalog.aa/WS.js", "salva();"},
                        {"catalog.aa/DP.js", "stampato();"},        {"catalog.aa/DS.js", "salvato();"},
                        {"page1.aa/O.js", "entra();"},              {"page1.aa/C.js", "esci();"}});

    const std::string js = Scripts(path);
    ExpectScripts(js, {"chiudi();", "stampa();", "salva();", "stampato();", "salvato();", "entra();", "esci();",
                       "function comune() { return 1; }"});
    EXPECT_EQ(js.find("lost();"), std::string::npos);
    EXPECT_EQ(js.find("nessuno();"), std::string::npos);

    EXPECT_EQ(MutoolShow(path, "trailer/Root/OpenAction/JS"), "apri(); ancora();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AA/WC/JS"), "chiudi();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AA/DS/JS"), "salvato();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/Names/JavaScript/Names/2/JS"), "function comune() { return 1; }");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/Pages/Kids/1/AA/O/JS"), "entra();");
}

TEST_F(ActionsTest, DocumentOpenAndLevelScriptsAloneNeedNoLaterVersion)
{
    Tavlo pdf;
    const std::string path = dir.File("plain.pdf");
    pdf.BeginDoc(path);
    pdf.OnDocEvent(2, "apri();", true);
    pdf.OnDocEvent(8, "var x = 1;", true);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(InfoField(path, "PDF version"), "1.3");
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "catalog.open.js"), "apri();");
    EXPECT_EQ(Fact(facts, "catalog.js.globalscript.js"), "var x = 1;");
    EXPECT_EQ(Fact(facts, "catalog.aa/WC.js"), "<none>");
}

TEST_F(ActionsTest, FieldEventsReachTheirWidgetsAndTheCalculationOrder)
{
    const std::string path = dir.File("fields.pdf");
    const char* keys[] = {"A", "AA/D", "AA/E", "AA/X", "AA/Fo", "AA/Bl", "AA/K", "AA/V", "AA/C", "AA/F"};
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.AddField("totale", 0, 10, 10, 80, 20, "", 0, "", 0);
        pdf.AddField("riga", 0, 10, 40, 80, 20, "", 0, "", 0);
        pdf.AddField("riga.1", 0, 10, 70, 80, 20, "", 0, "", 0);
        pdf.AddField("righe", 0, 10, 100, 80, 20, "", 0, "", 0);
        pdf.AddField("vai", 5, 10, 130, 80, 20, "Vai", std::string("originale();"), "", 0);
        for (int event = 0; event < 10; ++event)
            pdf.OnFieldEvent(event, "totale", "t" + std::to_string(event) + "();");
        pdf.OnFieldEvent(8, "riga", "somma();");
        pdf.OnFieldEvent(6, "riga", "primo();");
        pdf.OnFieldEvent(6, "riga", "secondo();");
        pdf.OnFieldEvent(6, "riga", "terzo();");
        pdf.OnFieldEvent(0, "vai", "sostituto();");
        pdf.OnFieldEvent(10, "totale", "mai();");
        pdf.OnFieldEvent(2, "totale", "");
    });
    const auto facts = InteractiveSummary(path);

    for (int event = 0; event < 10; ++event) {
        const std::string key = std::string("page1.annot1.") + keys[event];
        EXPECT_EQ(Fact(facts, key + ".type"), "/JavaScript") << key;
        EXPECT_EQ(Fact(facts, key + ".js"), "t" + std::to_string(event) + "();") << key;
        EXPECT_EQ(Fact(facts, key + ".next1.js"), "<none>") << key;
    }
    // "riga" reaches "riga.1" but not "righe".
    for (const std::string widget : {"page1.annot2", "page1.annot3"}) {
        EXPECT_EQ(Fact(facts, widget + ".AA/C.js"), "somma();");
        EXPECT_EQ(Fact(facts, widget + ".AA/K.js"), "primo();");
        EXPECT_EQ(Fact(facts, widget + ".AA/K.next1.js"), "secondo();");
        EXPECT_EQ(Fact(facts, widget + ".AA/K.next2.js"), "terzo();");
    }
    EXPECT_EQ(Fact(facts, "page1.annot4.AA/C.js"), "<none>");
    EXPECT_EQ(Fact(facts, "page1.annot5.A.js"), "sostituto();");
    EXPECT_EQ(Fact(facts, "form.co"), "totale riga riga.1");

    const std::string js = Scripts(path);
    ExpectScripts(js, {"t0();", "t6();", "t7();", "t8();", "t9();", "somma();", "sostituto();"});
    EXPECT_EQ(js.find("originale();"), std::string::npos);
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AcroForm/Fields/2/AA/K/Next/2/JS"), "terzo();");
    EXPECT_EQ(MutoolShow(path, "trailer/Root/AcroForm/Fields/1/AA/F/JS"), "t9();");
}

TEST_F(ActionsTest, FieldScriptsWithoutFieldsOrScriptWriteNothing)
{
    const std::string path = dir.File("none.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.OnFieldEvent(6, "assente", "x();");  // no field on the page
        pdf.AddField("a", 0, 10, 10, 80, 20, "", 0, "", 0);
        pdf.OnFieldEvent(6, "a", "");
    });
    EXPECT_EQ(ReadFile(path).find("stream\nx();"), std::string::npos);
    EXPECT_EQ(Fact(InteractiveSummary(path), "page1.annot1.AA/K.js"), "<none>");
}

TEST_F(ActionsTest, CompressedAndEncryptedScriptsAreReadBack)
{
    for (const std::uint32_t filters : {Filter::Flate, Filter::Flate | Filter::Ascii85, Filter::Lzw | Filter::AsciiHex}) {
        SCOPED_TRACE(filters);
        Tavlo pdf;
        const std::string path = dir.File("packed.pdf");
        pdf.BeginDoc(path);
        pdf.SetProtection(4096, "padrone", "utente");
        pdf.SetCompression(filters, 3);
        pdf.OnDocEvent(4, "prima_della_stampa();", true);
        pdf.OnDocEvent(8, "var comune = 'condiviso';", true);
        pdf.BeginPage();
        pdf.AddField("campo", 0, 10, 10, 80, 20, "", 0, "", 0);
        pdf.OnFieldEvent(7, "campo", "convalida(event.value);");
        pdf.EndDoc();
        ExpectReadersAccept(path, "utente");
        ExpectScripts(RunTool("pdfinfo -upw utente -js " + Quote(path)).output,
                      {"prima_della_stampa();", "var comune = 'condiviso';", "convalida(event.value);"});
        const auto facts = InteractiveSummary(path, "utente");
        EXPECT_EQ(Fact(facts, "catalog.aa/WP.js"), "prima_della_stampa();");
        // The name of the document-level script decrypts to itself.
        EXPECT_EQ(Fact(facts, "catalog.js.globalscript.js"), "var comune = 'condiviso';");
        EXPECT_EQ(Fact(facts, "page1.annot1.AA/V.js"), "convalida(event.value);");
    }
}

// Scripts are Windows-1252 text: "€" and typographic quotes must reach the reader as such,
// whether a field, a link, the document or a page holds them.
TEST_F(ActionsTest, ScriptsKeepTheirCharactersInReaders)
{
    const std::string path = dir.File("characters.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        // The euro sign, typographic quotes, an ellipsis and accented letters.
        pdf.AddField("campo", 0, 10, 10, 80, 20, "", 0, "", 0);
        pdf.AddField("vai", 5, 10, 40, 80, 20, "Vai", std::string("app.alert('premuto\x85');"), "", 0);
        pdf.OnFieldEvent(7, "campo", "app.alert('\x80 \x93ok\x94');");
        pdf.LinkTo("script:app.alert('perch\xE9 \x91s\xEC\x92');", 0, 0);
        pdf.OnDocEvent(3, "app.alert('\x80 \x92" "chiuso\x92');", true);
        pdf.OnDocEvent(0, "app.alert('\x93pagina\x94');", true);
    });
    // poppler decodes each script as the text stream it is.
    ExpectScripts(Scripts(path), {"app.alert('premuto\u2026');", "app.alert('\u20AC \u201Cok\u201D');",
                                  "app.alert('perch\u00E9 \u2018s\u00EC\u2019');",
                                  "app.alert('\u20AC \u2019chiuso\u2019');", "app.alert('\u201Cpagina\u201D');"});
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "page1.annot1.A.js"), "app.alert('perch\u00E9 \u2018s\u00EC\u2019');");
}
