// The operators of the EPS reader that draw: PostScript's own, written in their content
// stream form, and the short operators of content streams and Illustrator files.

#include "pdf/media/eps/EpsInterpreter.h"

#include "pdf/core/PdfFormat.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tavlo {

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;

std::string Numbers(const std::vector<double>& values)
{
    std::string text;
    for (const double v : values)
        text += (text.empty() ? "" : " ") + PdfNumber(v);
    return text;
}

// The components of a device colour space named alone or first in an array, 0 for another.
int DeviceComponents(std::string_view name)
{
    return name == "DeviceGray" ? 1 : name == "DeviceRGB" ? 3 : name == "DeviceCMYK" ? 4 : 0;
}

[[noreturn]] void NotPlayed(std::string_view what)
{
    throw EpsUnfollowed{{"il disegno usa «" + std::string(what) + "», che non è riprodotto (testo, immagini, sfumature)"}};
}

// PostScript's conversions between hue, saturation, brightness and red, green, blue.
std::vector<double> RgbOfHsb(double h, double s, double b)
{
    h = std::clamp(h, 0.0, 1.0) * 6;
    s = std::clamp(s, 0.0, 1.0);
    b = std::clamp(b, 0.0, 1.0);
    const int i = static_cast<int>(std::floor(h)) % 6;
    const double f = h - std::floor(h), p = b * (1 - s), q = b * (1 - s * f), t = b * (1 - s * (1 - f));
    switch (i) {
    case 0: return {b, t, p};
    case 1: return {q, b, p};
    case 2: return {p, b, t};
    case 3: return {p, q, b};
    case 4: return {t, p, b};
    default: return {b, p, q};
    }
}

std::vector<double> HsbOfRgb(double r, double g, double b)
{
    const double most = std::max({r, g, b}), least = std::min({r, g, b}), range = most - least;
    if (most == 0 || range == 0)
        return {0, 0, most};
    double h = most == r ? (g - b) / range : most == g ? 2 + (b - r) / range : 4 + (r - g) / range;
    h /= 6;
    if (h < 0)
        h += 1;
    return {h, range / most, most};
}

// The colour as red, green and blue, from a grey or CMYK one as PostScript converts it.
std::vector<double> RgbOf(const std::vector<double>& c)
{
    if (c.size() == 1)
        return {c[0], c[0], c[0]};
    if (c.size() == 4)
        return {1 - std::min(1.0, c[0] + c[3]), 1 - std::min(1.0, c[1] + c[3]), 1 - std::min(1.0, c[2] + c[3])};
    return c;
}

} // namespace

void EpsInterpreter::WriteColour(const std::vector<double>& components, bool fill, bool stroke)
{
    playback_.Colour(components, fill, stroke);
}

void EpsInterpreter::Transform(const std::vector<double>& m)
{
    Step(playback_.Transform({m[0], m[1], m[2], m[3], m[4], m[5]}));
}

