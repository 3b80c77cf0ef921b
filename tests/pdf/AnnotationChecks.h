#pragma once
// What the field, note and link tests share: a one-page document, a box painted in user
// units, the check that an annotation covers that box, and the check that readers draw
// ink only where a test expects it.

#include "pdf/TavloTestPeer.h"
#include "pdf/core/PdfFormat.h"
#include "support/pdf/golden_files.h"
#include "support/pdf/interactive_summary.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tavlo::test {

// A document whose first page `body` fills, accepted by every reader.
inline std::string WriteOnePage(const std::string& name, const std::function<void(Tavlo&)>& body,
                                const WriteOptions& options = {})
{
    return WriteDocument(
               name,
               [&](Tavlo& pdf) {
                   pdf.BeginPage();
                   body(pdf);
               },
               options)
        .path;
}

// A filled box in user units, written as a drawing member writes it and recorded as the last
// shape the way the drawing members record theirs.
inline void PaintBox(Tavlo& pdf, double x, double y, double w, double h)
{
    TavloTestPeer peer(pdf);
    const double scale = peer.State().Scale;
    peer.PutContent(PdfNumber(x * scale) + " " + PdfNumber(y * scale) + " " + PdfNumber(w * scale) + " " +
                    PdfNumber(h * scale) + " re f");
    peer.SetLastBox(peer.PageSpaceX(x), peer.PageSpaceY(y), peer.PageSpaceX(x + w), peer.PageSpaceY(y + h));
}

// The first annotation of page 1 lies over the box poppler draws (annotations hidden),
// within a point.
inline void ExpectFirstAnnotationCoversDrawnBox(const std::string& path, double leastWidth)
{
    RenderOptions hidden;
    hidden.annotations = false;
    const auto drawn = DarkBox(RenderPage(path, 1, Reader::Poppler, hidden));
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

// Checked on poppler's drawing and on mupdf's, annotations shown.
inline void ExpectInk(const std::string& path, std::initializer_list<InkArea> areas)
{
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
        const Image image = RenderPage(path, 1, reader);
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

// The interactive summary of a document against its golden file.
inline void ExpectSummaryGolden(const std::string& golden, const std::string& path, const std::string& password = "")
{
    ExpectGolden(golden, SummaryText(InteractiveSummary(path, password)));
}

} // namespace tavlo::test
