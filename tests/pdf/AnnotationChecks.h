#pragma once
// What the field, note and link tests share: the readers they need, a box painted in user
// units, and the checks that an annotation covers that box and that readers draw ink only
// where a test expects it.

#include "support/pdf/InteractiveSummary.h"
#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/PdfFormat.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tavlo::test {

class AnnotationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ToolAvailable("/usr/bin/python3"))
            FAIL() << "qpdf, poppler, mupdf or python3 missing";
    }
    ScratchDir dir;
};

// A one-page document that `body` fills, accepted by every reader.
template <typename Body>
void WriteOnePage(const std::string& path, Body&& body)
{
    Tavlo pdf;
    pdf.BeginDoc(path);
    pdf.BeginPage();
    body(pdf);
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

// Entries of the interactive summary, each as key and expected value.
inline void ExpectFacts(const std::map<std::string, std::string>& facts,
                        std::initializer_list<std::pair<const char*, const char*>> expected)
{
    for (const auto& [key, value] : expected)
        EXPECT_EQ(Fact(facts, key), value) << key;
}

// A filled box in user units, written as a drawing member writes it.
inline void PaintBox(Tavlo& pdf, double x, double y, double w, double h)
{
    TavloTestPeer peer(pdf);
    const double scale = peer.State().Scale;
    peer.PutContent(PdfNumber(x * scale) + " " + PdfNumber(y * scale) + " " + PdfNumber(w * scale) + " " +
                    PdfNumber(h * scale) + " re f");
}

// The first annotation of page 1 lies over the box poppler draws, within a point.
inline void ExpectFirstAnnotationCoversDrawnBox(const std::string& path, double leastWidth)
{
    const auto drawn = DarkBoxOfPage(path, 1);
    const auto rect = RectOf(InteractiveSummary(path), "page1.annot1.rect");
    EXPECT_GT(drawn[2] - drawn[0], leastWidth);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(rect[i], drawn[i], 1.0) << "side " << i;
}

// A region of page 1 in points from the top-left corner, and how much ink it must hold:
// more than `least` dark pixels, or none at all when `least` is 0.
struct InkArea {
    int left, top, right, bottom, least;
};

// Checked on poppler's drawing (annotations shown) and on mupdf's.
inline void ExpectInk(const std::string& path, std::initializer_list<InkArea> areas)
{
    for (const GreyImage& image : {PopplerPage(path, 1, true), MupdfPage(path, 1)}) {
        ASSERT_GT(image.width, 0);
        for (const InkArea& a : areas) {
            const int dark = DarkPixelsIn(image, a.left, a.top, a.right, a.bottom);
            if (a.least == 0)
                EXPECT_EQ(dark, 0) << "at " << a.left << "," << a.top;
            else
                EXPECT_GT(dark, a.least) << "at " << a.left << "," << a.top;
        }
    }
}

} // namespace tavlo::test