// x1 y1 x2 y2 r: a line from the current point towards (x1, y1), then the arc of radius r
// that touches it and the line from (x1, y1) to (x2, y2); arcto leaves the two points where
// the arc touches them.
void EpsInterpreter::ArcTangent(bool push)
{
    const std::vector<double> v = PopNumbers(5);
    double x0 = 0, y0 = 0;
    if (!playback_.CurrentPoint(x0, y0))
        throw EpsRefusal{"segmento senza punto corrente (" + std::string(running_) + ")"};
    const double x1 = v[0], y1 = v[1], x2 = v[2], y2 = v[3], r = v[4];
    for (const double n : v)
        if (!std::isfinite(n))
            Fail();
    const double ax = x0 - x1, ay = y0 - y1, bx = x2 - x1, by = y2 - y1;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    const double cross = ax * by - ay * bx;
    if (r < 0 || la == 0 || lb == 0)
        Fail();
    double t1x = x1, t1y = y1, t2x = x1, t2y = y1;
    if (cross == 0 || r == 0) {
        playback_.LineTo(x1, y1);
    } else {
        // Half the angle between the two lines at (x1, y1).
        const double cosine = std::clamp((ax * bx + ay * by) / (la * lb), -1.0, 1.0);
        const double half = std::acos(cosine) / 2;
        const double d = r / std::tan(half);
        t1x = x1 + ax / la * d;
        t1y = y1 + ay / la * d;
        t2x = x1 + bx / lb * d;
        t2y = y1 + by / lb * d;
        const double bisx = ax / la + bx / lb, bisy = ay / la + by / lb, bis = std::hypot(bisx, bisy);
        const double cx = x1 + bisx / bis * r / std::sin(half), cy = y1 + bisy / bis * r / std::sin(half);
        const double a0 = std::atan2(t1y - cy, t1x - cx) / kRadiansPerDegree;
        double a1 = std::atan2(t2y - cy, t2x - cx) / kRadiansPerDegree;
        // The short way round: counter-clockwise when the turn at (x1, y1) is to the right.
        if (cross < 0) {
            while (a1 < a0)
                a1 += 360;
        } else {
            while (a1 > a0)
                a1 -= 360;
        }
        playback_.Arc(cx, cy, r, a0, a1);
    }
    if (push)
        for (const double n : {t1x, t1y, t2x, t2y})
            PushNumber(n);
}

// An array of lengths and a phase: a dash of lengths none negative, not all zero.
void EpsInterpreter::SetDash()
{
    const double phase = PopNumber();
    const EpsValue lengths = PopArray();
    std::vector<double> values;
    for (const EpsValue& item : *lengths.items) {
        if (item.kind != EpsValue::kNumber || item.number < 0)
            Fail();
        values.push_back(item.number);
    }
    if (!values.empty() && std::all_of(values.begin(), values.end(), [](double v) { return v == 0; }))
        Fail();
    playback_.State("[" + Numbers(values) + "] " + PdfNumber(phase) + " d");
}

