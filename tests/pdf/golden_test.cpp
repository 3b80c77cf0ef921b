// Small reference documents compared byte for byte, with a fixed creation date and author:
// an empty document, one with a bookmark, page labels, a layer and a font, and an encrypted
// one. The reference files were reviewed object by object; QUERCINO_UPDATE_GOLDEN=1 rewrites
// them after a deliberate change of the output, for a new review.

#include "pdf/TavloTestPeer.h"
#include "support/pdf/golden_files.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Golden, ReferenceDocuments)
{
    const std::tuple<const char*, std::function<void(Tavlo&)>, bool> cases[] = {
        {"empty.pdf", [](Tavlo&) {}, false},
        {"outline.pdf",
         [](Tavlo& pdf) {
             pdf.SetLabel(3, "", -1);
             pdf.BeginPage();
             pdf.SetFont("Helvetica", 12, 1, 0);
             pdf.BeginPage();
             pdf.BeginLayer("Note", 1, 1);
             pdf.SetColorFill("red");
             pdf.EndLayer();
             pdf.AddBookmark("Seconda", 1, 4, 10, 20, 0, 0, 150, "", 0);
         },
         false},
        {"encrypted.pdf",
         [](Tavlo& pdf) {
             pdf.BeginPage();
             pdf.SetColorLine("#336699");
             pdf.AddBookmark("Cifrato", 1, 0, 0, 0, 0, 0, 0, "", 0);
         },
         true}};
    for (const auto& [name, draw, encrypted] : cases) {
        const bool secret = encrypted;
        const WriteOptions options{[secret](Tavlo& pdf) {
                                       pdf.SetDocProperty("Prova", "", "Quercino", "Quercino", "Quercino", "");
                                       TavloTestPeer(pdf).State().CreationDate = "D:20261206120000+01'00'";
                                       if (secret)
                                           pdf.SetProtection(4, "padrone", "utente");
                                   },
                                   encrypted ? "utente" : ""};
        ExpectGolden(name, WriteDocument(name, draw, options).bytes);
    }
}
