// Interactive members given numbers no reader could take (infinite, not a number, beyond
// the 32-bit range) refuse them with the overflow error before writing anything, so the
// document stays valid and keeps what was given correctly.

#include "pdf/ErrorRaised.h"
#include "support/pdf/InteractiveSummary.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace tavlo;
using namespace tavlo::test;

TEST(InteractiveArguments, UnusableNumbersAreRefusedAndTheFileStaysValid)
{
    if (!ReadersAvailable() || !ToolAvailable("/usr/bin/python3"))
        FAIL() << "qpdf, poppler, mupdf or python3 missing";
    ScratchDir dir;
    const std::string path = dir.File("refused.pdf");
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 1e30f;

    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"field x", [&] { pdf.AddField("a", 0, inf, 10, 10, 10, "", 0, "", 0); }},
        {"field width", [&] { pdf.AddField("b", 5, 10, 10, huge, 10, "", std::string("x();"), "", 0); }},
        {"field y", [&] { pdf.AddField("c", 1, 10, nan, 10, 10, "true", 0, "", 0); }},
        {"note box", [&] { pdf.AddNoteBox("n", 10, 10, 10, -huge, 0, 0, 0, 0, 0); }},
        {"note dash", [&] { pdf.AddNoteBox("n", 10, 10, 10, 10, 0, 1, inf, 1, 0); }},
        {"note icon", [&] { pdf.AddNoteIcon("n", 0, -huge, 10, false, 0); }},
        {"reference", [&] { pdf.DefineRef("r", 4, nan, 10, 0, 0, 100); }},
        {"reference zoom", [&] { pdf.DefineRef("r", 4, 10, 10, 0, 0, huge); }},
        {"link view", [&] { pdf.LinkTo("page:1", 0, 0, 3, 10, 10, huge, 10, 0); }},
        {"link box", [&] {
             peer.SetLastBox(0, 0, inf, 0);
             pdf.LinkTo("script:x();", 0, 0);
         }},
    };
    for (const auto& [what, call] : calls)
        EXPECT_EQ(ErrorRaised(call), ErrorCode::Overflow) << what;
    peer.SetLastBox(10, 800, 50, 780);
    pdf.AddField("buono", 0, 10, 10, 50, 20, "", 0, "", 0);
    pdf.LinkTo("page:1", 0, 0, 4, 0, 0, 0, 0, 100);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "form.fields"), "buono");
    EXPECT_EQ(Fact(facts, "page1.annot1.Subtype"), "/Link");
    EXPECT_EQ(Fact(facts, "page1.annot1.dest.page"), "1");
    EXPECT_EQ(Fact(facts, "page1.annot2.T"), "buono");
    EXPECT_EQ(Fact(facts, "page1.annot3.Subtype"), "<none>");
    // Nothing half-written: the refused scripts never reached the file.
    EXPECT_EQ(ReadFile(path).find("x();"), std::string::npos);
}