void EpsInterpreter::RunGraphics(const EpsBuiltinOperator& entry)
{
    using B = EpsBuiltin;
    EpsPlayback& p = playback_;
    double x = 0, y = 0;
    auto point = [&] {
        if (!p.CurrentPoint(x, y))
            throw EpsRefusal{"segmento senza punto corrente (" + std::string(entry.name) + ")"};
    };
    switch (entry.op) {
    case B::kNewPath: p.NewPath(); break;
    case B::kMoveTo: case B::kLineTo: {
        const std::vector<double> v = PopNumbers(2);
        entry.op == B::kMoveTo ? p.MoveTo(v[0], v[1]) : p.LineTo(v[0], v[1]);
        break;
    }
    case B::kRMoveTo: case B::kRLineTo: {
        const std::vector<double> v = PopNumbers(2);
        point();
        entry.op == B::kRMoveTo ? p.MoveTo(x + v[0], y + v[1]) : p.LineTo(x + v[0], y + v[1]);
        break;
    }
    case B::kCurveTo: {
        const std::vector<double> v = PopNumbers(6);
        p.CurveTo(v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    }
    case B::kRCurveTo: {
        const std::vector<double> v = PopNumbers(6);
        point();
        p.CurveTo(x + v[0], y + v[1], x + v[2], y + v[3], x + v[4], y + v[5]);
        break;
    }
    case B::kClosePath: p.ClosePath(); break;
    case B::kCurrentPoint:
        point();
        PushNumber(x);
        PushNumber(y);
        break;
    case B::kArc: case B::kArcN: {
        const std::vector<double> v = PopNumbers(5);
        const double a0 = v[3];
        double sweep = v[4] - a0;
        // The end angle taken by whole turns to the side the arc goes.
        if (entry.op == B::kArc && sweep < 0)
            sweep = std::fmod(sweep, 360) + (std::fmod(sweep, 360) < 0 ? 360 : 0);
        else if (entry.op == B::kArcN && sweep > 0)
            sweep = std::fmod(sweep, 360) - (std::fmod(sweep, 360) > 0 ? 360 : 0);
        if (v[2] < 0 || !std::isfinite(sweep) || std::fabs(sweep) > 3600)
            Fail();
        p.Arc(v[0], v[1], v[2], a0, a0 + sweep);
        break;
    }
    case B::kArcT: ArcTangent(false); break;
    case B::kArcTo: ArcTangent(true); break;
    case B::kFill: p.Paint("f"); break;
    case B::kEoFill: p.Paint("f*"); break;
    case B::kStroke: p.Paint("S"); break;
    case B::kClip: p.ClipNow(false); break;
    case B::kEoClip: p.ClipNow(true); break;
    case B::kRectClip: {
        // As newpath, the rectangle, clip and newpath.
        const std::vector<double> v = PopNumbers(4);
        p.NewPath();
        p.Rectangle(v[0], v[1], v[2], v[3]);
        p.ClipNow(false);
        p.NewPath();
        break;
    }
    case B::kRectFill: case B::kRectStroke: {
        // Painted in a graphics state of their own: the path being built stays as it is.
        const std::vector<double> v = PopNumbers(4);
        p.PaintRectangle(v[0], v[1], v[2], v[3], entry.op == B::kRectFill ? "f" : "S");
        break;
    }
    case B::kGSave: p.Save(); break;
    case B::kGRestore: p.Restore(); break;
    case B::kSave: {
        EpsValue save;
        save.kind = EpsValue::kSave;
        save.number = static_cast<double>(p.Depth());
        p.Save();
        Push(std::move(save));
        break;
    }
    case B::kRestore: {
        if (Top().kind != EpsValue::kSave)
            Fail();
        const double depth = Pop().number;
        while (static_cast<double>(p.Depth()) > depth && p.Restore()) {
        }
        break;
    }
    case B::kSetLineWidth: p.State(PdfNumber(p.Line()[0] = PopNumber()) + " w"); break;
    case B::kSetLineCap: p.State(PdfNumber(p.Line()[1] = static_cast<double>(PopInteger())) + " J"); break;
    case B::kSetLineJoin: p.State(PdfNumber(p.Line()[2] = static_cast<double>(PopInteger())) + " j"); break;
    case B::kSetMiterLimit: p.State(PdfNumber(p.Line()[3] = PopNumber()) + " M"); break;
    case B::kCurrentLineWidth: PushNumber(p.Line()[0]); break;
    case B::kCurrentLineCap: PushNumber(p.Line()[1], true); break;
    case B::kCurrentLineJoin: PushNumber(p.Line()[2], true); break;
    case B::kCurrentMiterLimit: PushNumber(p.Line()[3]); break;
    case B::kSetHsbColor: {
        const std::vector<double> hsb = PopNumbers(3);
        WriteColour(RgbOfHsb(hsb[0], hsb[1], hsb[2]), true, true);
        p.Components() = 3;
        break;
    }
    case B::kCurrentGray: {
        const std::vector<double>& c = p.FillColour();
        PushNumber(c.size() == 1   ? c[0]
                   : c.size() == 3 ? 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]
                                   : 1 - std::min(1.0, 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2] + c[3]));
        break;
    }
    case B::kCurrentRgbColor: case B::kCurrentHsbColor: {
        std::vector<double> c = RgbOf(p.FillColour());
        if (entry.op == B::kCurrentHsbColor)
            c = HsbOfRgb(c[0], c[1], c[2]);
        for (const double v : c)
            PushNumber(v);
        break;
    }
    case B::kCurrentMatrix: {
        EpsValue into = PopArray();
        if (into.items->size() != 6)
            Fail();
        for (std::size_t i = 0; i < 6; ++i)
            (*into.items)[i] = EpsValue::Number(p.Matrix()[i]);
        Push(std::move(into));
        break;
    }
    case B::kSetMatrix: {
        const std::vector<double> m = PopMatrix();
        Step(p.SetMatrix({m[0], m[1], m[2], m[3], m[4], m[5]}));
        break;
    }
    case B::kSetDash: SetDash(); break;
    case B::kSetGray: case B::kSetRgbColor: case B::kSetCmykColor: {
        const std::size_t n = entry.op == B::kSetGray ? 1 : entry.op == B::kSetRgbColor ? 3 : 4;
        WriteColour(PopNumbers(n), true, true);
        p.Components() = static_cast<int>(n);
        break;
    }
    case B::kSetColorSpace: {
        const EpsValue space = Pop();
        std::string_view name;
        if (space.kind == EpsValue::kName)
            name = space.text;
        else if (space.kind == EpsValue::kArray && !space.items->empty() && space.items->front().kind == EpsValue::kName)
            name = space.items->front().text;
        const int n = DeviceComponents(name);
        if (n == 0)
            NotPlayed(std::string("setcolorspace ") + std::string(name));
        p.Components() = n;
        // A space set begins with its initial colour: black.
        WriteColour(n == 4 ? std::vector<double>{0, 0, 0, 1} : std::vector<double>(static_cast<std::size_t>(n), 0),
                    true, true);
        break;
    }
    case B::kSetColor: WriteColour(PopNumbers(static_cast<std::size_t>(p.Components())), true, true); break;
    case B::kConcat: Transform(PopMatrix()); break;
    case B::kTranslate: case B::kScale: case B::kRotate: {
        // With a matrix on top they only fill it in: nothing changes on the page.
        EpsValue into;
        const bool matrix = Top().kind == EpsValue::kArray;
        if (matrix) {
            into = PopArray();
            if (into.items->size() != 6)
                Fail();
        }
        std::vector<double> m;
        if (entry.op == B::kRotate) {
            const double a = PopNumber() * kRadiansPerDegree;
            m = {std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 0, 0};
        } else {
            const std::vector<double> v = PopNumbers(2);
            m = entry.op == B::kTranslate ? std::vector<double>{1, 0, 0, 1, v[0], v[1]}
                                          : std::vector<double>{v[0], 0, 0, v[1], 0, 0};
        }
        if (!matrix) {
            Transform(m);
            break;
        }
        for (std::size_t i = 0; i < 6; ++i)
            (*into.items)[i] = EpsValue::Number(m[i]);
        Push(std::move(into));
        break;
    }
    case B::kShowPage: ended_ = true; break;
    case B::kIgnore:
        stack_.resize(stack_.size() - std::min(stack_.size(), static_cast<std::size_t>(entry.dropped)));
        break;
    case B::kSetTransfer:
        // Only the transfer that changes nothing: another would change every colour.
        for (int i = 0; i < entry.dropped; ++i)
            if (!PopProcedure().items->empty())
                NotPlayed(entry.name);
        break;
    default: NotPlayed(entry.name);
    }
}

