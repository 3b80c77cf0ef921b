// Numbers past what readers take: qpdf refuses an integer beyond 64 bits and mupdf reads one
// beyond 32 bits as another number. Every member that writes a coordinate, size or other
// number takes the largest value written as it stands, and refuses the next one with the
// overflow error recorded under its own name and nothing written; the file stays one qpdf,
// poppler and mupdf read without a word.

#include "pdf/core/PdfFormat.h"
#include "pdf/error_raised.h"
#include "pdf/tavlo_test_peer.h"
#include "support/pdf/images.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The largest single-precision value within 2147483647, and the first beyond it.
constexpr float kAt = 2147483520.0f, kPast = 2147483648.0f;
// 128 and 256 below: members whose box reaches past the value by a few points (a text's or
// a symbol's width), and a circle's, whose top lies 842 points above its lowest point.
constexpr float kAtLessWidth = 2147483392.0f, kAtLessSymbol = 2147483264.0f, kAtLessPage = 2147482752.0f;

struct Row {
    std::string member;
    std::function<void(Tavlo&, float)> call;
    float at;       // the value taken (0: none is meaningful)
    float past;     // the value refused
    bool written;   // the value taken appears as it stands in the file
    std::function<void(Tavlo&)> before = [](Tavlo&) {};
};

struct Written {
    std::string content;
    std::int32_t objects, bookmarks, destinations, fields;
    std::string annotations;
    bool operator==(const Written&) const = default;
};

Written WrittenSoFar(Tavlo& pdf)
{
    TavloTestPeer peer(pdf);
    const TavloState& s = peer.State();
    return {s.PageContent.Text(), s.LastObjectNumber, s.BookmarkCount, s.DestinationCount, s.FieldCount,
            s.PageAnnots};
}

std::string Digits(float value)
{
    return std::to_string(static_cast<long long>(value));
}

// The file's objects, where a member writes what it takes, without the two that carry the
// moment of writing (the information dictionary and the XMP metadata: "90" is in 09:05) and
// without the cross-reference table, whose offsets move with the length of the zone.
std::string ObjectsWithoutTheDate(const std::string& path)
{
    const std::string file = ReadFile(path);
    std::string kept;
    for (std::size_t at = file.find(" 0 obj\n"); at != std::string::npos; at = file.find(" 0 obj\n", at)) {
        const std::size_t end = file.find("\nendobj\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "an object without its end in " << path;
            break;
        }
        const std::string object = file.substr(at, end - at);
        if (object.find("/CreationDate") == std::string::npos && object.find("/Type /Metadata") == std::string::npos)
            kept += object;
        at = end;
    }
    return kept;
}

} // namespace

