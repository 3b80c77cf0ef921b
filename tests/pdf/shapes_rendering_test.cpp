// Shapes as poppler draws them at one pixel a point: filled boxes, circles, pies and
// polygons cover the pixels their geometry says, also inside margins and in millimetres;
// rotated, scaled and moved axes carry the drawing where they should; the box recorded for
// a link is the box poppler draws.

#include "support/pdf/InteractiveSummary.h"
#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tavlo;
using namespace tavlo::test;

namespace {

constexpr int kFill = 5;  // fill only: the drawn pixels are the shape, no stroke around it

class ShapesRenderingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ToolAvailable("/usr/bin/python3"))
            FAIL() << "qpdf, poppler, mupdf or python3 missing";
    }
    // One A4 page drawn by draw, accepted by every reader.
    std::string Page(const std::string& name, const std::function<void(Tavlo&)>& draw, std::int32_t unit = 0,
                     float left = 0, float top = 0)
    {
        const std::string path = dir.File(name);
        Tavlo pdf;
        pdf.BeginDoc(path);
        pdf.SetScale(unit);
        pdf.SetMargins(left, 0, top, 0, false);
        pdf.BeginPage();
        draw(pdf);
        pdf.EndDoc();
        ExpectReadersAccept(path);
        return path;
    }
    ScratchDir dir;
};

// left, bottom, right, top in points, y upwards.
void ExpectBox(const std::array<double, 4>& drawn, double left, double bottom, double right, double top,
               double tolerance = 0.5)
{
    EXPECT_NEAR(drawn[0], left, tolerance) << "left";
    EXPECT_NEAR(drawn[1], bottom, tolerance) << "bottom";
    EXPECT_NEAR(drawn[2], right, tolerance) << "right";
    EXPECT_NEAR(drawn[3], top, tolerance) << "top";
}

} // namespace

TEST_F(ShapesRenderingTest, FilledRectangleCoversItsBox)
{
    // Points without margins: 70..240 across, 110..155 down from the top of an 842 page.
    ExpectBox(DarkBoxOfPage(Page("plain.pdf", [](Tavlo& p) { p.DrawRect(70, 110, 170, 45, kFill); }), 1), 70,
              842 - 155, 240, 842 - 110);
    // Margins move the origin to their corner.
    ExpectBox(DarkBoxOfPage(Page("margins.pdf", [](Tavlo& p) { p.DrawRect(70, 110, 170, 45, kFill); }, 0, 50, 80), 1),
              120, 842 - 235, 290, 842 - 190);
    // Millimetres (72 / 25.4 points each) inside 10 mm margins: 20 + 25.4 mm across.
    const double mm = 72 / 25.4;
    ExpectBox(DarkBoxOfPage(Page("mm.pdf", [](Tavlo& p) { p.DrawRect(10, 15, 25.4f, 50.8f, kFill); }, 2, 10, 10), 1),
              20 * mm, 842 - 25 * mm - 144, 20 * mm + 72, 842 - 25 * mm, 1.0);
    // Rounded corners leave the corner pixels empty, a square corner keeps them.
    const std::string rounded =
        Page("rounded.pdf", [](Tavlo& p) { p.DrawRect(100, 100, 200, 100, kFill, 30, 1 | 4 | 8); });
    const GreyImage image = PopplerPage(rounded, 1, false);
    EXPECT_EQ(DarkPixelsIn(image, 100, 100, 106, 106), 0) << "top left";
    EXPECT_EQ(DarkPixelsIn(image, 294, 100, 300, 106), 36) << "top right, square";
    EXPECT_EQ(DarkPixelsIn(image, 294, 194, 300, 200), 0) << "bottom right";
    EXPECT_EQ(DarkPixelsIn(image, 100, 194, 106, 200), 0) << "bottom left";
    EXPECT_EQ(DarkPixelsIn(image, 130, 100, 270, 200), 140 * 100) << "between the corners";
    ExpectBox(DarkBoxOfPage(rounded, 1), 100, 642, 300, 742, 1.0);
}

