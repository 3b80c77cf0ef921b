// Page settings and the page's frame: sizes, units, margins and clipping as the readers see
// them, sizes and scales no reader draws refused, and field texts with the euro sign.

#include "pdf/ErrorRaised.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlo;
using namespace tavlo::test;

TEST(PageSettings, SizesScaleMarginsAndPosition)
{
    Tavlo pdf;
    const std::tuple<std::function<void()>, float, float, bool> steps[] = {
        {[] {}, 596, 842, false},
        {[&] { pdf.SetMargins(10, 10, 10, 10, false); }, 576, 822, true},
        {[&] { pdf.SetPaperSize(18), pdf.SetPaperSize(-9); }, 596, 842, false},  // no such sizes
        {[&] { pdf.SetPaperSize(-7); }, 3371, 2384, false},
        {[&] { pdf.SetPaperSize(17); }, 756, 522, false},
        {[&] { pdf.SetScale(1), pdf.SetScale(4); }, 10.5f, 7.25f, false},  // no unit 4: inches stay
        {[&] { pdf.SetScale(2), pdf.SetPaperSize(255, 210, 297); }, 210, 297, false}};
    for (const auto& [step, width, height, inside] : steps) {
        step();
        EXPECT_NEAR(pdf.GetPageWidth(inside), width, 1e-3);
        EXPECT_NEAR(pdf.GetPageHeight(inside), height, 1e-3);
    }
    pdf.SetXY(1, 2);
    EXPECT_FLOAT_EQ(pdf.GetX(), 1);
    EXPECT_FLOAT_EQ(pdf.GetY(), 2);
    EXPECT_EQ(pdf.GetPage(), 0);
}

// Sizes no reader draws (an empty, reversed or huge page) and scales that would divide by
// zero or mirror every coordinate raise the argument error and change nothing; the limits
// themselves are drawn by every reader.
TEST(PageSettings, UnusableSizesAndScalesRefused)
{
    const std::string path = WriteDocument("limits.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 for (const auto& [w, h] : std::vector<std::pair<float, float>>{
                                          {0, 0}, {-100, 200}, {200, 14401}, {2.9f, 200}, {std::nanf(""), 200}})
                                     EXPECT_EQ(ErrorRaised([&] { pdf.SetPaperSize(255, w, h); }),
                                               ErrorCode::InvalidArgument);
                                 for (const float factor : {0.f, -2.f, std::nanf(""), INFINITY})
                                     EXPECT_EQ(ErrorRaised([&] { pdf.SetScale(255, factor); }),
                                               ErrorCode::InvalidArgument);
                                 pdf.BeginPage();
                                 pdf.SetPaperSize(255, 3, 3);
                                 pdf.BeginPage();
                                 pdf.SetScale(255, 2);
                                 pdf.SetPaperSize(255, 7200, 100);
                             }).path;
    const auto info = PdfInfo(path);
    EXPECT_EQ(info.at("Page    1 size"), "596 x 842 pts (A4)");
    EXPECT_EQ(info.at("Page    2 size"), "3 x 3 pts");
    EXPECT_EQ(info.at("Page    3 size"), "14400 x 200 pts");
}

// Each page's content begins with its frame: the axis from the top-left corner inside the
// margins, the margins' clip when asked for, black colours; an EndPage with no page open
// writes nothing.
TEST(Pages, FrameColoursAndClip)
{
    std::vector<std::int32_t> numbers;
    const QpdfDocument q(WriteDocument("frame.pdf", [&](Tavlo& pdf) {
                             numbers.push_back(pdf.BeginPage());
                             pdf.SetMargins(20, 30, 40, 50, true);
                             pdf.EndPage();
                             pdf.EndPage();
                             pdf.SetMargins(0, 0, 0, 0, false);
                             numbers.push_back(pdf.BeginPage());
                         }).path);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(q.Text("Root/Pages/Count"), "2");
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1))),
              (std::vector<std::string>{"1 0 0 -1 20 802 cm", "0 0 546 752 re", "W", "n", "0 0 0 rg", "0 0 0 RG"}));
    EXPECT_EQ(LinesOf(Operations(q.PageContent(2))),
              (std::vector<std::string>{"1 0 0 -1 0 842 cm", "0 0 0 rg", "0 0 0 RG"}));
}

// Field names, tooltips, values and options are text strings: a euro sign or typographic
// quotes read back as themselves, and poppler draws the value with the euro sign.
TEST(Pages, WidgetTextsKeepTheEuroSign)
{
    const std::string path = WriteDocument("euro-fields.pdf", [](Tavlo& pdf) {
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.BeginPage();
                                 pdf.AddField("importo \x80", 0, 10, 10, 200, 20, "\x80 12,50", 0, "Importo in \x80", 0);
                                 pdf.AddField("valuta", 3, 10, 40, 200, 20, "\x80|\x93USD\x94", 1, "", 0);
                             }).path;
    const QpdfDocument q(path);
    const Json& fields = q.Root()["acroform"]["fields"];
    EXPECT_EQ(fields[0]["fullname"].text, "importo \xE2\x82\xAC");
    EXPECT_EQ(fields[0]["alternativename"].text, "Importo in \xE2\x82\xAC");
    EXPECT_EQ(StringValue(fields[0]["value"]), "\xE2\x82\xAC 12,50");
    EXPECT_EQ(Show(fields[1]["choices"]), "[\xE2\x82\xAC \xE2\x80\x9CUSD\xE2\x80\x9D]");
    EXPECT_EQ(StringValue(fields[1]["value"]), "\xE2\x82\xAC");
    EXPECT_NE(PopplerText(path, "", "-layout").find("\xE2\x82\xAC 12,50"), std::string::npos);
}