TEST(NumberRange, MembersRefuseNumbersReadersDoNotTake)
{
    ScratchDir dir;
    const std::string picture = dir.File("dot.bmp");
    ASSERT_TRUE(Convert("-size 4x4 xc:red BMP3:" + Quote(picture)));
    const std::string source = dir.File("source.pdf");
    WriteDocument("source.pdf", [&](Tavlo& p) { p.BeginPage(), p.DrawRect(10, 10, 20, 20, 5); });
    WriteFile(source, ReadFile(TempPath("source.pdf")));
    auto table = [](bool row) {
        return [row](Tavlo& p) {
            p.BeginTable(0, 0);
            row ? p.BeginRow(10) : p.BeginColumn(10);
        };
    };
    auto from = [](Tavlo& p) { p.MoveTo(0, 0); };
    const std::vector<Row> rows = {
        {"MoveTo", [](Tavlo& p, float v) { p.MoveTo(v, 0); }, kAt, kPast, true},
        {"DrawLine", [](Tavlo& p, float v) { p.DrawLine(v, 0, 1, 1, 0); }, kAt, kPast, true},
        {"DrawLine", [](Tavlo& p, float v) { p.DrawLine(1, 1, 0, v, 0); }, kAt, kPast, true},
        {"DrawLineTo", [](Tavlo& p, float v) { p.DrawLineTo(v, 0, 0); }, kAt, kPast, true, from},
        {"DrawCurve", [](Tavlo& p, float v) { p.DrawCurve(1, 0, 0, 1, 1, 2, v, 0); }, kAt, kPast, true, from},
        {"DrawRect", [](Tavlo& p, float v) { p.DrawRect(0, 0, v, 10, 5); }, kAt, kPast, true},
        {"DrawRect", [](Tavlo& p, float v) { p.DrawRect(0, 0, v, 10, 5, 2, 15); }, kAt, kPast, true},
        {"DrawEllipse", [](Tavlo& p, float v) { p.DrawEllipse(0, 0, v, 10, 5); }, kAt, kPast, true},
        {"DrawCircle", [](Tavlo& p, float v) { p.DrawCircle(0, 0, v, 5); }, kAtLessPage, kPast, true},
        {"DrawArc", [](Tavlo& p, float v) { p.DrawArc(0, 0, v, 0, 90, 1, true, 10, 5); }, kAtLessPage, kPast,
         true},
        {"DrawPolygon", [](Tavlo& p, float v) { p.DrawPolygon(0, 0, v, 4, 5); }, kAtLessPage, kPast, true},
        {"DrawPolyline", [](Tavlo& p, float v) { p.DrawPolyline({0, 0, 5, 5, v, 0}, 0); }, kAt, kPast, true},
        {"SetLineWidth", [](Tavlo& p, float v) { p.SetLineWidth(v); }, kAt, kPast, true},
        {"SetLineStyle", [](Tavlo& p, float v) { p.SetLineStyle(0, v); }, kAt, kPast, true},
        {"SetDash", [](Tavlo& p, float v) { p.SetDash(Digits(v) + ";2", 0); }, kAt, kPast, true},
        {"SetDash", [](Tavlo& p, float v) { p.SetDash("3;2", v); }, kAt, kPast, true},
        {"AxisScaling", [](Tavlo& p, float v) { p.AxisScaling(1, v); }, kAt, kPast, true},
        // The tangent of 90 degrees, which single precision does not make infinite.
        {"AxisSkewing", [](Tavlo& p, float v) { p.AxisSkewing(v, 0); }, 0, 90, false},
        {"AxisTranslation", [](Tavlo& p, float v) { p.AxisTranslation(v, 0); }, kAt, kPast, true},
        {"BeginSpace", [](Tavlo& p, float v) { p.BeginSpace(0, v, 1, 1, 0); }, kAt, kPast, true},
        {"BeginRow", [](Tavlo& p, float v) { p.BeginRow(v); }, kAt, kPast, true, table(false)},
        {"BeginColumn", [](Tavlo& p, float v) { p.BeginColumn(v); }, kAt, kPast, true, table(true)},
        {"SetFont", [](Tavlo& p, float v) { p.SetFont("Helvetica", v, 0, 0); }, kAt, kPast, false},
        {"SetFontSize", [](Tavlo& p, float v) { p.SetFontSize(v); }, kAt, kPast, false},
        {"SetCharSpacing", [](Tavlo& p, float v) { p.SetCharSpacing(v); }, kAt, kPast, true},
        {"SetWordSpacing", [](Tavlo& p, float v) { p.SetWordSpacing(v); }, kAt, kPast, true},
        {"SetTextHorizontalScaling", [](Tavlo& p, float v) { p.SetTextHorizontalScaling(v); }, kAt, kPast, true},
        {"DrawText", [](Tavlo& p, float v) { p.DrawText(v, 10, "a"); }, kAtLessWidth, kPast, true},
        {"DrawTextBox", [](Tavlo& p, float v) { p.DrawTextBox(v, 10, 50, 50, "a b", 0, 9, 5); }, kAtLessWidth,
         kPast, true},
        {"DrawTextBox", [](Tavlo& p, float v) { p.DrawTextBox(0, 10, 50, 50, "a b c d e f", v, 9, 5); }, 0, kPast,
         false},
        {"WriteText", [](Tavlo& p, float v) { p.SetXY(v, 10), p.WriteText("a"); }, kAtLessWidth, kPast, true},
        // A superscript of that many percent: a font size past the limit.
        {"WriteText", [](Tavlo& p, float v) { p.WriteText("a", 1, v); }, 0, 1e11f, false},
        {"WriteTextLn", [](Tavlo& p, float v) { p.SetXY(v, 10), p.WriteTextLn("a"); }, kAtLessWidth, kPast, true},
        {"DrawBarCode", [](Tavlo& p, float v) { p.DrawBarCode(4, "ABC", v, 10, true, 1, 0, false); },
         kAtLessSymbol, kPast, true},
        {"DrawBarCode", [](Tavlo& p, float v) { p.DrawBarCode(0, "590123412345", 0, 10, true, 1, v, false); }, 0,
         kPast, false},
        {"DrawImage", [&](Tavlo& p, float v) { p.DrawImage(picture, v, 10, 4, 4); }, kAtLessWidth, kPast, true},
        {"AddGradient", [](Tavlo& p, float v) { p.AddGradient("G", 0, "Red", "Blue", v, 0, 100, 0); }, kAt, kPast,
         true},
        {"BeginTiling", [](Tavlo& p, float v) { p.BeginTiling("T", 0, 0, 10, 10, v, 10, 0); }, kAt, kPast, true},
        {"SetMargins", [](Tavlo& p, float v) { p.SetMargins(v, 0, 0, 0, false); }, 2147469184.0f, kPast, true},
        {"SetPageTransition", [](Tavlo& p, float v) { p.SetPageTransition(1, v, 1); }, kAt, kPast, true},
        {"AddBookmark", [](Tavlo& p, float v) { p.AddBookmark("b", 0, 4, v, 0, 0, 0, 100, "", 0); }, kAt, kPast,
         true},
        {"AddField", [](Tavlo& p, float v) { p.AddField("f", 0, v, 10, 10, 10, "", 0, "", 0); }, kAtLessWidth,
         kPast, true},
        {"AddNoteBox", [](Tavlo& p, float v) { p.AddNoteBox("t", v, 10, 10, 10, 0, 0, 0, 0, 0); }, kAtLessWidth,
         kPast, true},
        {"AddNoteIcon", [](Tavlo& p, float v) { p.AddNoteIcon("t", 0, v, 10, false, 0); }, kAt, kPast, true},
        {"LinkTo", [](Tavlo& p, float v) { p.LinkTo("page:1", 0, 0, 4, v, 0, 0, 0, 100); }, kAt, kPast, true,
         [](Tavlo& p) { p.DrawRect(0, 0, 5, 5, 1); }},
        {"ImportPage", [&](Tavlo& p, float v) { p.ImportPage(source, 1, v, 10, 0, 0); }, kAtLessPage, kPast, true},
        {"DefineRef", [](Tavlo& p, float v) { p.DefineRef("r", 4, v, 0, 0, 0, 100); }, kAt, kPast, true},
    };
    const std::string path = dir.File("range.pdf");
    for (const Row& row : rows) {
        for (const bool past : {false, true}) {
            const float value = past ? row.past : row.at;
            if (value == 0)
                continue;
            SCOPED_TRACE(row.member + (past ? " past the limit: " : " at the limit: ") + Digits(value));
            Tavlo pdf;
            pdf.BeginDoc(path);
            pdf.BeginPage();
            pdf.SetFont("Helvetica", 10, 0, 0);
            row.before(pdf);
            const Written before = WrittenSoFar(pdf);
            EXPECT_EQ(ErrorRaised([&] { row.call(pdf, value); }), past ? ErrorCode::Overflow : 0);
            EXPECT_EQ(pdf.ErrNumber(), past ? ErrorCode::Overflow : 0) << pdf.ErrDescription();
            if (past) {
                EXPECT_EQ(pdf.ErrSource(), "Tavlo." + row.member);
                EXPECT_TRUE(WrittenSoFar(pdf) == before) << WrittenSoFar(pdf).content.substr(before.content.size());
            }
            if (TavloTestPeer(pdf).State().InTiling)
                pdf.EndTiling();
            pdf.EndPage();
            pdf.EndDoc();
            ExpectReadersAccept(path);
            EXPECT_EQ(ObjectsWithoutTheDate(path).find(Digits(value)) != std::string::npos, !past && row.written);
        }
    }
}

// The number writer itself: the last value written as it stands, then the overflow error.
TEST(NumberRange, NumberWriterStopsAtTheIntegerLimit)
{
    EXPECT_EQ(PdfNumber(kAt), "2147483520");
    EXPECT_EQ(PdfNumber(-kAt), "-2147483520");
    for (const double value : {2147483648.0, -2147483648.0, 1e20, 3.4e38, -1e30, HUGE_VAL}) {
        try {
            PdfNumber(value);
            ADD_FAILURE() << value << " written";
        } catch (const TavloError& error) {
            EXPECT_EQ(error.Number(), ErrorCode::Overflow) << value;
        }
    }
}
