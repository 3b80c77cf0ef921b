// Paths, shapes and axis changes as the page's operators: the painting operator of every
// paint-style word, the edge cases of rectangles, arcs, polygons and polylines (a golden
// content stream), the position left behind, and the arguments refused before anything is
// written. Every document is read by qpdf, poppler and mupdf.

#include "pdf/TavloTestPeer.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/golden_files.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The page's operations after the ones every page begins with (its axis, colours).
std::vector<std::string> Drawn(const std::string& path)
{
    auto lines = LinesOf(Operations(QpdfDocument(path).PageContent(1)));
    lines.erase(lines.begin(), lines.begin() + 3);
    return lines;
}

} // namespace

TEST(Shapes, PaintingOperatorOfEveryStyle)
{
    const std::pair<std::int32_t, std::vector<std::string>> cases[] = {
        {0, {"S"}},       {1, {}},           {2, {"h", "S"}}, {3, {"h"}},     {4, {"B*"}},
        {5, {"f*"}},      {6, {"b*"}},       {7, {"f*"}},     {128, {"W", "S"}}, {132, {"W", "B*"}},
        {129, {"W"}}, {256 + 4, {"B*"}}};
    for (const auto& [options, ops] : cases) {
        const std::string path = WriteDocument("paint.pdf", [&](Tavlo& pdf) {
                                     pdf.BeginPage();
                                     pdf.DrawLine(10, 20, 30, 40, options);
                                 }).path;
        std::vector<std::string> expected = {"10 20 m", "30 40 l"};
        expected.insert(expected.end(), ops.begin(), ops.end());
        // A path left open or clipped without painting is ended by the page's end.
        EXPECT_EQ(Drawn(path), expected) << options;
    }
}

// Pins the lines of: a path of several segments and curves of each type, an unknown curve
// type; rotations (whole turns write nothing), scalings, skews and translations in inches;
// rectangles plain, with a radius but no corner bit, with one and with three rounded corners;
// arcs clockwise and counter-clockwise, as a pie, never reaching their end; polygons of
// negative radius or sides, a heptagon whose last step stops just below 360; polylines.
TEST(Shapes, LinesOfEveryShape)
{
    std::vector<std::pair<float, float>> positions;
    const std::string path = WriteDocument("shapes.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 auto at = [&] { positions.emplace_back(pdf.GetX(), pdf.GetY()); };
                                 pdf.DrawLine(10, 20, 30, 40, 0);
                                 at();
                                 pdf.MoveTo(5, 6);
                                 pdf.DrawLineTo(7, 8, 1);
                                 pdf.DrawCurve(1, 1, 2, 3, 4, 5, 6, 1);
                                 pdf.DrawCurve(2, 1, 2, 3, 4, 0, 0, 1);
                                 at();
                                 pdf.DrawCurve(3, 1, 2, 9, 8, 0, 0, 2);
                                 pdf.DrawCurve(4, 1, 2, 3, 4, 5, 6, 0);  // only the painting operator
                                 at();
                                 pdf.DrawRect(10, 20, 30, 40, 0);
                                 at();
                                 pdf.DrawRect(10, 20, 30, 40, 0, 5, 0);
                                 pdf.DrawRect(0, 0, 40, 60, 2, 30, 0xFF01);  // radius 30 on 40 wide: 20
                                 pdf.DrawRect(0, 0, 40, 60, 4, 10, 2 | 4 | 8);
                                 pdf.DrawArc(100, 100, 10, 0, 90, 1, false, 30, 0);
                                 pdf.DrawArc(100, 100, 10, 0, 180, -0.5f, false, 90, 4);  // a fill makes a pie
                                 pdf.DrawArc(100, 100, 10, 90, 0, 1, true, 30, 0);
                                 pdf.DrawArc(100, 100, 10, 90, 0, 1, false, -45, 0);
                                 pdf.DrawPolygon(50, 60, -10, 4, 0);
                                 pdf.DrawPolygon(50, 60, 10, -4, 5);
                                 pdf.DrawPolygon(0, 0, 10, 7, 0);
                                 at();
                                 pdf.DrawPolyline({10, 20, 30, 5, 25, 40}, 2);
                                 at();
                                 pdf.DrawPolyline({10, 20, 30, 5, 25, 40}, 0);
                                 at();
                                 pdf.SetScale(1);  // inches: translations are scaled, factors are not
                                 for (const float whole : {360.0f, -720.0f, 0.4f, 359.6f, 0.0f, 720.5f})
                                     pdf.AxisRotation(whole);
                                 pdf.AxisRotation(90);
                                 pdf.AxisRotation(-90);
                                 pdf.AxisRotation(0.6f);  // rounds to 1 degree, written as it is
                                 pdf.AxisScaling(1, 1);
                                 pdf.AxisScaling(2, 0.5f);
                                 pdf.AxisSkewing(45, 0);
                                 pdf.SetXY(3, 4);
                                 pdf.AxisTranslation(1, 0.5f);
                                 at();
                             }).path;
    std::string lines;
    for (const std::string& line : Drawn(path))
        lines += line + "\n";
    ExpectGolden("shapes_content.txt", lines);
    const std::vector<std::pair<float, float>> expected = {{30, 40}, {3, 4}, {9, 8}, {10, 20}, {0, 0},
                                                           {10, 20}, {25, 40}, {0, 0}};
    EXPECT_EQ(positions, expected);
}

