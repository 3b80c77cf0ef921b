// Small reference documents compared byte for byte, with a fixed creation date and author.
// The reference files were reviewed object by object; TAVLO_WRITE_GOLDEN=1 rewrites them
// after a deliberate change of the output, for a new review.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void CompareWithReference(const std::string& name, const std::function<void(Tavlo&)>& build,
                          const std::function<void(Tavlo&)>& setUp = [](Tavlo&) {})
{
    ScratchDir dir;
    const std::string path = dir.File(name);
    Tavlo pdf;
    pdf.SetDocProperty("Prova", "", "Quercino", "Quercino", "Quercino", "");
    TavloTestPeer(pdf).State().CreationDate = "D:20261206120000+01'00'";
    setUp(pdf);
    pdf.BeginDoc(path);
    build(pdf);
    pdf.EndDoc();
    const std::string reference = std::string(QUERCINO_SOURCE_DIR "/tests/pdf/golden/") + name;
    if (std::getenv("TAVLO_WRITE_GOLDEN"))
        WriteFile(reference, ReadFile(path));
    if (ReadersAvailable())
        ExpectReadersAccept(path, TavloTestPeer(pdf).State().Encrypted ? "utente" : "");
    EXPECT_EQ(ReadFile(path), ReadFile(reference)) << name;
}

} // namespace

TEST(Golden, EmptyDocument)
{
    CompareWithReference("empty.pdf", [](Tavlo&) {});
}

TEST(Golden, BookmarkLabelLayerAndFont)
{
    CompareWithReference("outline.pdf", [](Tavlo& pdf) {
        pdf.SetLabel(3, "", -1);
        pdf.BeginPage();
        pdf.SetFont("Helvetica", 12, 1, 0);
        pdf.BeginPage();
        pdf.BeginLayer("Note", 1, 1);
        pdf.SetColorFill("red");
        pdf.EndLayer();
        pdf.AddBookmark("Seconda", 1, 4, 10, 20, 0, 0, 150, "", 0);
    });
}

TEST(Golden, EncryptedDocument)
{
    CompareWithReference(
        "encrypted.pdf",
        [](Tavlo& pdf) {
            pdf.BeginPage();
            pdf.SetColorLine("#336699");
            pdf.AddBookmark("Cifrato", 1, 0, 0, 0, 0, 0, 0, "", 0);
        },
        [](Tavlo& pdf) { pdf.SetProtection(4, "padrone", "utente"); });
}
