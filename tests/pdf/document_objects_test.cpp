// Objects written at the end of a document: named destinations, scripts, the strings of
// the catalog and the names dictionary under encryption, the shared resources.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class DocumentObjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    static std::string CatalogOf(const std::string& path, const std::string& password = "")
    {
        const std::string trailer = ObjectOf(path, "trailer", password);
        return ObjectOf(path, TokenAfter(trailer, "/Root ", "0123456789"), password);
    }
    ScratchDir dir;
};

} // namespace

TEST_F(DocumentObjectsTest, NamedDestinationsValidWhateverTheirRecords)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("dests.pdf");
    pdf.BeginDoc(path);
    for (int i = 0; i < 5; ++i)
        pdf.BeginPage();
    auto& dests = peer.State().doc.Destinations;
    dests.push_back({7, "/XYZ 0 800 1", "/_REF_oltre"});   // past the last page: the last
    dests.push_back({-1, "/Fit", "/_REF_ultima"});
    dests.push_back({0, "/FitH 500", "/_REF_zero"});       // page 0: the first
    dests.push_back({2, "", "/_REF_vuota"});               // no view: the whole page
    dests.push_back({2, "/FitH 100", "/_REF_doppia"});
    dests.push_back({3, "/FitH 200", "/_REF_doppia"});     // defined twice: the latest holds
    peer.State().DestinationCount = static_cast<std::int32_t>(dests.size());
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string catalog = CatalogOf(path);
    const std::string table = ObjectOf(path, TokenAfter(catalog, "/Dests ", "0123456789"));
    const std::string pages = RunTool("qpdf --json --json-key=pages " + Quote(path)).output;
    auto pageRef = [&](int page) {
        std::size_t at = 0;
        for (int i = 0; i < page; ++i)
            at = pages.find("\"object\": \"", at) + 11;
        return pages.substr(at, pages.find('"', at) - at);
    };
    EXPECT_NE(table.find("/_REF_oltre [ " + pageRef(5) + " /XYZ 0 800 1 ]"), std::string::npos) << table;
    EXPECT_NE(table.find("/_REF_ultima [ " + pageRef(5) + " /Fit ]"), std::string::npos) << table;
    EXPECT_NE(table.find("/_REF_zero [ " + pageRef(1) + " /FitH 500 ]"), std::string::npos) << table;
    EXPECT_NE(table.find("/_REF_vuota [ " + pageRef(2) + " /Fit ]"), std::string::npos) << table;
    EXPECT_NE(table.find("/_REF_doppia [ " + pageRef(3) + " /FitH 200 ]"), std::string::npos) << table;
    EXPECT_EQ(table.find("/FitH 100"), std::string::npos) << table;
}

TEST_F(DocumentObjectsTest, ScriptsAndCatalogStringsUnderEncryption)
{
    for (const std::int32_t strength : {0, 4096}) {
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("scripts" + std::to_string(strength) + ".pdf");
        pdf.SetProtection(strength, "", "utente");
        pdf.SetDocProperty("Elenco (livelli)", "", "", "", "", "");
        pdf.SetLabel(2, "Pref. \\", 3);
        pdf.BeginDoc(path);
        pdf.BeginPage();
        pdf.BeginLayer("Note", 1, 1);
        pdf.EndLayer();
        auto& scripts = peer.State().DocScripts;
        scripts[0] = "app.alert('apertura');";
        scripts[1] = "var chiusura = 1;";
        scripts[6] = "var paginaAperta = 1;";
        scripts[8] = "function globale() { return 1; }";
        pdf.EndDoc();
        ExpectReadersAccept(path, "utente");
        const std::string catalog = CatalogOf(path, "utente");
        EXPECT_NE(catalog.find("/Order [ (Elenco \\(livelli\\))"), std::string::npos) << catalog;
        EXPECT_NE(catalog.find("/P (Pref. \\\\)"), std::string::npos) << catalog;
        EXPECT_NE(catalog.find("/St 3"), std::string::npos) << catalog;
        EXPECT_NE(catalog.find("/WC << /JS "), std::string::npos) << catalog;
        const std::string names = ObjectOf(path, TokenAfter(catalog, "/Names ", "0123456789"), "utente");
        EXPECT_NE(names.find("(globalscript)"), std::string::npos) << names;
        const std::string open = StreamOf(path, std::stoi(TokenAfter(catalog, "/OpenAction << /JS ", "0123456789")),
                                          "utente");
        EXPECT_EQ(open, "app.alert('apertura');");
        const std::string info = RunTool("pdfinfo -upw utente " + Quote(path)).output;
        EXPECT_NE(info.find("JavaScript:      yes"), std::string::npos) << info;
    }
}

TEST_F(DocumentObjectsTest, EmptyResourcesAndEncryptionDictionary)
{
    Tavlo pdf;
    const std::string path = dir.File("resources.pdf");
    pdf.SetProtection(4, "proprietario", "");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("3 0 obj\n<<\r/ProcSet [/PDF /Text ]\r\r>>\nendobj\n2 0 obj\n<<\r/ProcSet [/PDF /Text ]\r\r>>\n"),
              std::string::npos);
    EXPECT_NE(text.find("/P -60\r/V 1 /R 2 >>"), std::string::npos);
    const std::string trailer = ObjectOf(path, "trailer");
    EXPECT_NE(trailer.find("/ID [ "), std::string::npos) << trailer;
}
