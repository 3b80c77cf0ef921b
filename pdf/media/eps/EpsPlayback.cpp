#include "pdf/media/eps/EpsPlayback.h"

#include "pdf/core/PdfFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavlo {

namespace {

// Content and paths held at once: twice what the largest file read holds, and low enough
// that a string growing by doubling stays well within half a gigabyte.
constexpr std::size_t kMostHeld = std::size_t{64} << 20;

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;

std::string Point(double x, double y)
{
    return PdfNumber(x) + " " + PdfNumber(y);
}

// A factor of a transformation, to nine significant digits: a scale of 1/300 written to
// three decimals would move every point after it by a tenth.
std::string Factor(double v)
{
    const std::string checked = PdfNumber(v);  // within what readers take
    if (v == 0 || std::fabs(v) >= 1000)
        return checked;
    const int decimals = std::clamp(8 - static_cast<int>(std::floor(std::log10(std::fabs(v)))), 3, 12);
    char text[48];
    const auto written = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals);
    std::string result(text, written.ptr);
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.')
        result.pop_back();
    return result == "-0" ? "0" : result;
}

// The point in the space whose change to the old one is m (the inverse applied).
void Back(const EpsMatrix& inverse, double& x, double& y)
{
    const double u = x, v = y;
    x = inverse[0] * u + inverse[2] * v + inverse[4];
    y = inverse[1] * u + inverse[3] * v + inverse[5];
}

} // namespace

EpsMatrix EpsConcat(const EpsMatrix& m, const EpsMatrix& n)
{
    return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
            m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
            m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

void EpsPlayback::Held(std::size_t more) const
{
    if (out_.lines.size() + state_.path.size() + savedBytes_ + more > kMostHeld)
        throw EpsRefusal{"disegno troppo grande (oltre " + std::to_string(kMostHeld >> 20) + " MiB di contenuto)"};
}

void EpsPlayback::Write(const std::string& line)
{
    Held(line.size() + 1);
    out_.Add(line);
}

void EpsPlayback::RequirePoint(std::string_view op) const
{
    // Readers would draw the segment from nowhere ("lineto with no current point").
    if (!state_.point)
        throw EpsRefusal{"segmento senza punto corrente (" + std::string(op) + ")"};
}

void EpsPlayback::Segment(const std::string& text, double x, double y)
{
    Held(text.size() + 1);
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

void EpsPlayback::Arc(double cx, double cy, double r, double a0, double a1)
{
    auto at = [&](double angle, double& x, double& y) {
        x = cx + r * std::cos(angle * kRadiansPerDegree);
        y = cy + r * std::sin(angle * kRadiansPerDegree);
    };
    double x = 0, y = 0;
    at(a0, x, y);
    if (state_.point)
        LineTo(x, y);
    else
        MoveTo(x, y);
    const double sweep = a1 - a0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / 90 - 1e-9)));
    const double step = sweep / pieces;
    // The control points of a curve over the angle step, as the writer's own ellipses.
    const double k = 4.0 / 3 * std::tan(step * kRadiansPerDegree / 4) * r;
    for (int i = 0; i < pieces; ++i) {
        const double from = a0 + step * i, to = i + 1 == pieces ? a1 : from + step;
        double x3 = 0, y3 = 0;
        at(to, x3, y3);
        const double s0 = std::sin(from * kRadiansPerDegree), c0 = std::cos(from * kRadiansPerDegree);
        const double s1 = std::sin(to * kRadiansPerDegree), c1 = std::cos(to * kRadiansPerDegree);
        CurveTo(x - k * s0, y + k * c0, x3 + k * s1, y3 - k * c1, x3, y3);
        x = x3;
        y = y3;
    }
}

void EpsPlayback::Paint(std::string_view op)
{
    if (!state_.path.empty() && drawing_) {
        Write(state_.path + (state_.clip.empty() ? "" : " " + state_.clip) + " " + std::string(op));
        drawn_ = true;
    } else if (!state_.path.empty() && !state_.clip.empty()) {
        Write(state_.path + " " + state_.clip + " n");
    }
    NewPath();
}

void EpsPlayback::PaintRectangle(double x, double y, double width, double height, std::string_view op)
{
    if (!drawing_)
        return;
    Write(Point(x, y) + " " + Point(width, height) + " re " + std::string(op));
    drawn_ = true;
}

void EpsPlayback::ClipNow(bool evenOdd)
{
    // A clip of no path leaves nothing to draw in.
    Write((state_.path.empty() ? std::string("0 0 0 0 re") : state_.path) + (evenOdd ? " W* n" : " W n"));
}

void EpsPlayback::ClipAtEnd(bool evenOdd)
{
    state_.clip = evenOdd ? "W*" : "W";
}

