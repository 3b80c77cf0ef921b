#include "pdf/media/eps/EpsPlayback.h"

#include "pdf/core/PdfFormat.h"

namespace tavlo {

namespace {

std::string Point(double x, double y)
{
    return PdfNumber(x) + " " + PdfNumber(y);
}

} // namespace

void EpsPlayback::RequirePoint(std::string_view op) const
{
    // Readers would draw the segment from nowhere ("lineto with no current point").
    if (!state_.point)
        throw EpsRefusal{"segmento senza punto corrente (" + std::string(op) + ")"};
}

void EpsPlayback::Segment(const std::string& text, double x, double y)
{
    if (!state_.path.empty())
        state_.path += ' ';
    state_.path += text;
    state_.point = true;
    state_.x = x;
    state_.y = y;
}

void EpsPlayback::MoveTo(double x, double y)
{
    Segment(Point(x, y) + " m", x, y);
    state_.startX = x;
    state_.startY = y;
}

void EpsPlayback::LineTo(double x, double y)
{
    RequirePoint("lineto");
    Segment(Point(x, y) + " l", x, y);
}

void EpsPlayback::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3)
{
    RequirePoint("curveto");
    Segment(Point(x1, y1) + " " + Point(x2, y2) + " " + Point(x3, y3) + " c", x3, y3);
}

void EpsPlayback::CurveV(double x2, double y2, double x3, double y3)
{
    RequirePoint("v");
    Segment(Point(x2, y2) + " " + Point(x3, y3) + " v", x3, y3);
}

void EpsPlayback::CurveY(double x1, double y1, double x3, double y3)
{
    RequirePoint("y");
    Segment(Point(x1, y1) + " " + Point(x3, y3) + " y", x3, y3);
}

void EpsPlayback::Rectangle(double x, double y, double width, double height)
{
    Segment(Point(x, y) + " " + Point(width, height) + " re", x, y);
    state_.startX = x;
    state_.startY = y;
}

void EpsPlayback::ClosePath()
{
    // Closing nothing does nothing; a closed subpath goes on from its start.
    if (!state_.point)
        return;
    Segment("h", state_.startX, state_.startY);
}

void EpsPlayback::NewPath()
{
    state_.path.clear();
    state_.point = false;
    state_.clip.clear();
}

bool EpsPlayback::CurrentPoint(double& x, double& y) const
{
    x = state_.x;
    y = state_.y;
    return state_.point;
}

void EpsPlayback::Paint(std::string_view op)
{
    if (!state_.path.empty()) {
        out_.Add(state_.path + (state_.clip.empty() ? "" : " " + state_.clip) + " " + std::string(op));
        drawn_ = true;
    }
    NewPath();
}

void EpsPlayback::PaintRectangle(double x, double y, double width, double height, std::string_view op)
{
    out_.Add(Point(x, y) + " " + Point(width, height) + " re " + std::string(op));
    drawn_ = true;
}

void EpsPlayback::ClipNow(bool evenOdd)
{
    // A clip of no path leaves nothing to draw in.
    out_.Add((state_.path.empty() ? std::string("0 0 0 0 re") : state_.path) + (evenOdd ? " W* n" : " W n"));
}

void EpsPlayback::ClipAtEnd(bool evenOdd)
{
    state_.clip = evenOdd ? "W*" : "W";
}

void EpsPlayback::EndPath()
{
    if (!state_.path.empty() && !state_.clip.empty())
        out_.Add(state_.path + " " + state_.clip + " n");
    NewPath();
}

void EpsPlayback::State(const std::string& line)
{
    out_.Add(line);
}

void EpsPlayback::Transform(const double m[6])
{
    // The path built so far lies in the space before: no content stream can keep it there.
    if (state_.point)
        throw EpsRefusal{"trasformazione durante la costruzione di un tracciato"};
    out_.Add(PdfNumber(m[0]) + " " + PdfNumber(m[1]) + " " + PdfNumber(m[2]) + " " + PdfNumber(m[3]) + " " +
             PdfNumber(m[4]) + " " + PdfNumber(m[5]) + " cm");
}

void EpsPlayback::Save()
{
    out_.Add("q");
    saved_.push_back(state_);
}

bool EpsPlayback::Restore()
{
    if (saved_.empty())
        return false;
    out_.Add("Q");
    state_ = std::move(saved_.back());
    saved_.pop_back();
    return true;
}

void EpsPlayback::Close()
{
    for (; !saved_.empty(); saved_.pop_back())
        out_.Add("Q");
}

} // namespace tavlo
