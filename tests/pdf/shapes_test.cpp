// Paths, shapes and axis changes as operator lines of the page: the painting operator of
// every paint-style word, the documented lines of the edge cases, the position and box
// left behind, and the arguments refused before anything is written. Every document is
// read by qpdf, poppler and mupdf.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The content lines written since the last Take.
class PageLines {
public:
    explicit PageLines(Tavlo& pdf) : peer_(pdf) {}
    std::vector<std::string> Take()
    {
        const std::string text = peer_.State().PageContent.Text();
        peer_.State().PageContent.Reset();
        std::vector<std::string> lines;
        // Each line is introduced by a carriage return; a line may hold more of them.
        std::size_t from = text.empty() ? 0 : 1;
        while (from <= text.size() && !text.empty()) {
            const std::size_t end = text.find('\r', from);
            lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
            if (end == std::string::npos)
                break;
            from = end + 1;
        }
        return lines;
    }
    std::string Raw()
    {
        const std::string text = peer_.State().PageContent.Text();
        peer_.State().PageContent.Reset();
        return text;
    }

private:
    TavloTestPeer peer_;
};

class ShapesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    ScratchDir dir;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(ShapesTest, PaintingOperatorOfEveryStyle)
{
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "S"},     {1, ""},      {2, "h S"},      {3, "h"},    {4, "B*"},   {5, "f*"},
        {6, "b*"},    {7, "f*"},    {128, "W S"},    {132, "W B*"}, {129, "W "}, {256 + 4, "B*"},
    };
    const std::string path = dir.File("paint.pdf");
    Tavlo pdf;
    PageLines lines(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    lines.Take();
    for (const auto& [options, op] : cases) {
        SCOPED_TRACE(options);
        pdf.DrawLine(10, 20, 30, 40, options);
        EXPECT_EQ(lines.Take(), (Lines{"10 20 m 30 40 l", op}));
        // A path left open or clipped without painting is ended before the next one.
        if (options == 1 || options == 3 || options == 129)
            pdf.DrawLineTo(50, 60, 0);
        lines.Take();
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(ShapesTest, LinePositionAndBox)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    PageLines lines(pdf);
    pdf.BeginDoc(dir.File("line.pdf"));
    pdf.BeginPage();
    lines.Take();
    pdf.DrawLine(10, 20, 30, 40, 0);
    EXPECT_EQ(lines.Take(), (Lines{"10 20 m 30 40 l", "S"}));
    EXPECT_FLOAT_EQ(pdf.GetX(), 30);
    EXPECT_FLOAT_EQ(pdf.GetY(), 40);
    const auto& box = peer.State().doc.LastBox;
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], 842 - 20);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 842 - 40);

    // A path of several segments: move, open segments, a last one that paints.
    pdf.MoveTo(5, 6);
    EXPECT_FLOAT_EQ(pdf.GetX(), 5);
    pdf.DrawLineTo(7, 8, 1);
    pdf.DrawCurve(1, 1, 2, 3, 4, 5, 6, 1);
    pdf.DrawCurve(2, 1, 2, 3, 4, 0, 0, 1);
    EXPECT_FLOAT_EQ(pdf.GetX(), 3);
    pdf.DrawCurve(3, 1, 2, 9, 8, 0, 0, 2);
    EXPECT_EQ(lines.Take(), (Lines{"5 6 m", "7 8 l", "", "1 2 3 4 5 6 c", "", "1 2 3 4 v", "", "1 2 9 8 y", "h S"}));
    EXPECT_FLOAT_EQ(pdf.GetY(), 8);
    // An unknown curve type writes only the painting operator and stays where it was.
    pdf.DrawCurve(4, 1, 2, 3, 4, 5, 6, 0);
    EXPECT_EQ(lines.Take(), (Lines{"S"}));
    EXPECT_FLOAT_EQ(pdf.GetX(), 9);
    // Segments after the line keep its box.
    EXPECT_EQ(box[0], 10);
    pdf.EndDoc();
}