void EpsInterpreter::RunShort(const EpsShortOperator& op)
{
    using S = EpsShort;
    EpsPlayback& p = playback_;
    running_ = op.name;
    // Fills of an Illustrator file, whose compound paths have their holes by this rule.
    const bool evenOdd = !content_;
    switch (op.op) {
    case S::kMoveTo: case S::kLineTo: {
        const std::vector<double> v = PopNumbers(2);
        op.op == S::kMoveTo ? p.MoveTo(v[0], v[1]) : p.LineTo(v[0], v[1]);
        break;
    }
    case S::kCurveTo: {
        const std::vector<double> v = PopNumbers(6);
        p.CurveTo(v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    }
    case S::kCurveV: case S::kCurveY: {
        const std::vector<double> v = PopNumbers(4);
        op.op == S::kCurveV ? p.CurveV(v[0], v[1], v[2], v[3]) : p.CurveY(v[0], v[1], v[2], v[3]);
        break;
    }
    case S::kRectangle: {
        const std::vector<double> v = PopNumbers(4);
        p.Rectangle(v[0], v[1], v[2], v[3]);
        break;
    }
    case S::kClose: p.ClosePath(); break;
    case S::kEndPath: p.EndPath(); break;
    case S::kStroke: p.Paint("S"); break;
    case S::kCloseStroke: p.Paint("s"); break;
    case S::kFill: p.Paint(evenOdd ? "f*" : "f"); break;
    case S::kEoFill: p.Paint("f*"); break;
    case S::kFillStroke: p.Paint(evenOdd ? "B*" : "B"); break;
    case S::kEoFillStroke: p.Paint("B*"); break;
    case S::kCloseFillStroke: p.Paint(evenOdd ? "b*" : "b"); break;
    case S::kCloseEoFillStroke: p.Paint("b*"); break;
    case S::kClip: p.ClipAtEnd(false); break;
    case S::kEoClip: p.ClipAtEnd(true); break;
    case S::kSave: p.Save(); break;
    case S::kRestore: p.Restore(); break;
    case S::kTransform: Transform(Top().kind == EpsValue::kArray ? PopMatrix() : PopNumbers(6)); break;
    case S::kLineWidth: p.State(PdfNumber(p.Line()[0] = PopNumber()) + " w"); break;
    case S::kLineCap: p.State(PdfNumber(p.Line()[1] = PopNumber()) + " J"); break;
    case S::kLineJoin: p.State(PdfNumber(p.Line()[2] = PopNumber()) + " j"); break;
    case S::kMiterLimit: p.State(PdfNumber(p.Line()[3] = PopNumber()) + " M"); break;
    case S::kDash: SetDash(); break;
    case S::kGray: case S::kStrokeGray: case S::kRgb: case S::kStrokeRgb: case S::kCmyk: case S::kStrokeCmyk:
    case S::kIllustratorRgb: case S::kIllustratorStrokeGray: {
        const bool stroke = op.op == S::kStrokeGray || op.op == S::kStrokeRgb || op.op == S::kStrokeCmyk ||
                            op.op == S::kIllustratorStrokeGray;
        const std::size_t n = static_cast<std::size_t>(op.operands);
        WriteColour(PopNumbers(n), !stroke, stroke);
        (stroke ? p.StrokeComponents() : p.FillComponents()) = static_cast<int>(n);
        break;
    }
    case S::kSpace: case S::kStrokeSpace: {
        // The name of a device space, with an empty procedure after it in some programs' files.
        if (Top().IsProcedure() && PopProcedure().items->empty() == false)
            Fail();
        const EpsValue space = Pop();
        const int n = space.kind == EpsValue::kName ? DeviceComponents(space.text) : 0;
        if (n == 0)
            NotPlayed(std::string(op.name) + " " + std::string(space.text));
        const bool stroke = op.op == S::kStrokeSpace;
        (stroke ? p.StrokeComponents() : p.FillComponents()) = n;
        p.State("/" + std::string(space.text) + (stroke ? " CS" : " cs"));
        break;
    }
    case S::kComponents: case S::kStrokeComponents: {
        const bool stroke = op.op == S::kStrokeComponents;
        const std::size_t n = static_cast<std::size_t>(stroke ? p.StrokeComponents() : p.FillComponents());
        std::vector<double> values;
        if (Top().kind == EpsValue::kArray) {
            const EpsValue array = PopArray();
            for (const EpsValue& item : *array.items) {
                if (item.kind != EpsValue::kNumber)
                    Fail();
                values.push_back(item.number);
            }
            if (values.size() != n)
                Fail();
        } else {
            if (Top().kind == EpsValue::kName)
                NotPlayed(std::string(op.name) + " /" + std::string(Top().text));
            values = PopNumbers(n);
        }
        p.State(Numbers(values) + (stroke ? " SC" : " sc"));
        break;
    }
    case S::kCustom: case S::kStrokeCustom: {
        // c m y k (name) tint: the colour at 1 - tint of its strength.
        const double tint = PopNumber();
        if (Pop().kind != EpsValue::kString || tint < 0 || tint > 1)
            Fail();
        std::vector<double> values = PopNumbers(4);
        for (double& v : values)
            v *= 1 - tint;
        const bool stroke = op.op == S::kStrokeCustom;
        WriteColour(values, !stroke, stroke);
        (stroke ? p.StrokeComponents() : p.FillComponents()) = 4;
        break;
    }
    case S::kPassed: break;
    case S::kRefused: NotPlayed(op.name);
    }
    running_ = passed_ = {};
}

} // namespace tavlo
