// Shapes as poppler draws them at one pixel a point: filled boxes, circles, pies and polygons
// cover the pixels their geometry says, also inside margins and in millimetres; rotated,
// scaled and moved axes carry the drawing where they should; the box recorded for a link is
// the box poppler draws.

#include "pdf/AnnotationChecks.h"

#include <functional>

using namespace tavlo;
using namespace tavlo::test;

namespace {

constexpr int kFill = 5;  // fill only: the drawn pixels are the shape, no stroke around it
using Draw = std::function<void(Tavlo&)>;

std::string Page(const Draw& draw, std::int32_t unit = 0, float left = 0, float top = 0)
{
    return WriteDocument("shape.pdf", [&](Tavlo& pdf) {
               pdf.SetScale(unit);
               pdf.SetMargins(left, 0, top, 0, false);
               pdf.BeginPage();
               draw(pdf);
           }).path;
}

Image Drawn(const std::string& path)
{
    RenderOptions options;
    options.annotations = false;
    return RenderPage(path, 1, Reader::Poppler, options);
}

} // namespace

TEST(ShapesRendering, ShapesCoverTheirBoxes)
{
    struct Case {
        const char* what;
        Draw draw;
        std::int32_t unit;
        float left, top;
        std::array<double, 4> box;  // left, bottom, right, top in points, y upwards
        // Pixels (from the top-left corner) that must be dark, and that must be light.
        std::vector<std::pair<int, int>> dark, light;
    };
    const double mm = 72 / 25.4;
    const Case cases[] = {
        {"rectangle", [](Tavlo& p) { p.DrawRect(70, 110, 170, 45, kFill); }, 0, 0, 0, {70, 687, 240, 732}, {}, {}},
        // Margins move the origin to their corner.
        {"margins", [](Tavlo& p) { p.DrawRect(70, 110, 170, 45, kFill); }, 0, 50, 80, {120, 607, 290, 652}, {}, {}},
        // Millimetres (72 / 25.4 points each) inside 10 mm margins: 20 + 25.4 mm across.
        {"millimetres", [](Tavlo& p) { p.DrawRect(10, 15, 25.4f, 50.8f, kFill); }, 2, 10, 10,
         {20 * mm, 842 - 25 * mm - 144, 20 * mm + 72, 842 - 25 * mm}, {}, {}},
        // Rounded corners leave the corner pixels empty, a square corner keeps them.
        {"rounded", [](Tavlo& p) { p.DrawRect(100, 100, 200, 100, kFill, 30, 1 | 4 | 8); }, 0, 0, 0,
         {100, 642, 300, 742}, {{299, 100}, {200, 150}}, {{101, 101}, {298, 198}, {101, 198}}},
        // The circle is round: a point on its edge at 45 degrees in, the box corner out.
        {"circle", [](Tavlo& p) { p.DrawCircle(200, 300, 50, kFill); }, 0, 0, 0, {150, 492, 250, 592}, {{233, 333}},
         {{240, 340}}},
        {"ellipse", [](Tavlo& p) { p.DrawEllipse(200, 300, 80, 20, kFill); }, 0, 30, 40, {150, 482, 310, 522}, {}, {}},
        // A quarter pie from 0 to 90 degrees runs clockwise on the page: right, then down.
        {"pie", [](Tavlo& p) { p.DrawArc(200, 300, 60, 0, 90, 1, false, 5, kFill); }, 0, 0, 0, {200, 482, 260, 542},
         {{220, 320}}, {{170, 270}, {230, 270}}},
        // A square standing on a corner, from the right of the centre.
        {"diamond", [](Tavlo& p) { p.DrawPolygon(200, 200, 50, 4, kFill); }, 0, 0, 0, {150, 592, 250, 692},
         {{200, 200}}, {{160, 160}}},
        {"polyline", [](Tavlo& p) { p.DrawPolyline({100, 100, 300, 120, 180, 260}, kFill); }, 0, 0, 0,
         {100, 582, 300, 742}, {}, {}},
        // Moved to (100, 100) and turned 90 degrees counter-clockwise: the x axis points up
        // the page, the y axis to the right.
        {"rotated",
         [](Tavlo& p) {
             p.AxisTranslation(100, 100);
             p.AxisRotation(90);
             p.DrawRect(0, 0, 50, 10, kFill);
         },
         0, 0, 0, {100, 742, 110, 792}, {}, {}},
        // Scaled twice across and three times down, about the origin inside the margins.
        {"scaled",
         [](Tavlo& p) {
             p.AxisScaling(2, 3);
             p.DrawRect(10, 10, 20, 20, kFill);
         },
         0, 40, 60, {60, 692, 100, 752}, {}, {}},
        // Skewed 45 degrees: a square's bottom edge shifted right by its height.
        {"skewed",
         [](Tavlo& p) {
             p.AxisSkewing(0, 45);
             p.DrawRect(100, 0, 50, 50, kFill);
         },
         0, 0, 0, {100, 792, 200, 842}, {{110, 2}, {190, 47}}, {{110, 45}}},
    };
    for (const Case& c : cases) {
        const Image image = Drawn(Page(c.draw, c.unit, c.left, c.top));
        const auto drawn = DarkBox(image);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(drawn[i], c.box[i], 1.0) << c.what << " side " << i;
        for (const auto& [x, y] : c.dark)
            EXPECT_TRUE(image.Dark(x, y)) << c.what << " " << x << "," << y;
        for (const auto& [x, y] : c.light)
            EXPECT_FALSE(image.Dark(x, y)) << c.what << " " << x << "," << y;
    }
}

TEST(ShapesRendering, LinkCoversTheShapeDrawnLast)
{
    const Draw shapes[] = {
        [](Tavlo& p) { p.DrawRect(25, 40, 60, 15, kFill); },
        [](Tavlo& p) { p.DrawCircle(50, 50, 20, kFill); },
        [](Tavlo& p) { p.DrawPolyline({10, 30, 80, 20, 60, 70}, kFill); },
        [](Tavlo& p) { p.DrawPolygon(50, 50, 25, 4, kFill); },
    };
    const std::array<float, 3> settings[] = {{0, 0, 0}, {0, 50, 80}, {2, 12, 18}};
    for (const auto& [unit, left, top] : settings)
        for (const Draw& draw : shapes) {
            SCOPED_TRACE("unit " + std::to_string(unit) + " margins " + std::to_string(left));
            ExpectFirstAnnotationCoversDrawnBox(Page(
                                                    [&](Tavlo& p) {
                                                        draw(p);
                                                        p.LinkTo("http://example.com", 0, 0);
                                                    },
                                                    static_cast<std::int32_t>(unit), left, top),
                                                30);
        }
}