TEST_F(ShapesRenderingTest, CirclesEllipsesPiesAndPolygons)
{
    ExpectBox(DarkBoxOfPage(Page("circle.pdf", [](Tavlo& p) { p.DrawCircle(200, 300, 50, kFill); }), 1), 150,
              842 - 350, 250, 842 - 250, 1.0);
    ExpectBox(DarkBoxOfPage(Page("ellipse.pdf", [](Tavlo& p) { p.DrawEllipse(200, 300, 80, 20, kFill); }, 0, 30, 40),
                            1),
              150, 842 - 360, 310, 842 - 320, 1.0);
    // The circle is round: a point on its edge at 45 degrees in, the box corner out.
    const GreyImage circle = PopplerPage(dir.File("circle.pdf"), 1, false);
    EXPECT_TRUE(circle.Dark(200 + 33, 300 + 33));
    EXPECT_FALSE(circle.Dark(200 + 40, 300 + 40));

    // A quarter pie from 0 to 90 degrees runs clockwise on the page: right, then down.
    const std::string pie = Page("pie.pdf", [](Tavlo& p) { p.DrawArc(200, 300, 60, 0, 90, 1, false, 5, kFill); });
    const GreyImage quarter = PopplerPage(pie, 1, false);
    EXPECT_GT(DarkPixelsIn(quarter, 205, 305, 240, 340), 1000) << "below right";
    EXPECT_EQ(DarkPixelsIn(quarter, 140, 240, 198, 298), 0) << "above left";
    EXPECT_EQ(DarkPixelsIn(quarter, 205, 240, 260, 298), 0) << "above right";
    ExpectBox(DarkBoxOfPage(pie, 1), 200, 842 - 360, 260, 842 - 300, 1.0);

    // A square standing on a corner, from the right of the centre.
    const std::string diamond = Page("diamond.pdf", [](Tavlo& p) { p.DrawPolygon(200, 200, 50, 4, kFill); });
    ExpectBox(DarkBoxOfPage(diamond, 1), 150, 842 - 250, 250, 842 - 150, 1.0);
    const GreyImage square = PopplerPage(diamond, 1, false);
    EXPECT_TRUE(square.Dark(200, 200));
    EXPECT_EQ(DarkPixelsIn(square, 150, 150, 170, 170), 0) << "outside the corner";

    ExpectBox(DarkBoxOfPage(Page("polyline.pdf", [](Tavlo& p) { p.DrawPolyline({100, 100, 300, 120, 180, 260}, kFill); }),
                            1),
              100, 842 - 260, 300, 842 - 100, 1.0);
}

TEST_F(ShapesRenderingTest, AxesCarryTheDrawing)
{
    // Moved to (100, 100) and turned 90 degrees counter-clockwise: the x axis points up the
    // page, the y axis to the right.
    ExpectBox(DarkBoxOfPage(Page("rotated.pdf",
                                 [](Tavlo& p) {
                                     p.AxisTranslation(100, 100);
                                     p.AxisRotation(90);
                                     p.DrawRect(0, 0, 50, 10, kFill);
                                 }),
                            1),
              100, 842 - 100, 110, 842 - 50);
    // Scaled twice across and three times down, about the origin inside the margins.
    ExpectBox(DarkBoxOfPage(Page("scaled.pdf",
                                 [](Tavlo& p) {
                                     p.AxisScaling(2, 3);
                                     p.DrawRect(10, 10, 20, 20, kFill);
                                 },
                                 0, 40, 60),
                            1),
              40 + 20, 842 - 60 - 90, 40 + 60, 842 - 60 - 30);
    // Skewed 45 degrees: a square's bottom edge shifted right by its height.
    const std::string skewed = Page("skewed.pdf", [](Tavlo& p) {
        p.AxisSkewing(0, 45);
        p.DrawRect(100, 0, 50, 50, kFill);
    });
    ExpectBox(DarkBoxOfPage(skewed, 1), 100, 842 - 50, 200, 842, 1.0);
    const GreyImage image = PopplerPage(skewed, 1, false);
    EXPECT_TRUE(image.Dark(110, 2));
    EXPECT_FALSE(image.Dark(110, 45));
    EXPECT_TRUE(image.Dark(190, 47));
}

TEST_F(ShapesRenderingTest, LinkCoversTheShapeDrawnLast)
{
    struct Setting {
        std::int32_t unit;
        float left, top;
    };
    using Draw = std::function<void(Tavlo&)>;
    const std::vector<Draw> shapes = {
        [](Tavlo& p) { p.DrawRect(25, 40, 60, 15, kFill); },
        [](Tavlo& p) { p.DrawCircle(50, 50, 20, kFill); },
        [](Tavlo& p) { p.DrawPolyline({10, 30, 80, 20, 60, 70}, kFill); },
        [](Tavlo& p) { p.DrawPolygon(50, 50, 25, 4, kFill); },
    };
    int n = 0;
    for (const Setting& setting : {Setting{0, 0, 0}, Setting{0, 50, 80}, Setting{2, 12, 18}}) {
        for (const Draw& draw : shapes) {
            SCOPED_TRACE("unit " + std::to_string(setting.unit) + " margins " + std::to_string(setting.left) +
                         " shape " + std::to_string(n % shapes.size()));
            const std::string path = Page(
                "link" + std::to_string(n++) + ".pdf",
                [&](Tavlo& p) {
                    draw(p);
                    p.LinkTo("http://example.com", 0, 0);
                },
                setting.unit, setting.left, setting.top);
            const auto drawn = DarkBoxOfPage(path, 1);
            const auto rect = RectOf(InteractiveSummary(path), "page1.annot1.rect");
            EXPECT_GT(drawn[2] - drawn[0], 30);
            for (int i = 0; i < 4; ++i)
                EXPECT_NEAR(rect[i], drawn[i], 1.0) << "side " << i;
        }
    }
}