TEST(Shapes, RefusedArgumentsWriteNothing)
{
    const std::string path = WriteDocument("refused.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.DrawRect(1, 2, 3, 4, 0);
                                 const std::pair<std::int32_t, std::function<void()>> calls[] = {
                                     {11, [&] { pdf.DrawPolygon(10, 10, 5, 0, 0); }},
                                     {9, [&] { pdf.DrawPolyline({1, 2, 3}, 0); }},
                                     {9, [&] { pdf.DrawPolyline({}, 0); }},
                                     {5, [&] { pdf.DrawArc(10, 10, 5, 0, 90, 1, false, 0, 0); }},
                                     // Where single precision no longer counts a step the loop would never end.
                                     {5, [&] { pdf.DrawArc(10, 10, 5, 3e7f, 4e7f, 1, false, 1, 0); }},
                                     {5, [&] { pdf.DrawArc(10, 10, 5, -1e7f, 1e7f, 1, false, 1, 0); }},
                                     {6, [&] { pdf.DrawRect(3e38f, 0, 3e38f, 10, 0); }},
                                     {6, [&] { pdf.DrawCircle(10, 10, 3e38f * 2, 0); }},
                                     {6, [&] { pdf.DrawPolyline({0, 0, 3e38f, 1}, 0); }},
                                     // Inches: a coordinate beyond single precision only once scaled.
                                     {-1, [&] { pdf.SetScale(1); }},
                                     {6, [&] { pdf.DrawPolyline({0, 0, 1e37f, 1}, 0); }},
                                     {6, [&] { pdf.DrawLine(0, 0, 1e37f, 1, 0); }},
                                     {6, [&] { pdf.AxisRotation(std::numeric_limits<float>::quiet_NaN()); }},
                                 };
                                 for (const auto& [number, call] : calls) {
                                     if (number < 0) {
                                         call();
                                         continue;
                                     }
                                     try {
                                         call();
                                         ADD_FAILURE() << "accepted, error " << number << " expected";
                                     } catch (const TavloError& e) {
                                         EXPECT_EQ(e.Number(), number);
                                     }
                                     // The position is kept, in points across the change of unit.
                                     EXPECT_FLOAT_EQ(pdf.GetX() * TavloTestPeer(pdf).State().Scale, 1);
                                 }
                             }).path;
    EXPECT_EQ(Drawn(path), (std::vector<std::string>{"1 2 3 4 re", "S"}));
}