TEST_F(ShapesTest, AxisChanges)
{
    const std::string path = dir.File("axes.pdf");
    Tavlo pdf;
    PageLines lines(pdf);
    pdf.BeginDoc(path);
    pdf.SetScale(1);  // inches: translations are scaled, factors are not
    pdf.BeginPage();
    lines.Take();
    for (const float whole : {360.0f, -720.0f, 0.4f, 359.6f, 0.0f, 720.5f})
        pdf.AxisRotation(whole);
    EXPECT_EQ(lines.Raw(), "");
    pdf.AxisRotation(90);
    pdf.AxisRotation(-90);
    pdf.AxisRotation(0.6f);  // rounds to 1 degree, written as it is
    pdf.AxisScaling(1, 1);
    pdf.AxisScaling(2, 0.5f);
    pdf.AxisSkewing(45, 0);
    pdf.SetXY(3, 4);
    pdf.AxisTranslation(1, 0.5f);
    EXPECT_EQ(lines.Take(), (Lines{"0 -1 1 0 0 0 cm", "0 1 -1 0 0 0 cm", "1 -0.01 0.01 1 0 0 cm", "1 0 0 1 0 0 cm",
                                   "2 0 0 0.5 0 0 cm", "1 1 0 1 0 0 cm", "1 0 0 1 72 36 cm"}));
    EXPECT_EQ(pdf.GetX(), 0);
    EXPECT_EQ(pdf.GetY(), 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(ShapesTest, RectanglesAndRoundedCorners)
{
    const std::string path = dir.File("rects.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    PageLines lines(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    lines.Take();
    pdf.DrawRect(10, 20, 30, 40, 0);
    EXPECT_EQ(lines.Take(), (Lines{"10 20 30 40 re", "S"}));
    EXPECT_FLOAT_EQ(pdf.GetX(), 10);
    EXPECT_FLOAT_EQ(pdf.GetY(), 20);
    const auto& box = peer.State().doc.LastBox;
    EXPECT_EQ(box, (std::array<double, 4>{10, 822, 40, 782}));

    // A radius but no corner bit: four straight sides, the outline not closed.
    pdf.DrawRect(10, 20, 30, 40, 0, 5, 0);
    EXPECT_EQ(lines.Take(), (Lines{"10 20 m", "40 20 l", "40 60 l", "10 60 l", "10 20 l", "", "S"}));

    // A radius of 30 on a box 40 wide is 20; the curve offset 0.55 of it.
    pdf.DrawRect(0, 0, 40, 60, 2, 30, 0xFF01);
    EXPECT_EQ(lines.Take(),
              (Lines{"20 0 m", "40 0 l", "40 60 l", "0 60 l", "0 20 l", "0 9 9 0 20 0 c", "h S"}));
    pdf.DrawRect(0, 0, 40, 60, 4, 10, 2 | 4 | 8);
    EXPECT_EQ(lines.Take(), (Lines{"0 0 m", "30 0 l", "35.5 0 40 4.5 40 10 c", "40 50 l", "40 55.5 35.5 60 30 60 c",
                                   "10 60 l", "4.5 60 0 55.5 0 50 c", "0 0 l", "", "B*"}));
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(ShapesTest, ArcsPolygonsAndPolylines)
{
    const std::string path = dir.File("arcs.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    PageLines lines(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    lines.Take();
    pdf.DrawArc(100, 100, 10, 0, 90, 1, false, 30, 0);
    EXPECT_EQ(lines.Take(), (Lines{"100 100 m", "110 100 m", "110 100 l", "108.66 105 l", "105 108.66 l",
                                   "100 110 l", "S"}));
    pdf.DrawArc(100, 100, 10, 0, 180, -0.5f, false, 90, 4);  // a fill makes a pie
    EXPECT_EQ(lines.Take(), (Lines{"100 100 m", "110 100 l", "100 95 l", "90 100 l", "100 100 l", "B*"}));
    pdf.DrawArc(100, 100, 10, 90, 0, 1, true, 30, 0);  // never reaches the end counting up
    EXPECT_EQ(lines.Take(), (Lines{"100 100 m", "100 100 l", "S"}));
    pdf.DrawArc(100, 100, 10, 90, 0, 1, false, -45, 0);
    EXPECT_EQ(lines.Take(), (Lines{"100 100 m", "100 110 m", "100 110 l", "107.071 107.071 l", "110 100 l", "S"}));
    EXPECT_EQ(peer.State().doc.LastBox, (std::array<double, 4>{90, 752, 110, 732}));

    pdf.DrawPolygon(50, 60, -10, 4, 0);
    EXPECT_EQ(lines.Take(), (Lines{"60 60 m", "50 70 l", "40 60 l", "50 50 l", "h S"}));
    pdf.DrawPolygon(50, 60, 10, -4, 5);
    EXPECT_EQ(lines.Take(), (Lines{"40 60 m", "50 50 l", "60 60 l", "50 70 l", "f*"}));
    pdf.DrawPolygon(0, 0, 10, 7, 0);
    // Single-precision steps stop just below 360: an eighth vertex on the first one.
    const Lines seven = lines.Take();
    ASSERT_EQ(seven.size(), 9u);
    EXPECT_EQ(seven[0], "10 0 m");
    EXPECT_EQ(seven[7], "10 0 l");
    EXPECT_FLOAT_EQ(pdf.GetX(), 0);

    pdf.DrawPolyline({10, 20, 30, 5, 25, 40}, 2);
    EXPECT_EQ(lines.Take(), (Lines{"10 20 m", "30 5 l", "25 40 l", "", "h S"}));
    EXPECT_FLOAT_EQ(pdf.GetX(), 10);
    EXPECT_FLOAT_EQ(pdf.GetY(), 20);
    EXPECT_EQ(peer.State().doc.LastBox, (std::array<double, 4>{10, 802, 30, 837}));
    pdf.DrawPolyline({10, 20, 30, 5, 25, 40}, 0);
    EXPECT_FLOAT_EQ(pdf.GetX(), 25);
    EXPECT_FLOAT_EQ(pdf.GetY(), 40);
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(ShapesTest, RefusedArgumentsWriteNothing)
{
    const std::string path = dir.File("refused.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    PageLines lines(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.DrawRect(1, 2, 3, 4, 0);
    lines.Take();
    const auto before = peer.State().doc.LastBox;
    auto expectError = [&](std::int32_t number, const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "accepted";
        } catch (const TavloError& e) {
            EXPECT_EQ(e.Number(), number);
        }
        EXPECT_EQ(lines.Raw(), "");
        EXPECT_EQ(peer.State().doc.LastBox, before);
        EXPECT_EQ(peer.State().CurrentX, 1);  // points: the position is kept across a change of unit
    };
    expectError(11, [&] { pdf.DrawPolygon(10, 10, 5, 0, 0); });
    expectError(9, [&] { pdf.DrawPolyline({1, 2, 3}, 0); });
    expectError(9, [&] { pdf.DrawPolyline({}, 0); });
    expectError(5, [&] { pdf.DrawArc(10, 10, 5, 0, 90, 1, false, 0, 0); });
    // Where single precision no longer counts a step the loop would never end.
    expectError(5, [&] { pdf.DrawArc(10, 10, 5, 3e7f, 4e7f, 1, false, 1, 0); });
    expectError(5, [&] { pdf.DrawArc(10, 10, 5, -1e7f, 1e7f, 1, false, 1, 0); });
    expectError(6, [&] { pdf.DrawRect(3e38f, 0, 3e38f, 10, 0); });
    expectError(6, [&] { pdf.DrawCircle(10, 10, 3e38f * 2, 0); });
    expectError(6, [&] { pdf.DrawPolyline({0, 0, 3e38f, 1}, 0); });
    pdf.SetScale(1);  // inches: a coordinate beyond single precision only once scaled
    expectError(6, [&] { pdf.DrawPolyline({0, 0, 1e37f, 1}, 0); });
    expectError(6, [&] { pdf.DrawLine(0, 0, 1e37f, 1, 0); });
    expectError(6, [&] { pdf.AxisRotation(std::numeric_limits<float>::quiet_NaN()); });
    pdf.EndDoc();
    ExpectReadersAccept(path);
}