void EpsPlayback::EndPath()
{
    if (!state_.path.empty() && !state_.clip.empty())
        Write(state_.path + " " + state_.clip + " n");
    NewPath();
}

void EpsPlayback::State(const std::string& line)
{
    Write(line);
}

void EpsPlayback::Colour(const std::vector<double>& components, bool fill, bool stroke)
{
    const char* op = components.size() == 1 ? "g" : components.size() == 3 ? "rg" : "k";
    std::string values;
    for (const double v : components)
        values += (values.empty() ? "" : " ") + PdfNumber(v);
    std::string line;
    if (fill) {
        line = values + " " + op;
        state_.fillColour = components;
    }
    if (stroke) {
        std::string upper(op);
        for (char& c : upper)
            c = static_cast<char>(c - 32);
        line += (line.empty() ? "" : " ") + values + " " + upper;
    }
    Write(line);
}

std::size_t EpsPlayback::Transform(const EpsMatrix& m)
{
    for (const double v : m)
        if (!std::isfinite(v))
            throw EpsRefusal{"trasformazione con numeri non finiti"};
    std::size_t segments = 0;
    if (state_.point || !state_.path.empty()) {
        // PostScript keeps the path where it lies on the page: its points are given anew in
        // the space the change makes, which the content stream then sets before the path.
        const double det = m[0] * m[3] - m[1] * m[2];
        if (det == 0 || !std::isfinite(1 / det))
            throw EpsRefusal{"trasformazione non invertibile con un tracciato in corso"};
        const EpsMatrix inverse{m[3] / det, -m[1] / det, -m[2] / det, m[0] / det,
                                (m[2] * m[5] - m[3] * m[4]) / det, (m[1] * m[4] - m[0] * m[5]) / det};
        std::string path;
        std::vector<double> numbers;
        auto point = [&](std::size_t i) {
            double x = numbers[i], y = numbers[i + 1];
            Back(inverse, x, y);
            return Point(x, y);
        };
        for (std::size_t at = 0; at < state_.path.size();) {
            const std::size_t end = std::min(state_.path.find(' ', at), state_.path.size());
            const std::string_view token = std::string_view(state_.path).substr(at, end - at);
            at = end + 1;
            double value = 0;
            if (std::from_chars(token.data(), token.data() + token.size(), value).ec == std::errc() &&
                (token[0] == '-' || (token[0] >= '0' && token[0] <= '9'))) {
                numbers.push_back(value);
                continue;
            }
            ++segments;
            std::string segment;
            if (token == "re" && numbers.size() == 4) {
                // A rectangle turned or slanted is no rectangle of the new space.
                const double x = numbers[0], y = numbers[1], w = numbers[2], h = numbers[3];
                numbers = {x, y, x + w, y, x + w, y + h, x, y + h};
                segment = point(0) + " m " + point(2) + " l " + point(4) + " l " + point(6) + " l h";
            } else {
                for (std::size_t i = 0; i + 1 < numbers.size(); i += 2)
                    segment += point(i) + " ";
                segment += std::string(token);
            }
            path += (path.empty() ? "" : " ") + segment;
            numbers.clear();
        }
        Held(path.size());
        state_.path = std::move(path);
        Back(inverse, state_.x, state_.y);
        Back(inverse, state_.startX, state_.startY);
    }
    state_.ctm = EpsConcat(m, state_.ctm);
    Write(Factor(m[0]) + " " + Factor(m[1]) + " " + Factor(m[2]) + " " + Factor(m[3]) + " " + Factor(m[4]) + " " +
          Factor(m[5]) + " cm");
    return segments;
}

std::size_t EpsPlayback::SetMatrix(const EpsMatrix& m)
{
    // The change that takes the current space to the one asked for: m × inverse(ctm).
    const EpsMatrix& c = state_.ctm;
    const double det = c[0] * c[3] - c[1] * c[2];
    if (det == 0 || !std::isfinite(1 / det))
        throw EpsRefusal{"setmatrix da uno spazio non invertibile"};
    const EpsMatrix inverse{c[3] / det, -c[1] / det, -c[2] / det, c[0] / det,
                            (c[2] * c[5] - c[3] * c[4]) / det, (c[1] * c[4] - c[0] * c[5]) / det};
    return Transform(EpsConcat(m, inverse));
}

void EpsPlayback::Save()
{
    Write("q");
    Held(state_.path.size());
    savedBytes_ += state_.path.size();
    saved_.push_back(state_);
}

bool EpsPlayback::Restore()
{
    if (saved_.empty())
        return false;
    Write("Q");
    state_ = std::move(saved_.back());
    saved_.pop_back();
    savedBytes_ -= state_.path.size();
    return true;
}

void EpsPlayback::Close()
{
    for (; !saved_.empty(); saved_.pop_back())
        out_.Add("Q");
}

} // namespace tavlo
