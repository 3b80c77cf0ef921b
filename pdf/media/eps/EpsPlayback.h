#pragma once
// The graphics an EPS file's drawing makes, written as content lines. The path being built is
// kept, not written, until it is painted or clipped: PostScript sets the line width or the
// colour while a path is open, saves the path with the graphics state (gsave fill grestore
// stroke paints one path twice) and keeps it where it lies on the page when the
// transformation changes, none of which a content stream may do. A call the content cannot
// hold as PostScript means it refuses the file (EpsRefusal).

#include "pdf/media/VectorPictures.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

// Why a file is not drawn: the reason closes the error's description.
struct EpsRefusal {
    std::string reason;
};
// An operator whose effect is not followed or cannot be played: refuses the file when the
// drawing runs it, and is passed over before the drawing, where a prolog only prepares.
struct EpsUnfollowed : EpsRefusal {};

// a b c d e f: a point (x, y) of the space goes to (a x + c y + e, b x + d y + f).
using EpsMatrix = std::array<double, 6>;

class EpsPlayback {
public:
    explicit EpsPlayback(VectorDrawing& out) : out_(out) {}

    // Before the drawing (prolog, setup) the state is set and nothing is painted.
    void SetDrawing(bool drawing) { drawing_ = drawing; }

    // Path construction in the current user space. A segment needs a current point.
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void CurveV(double x2, double y2, double x3, double y3);  // first control point on the current one
    void CurveY(double x1, double y1, double x3, double y3);  // second control point on the end
    void Rectangle(double x, double y, double width, double height);
    void ClosePath();
    void NewPath();
    bool CurrentPoint(double& x, double& y) const;
    // An arc of a circle as curves of a quarter turn at most, from the angle a0 to a1 in
    // degrees (counter-clockwise when a1 > a0); joined to the current point by a line.
    void Arc(double cx, double cy, double r, double a0, double a1);

    // The path painted by a content operator (f, f*, S, s, B, B*, b, b*), then ended.
    void Paint(std::string_view op);
    // A rectangle painted apart: the path being built stays as it is.
    void PaintRectangle(double x, double y, double width, double height, std::string_view op);
    // PostScript's clip: the clipping path is intersected now and the path stays current.
    void ClipNow(bool evenOdd);
    // A content stream's W: the clipping path is intersected with the painting or the n
    // that ends the path.
    void ClipAtEnd(bool evenOdd);
    // A content stream's n.
    void EndPath();

    // A line of the graphics state (width, dash, colour...), written at once.
    void State(const std::string& line);
    // A colour of 1, 3 or 4 components for filling, stroking or both.
    void Colour(const std::vector<double>& components, bool fill, bool stroke);
    // The colour PostScript's currentrgbcolor and currentgray read: the filling one.
    const std::vector<double>& FillColour() const { return state_.fillColour; }
    // Line state kept for PostScript's current... operators: width, cap, join, miter limit.
    std::array<double, 4>& Line() { return state_.line; }

    // A transformation: the path built so far stays where it lies on the page. Returns the
    // segments of the path that were expressed anew (the work it took).
    std::size_t Transform(const EpsMatrix& m);
    // The transformation from the file's own space to the current one, and a change to an
    // absolute one (setmatrix).
    const EpsMatrix& Matrix() const { return state_.ctm; }
    std::size_t SetMatrix(const EpsMatrix& m);

    // gsave, q: the graphics state with the path. Restore is false when nothing is saved
    // (the placement's own state is never restored).
    void Save();
    bool Restore();
    std::size_t Depth() const { return saved_.size(); }

    // The components of the colour spaces: a content stream's for filling and stroking,
    // PostScript's one for both; 0 when not a device space.
    int& FillComponents() { return state_.fill; }
    int& StrokeComponents() { return state_.stroke; }
    int& Components() { return state_.postscript; }

    // The lines that end the drawing: the states left saved.
    void Close();
    bool Drawn() const { return drawn_; }

private:
    struct Graphics {
        std::string path;  // the segments written so far, each with its operator
        bool point = false;
        double x = 0, y = 0, startX = 0, startY = 0;
        std::string clip;  // a content stream's W or W*, waiting for the path's end
        int fill = 1, stroke = 1, postscript = 1;  // DeviceGray to begin with
        std::vector<double> fillColour{0};
        std::array<double, 4> line{1, 0, 0, 10};
        EpsMatrix ctm{1, 0, 0, 1, 0, 0};
    };

    void Segment(const std::string& text, double x, double y);
    void RequirePoint(std::string_view op) const;
    void Write(const std::string& line);
    void Held(std::size_t more) const;  // refuses a drawing past what is held in memory

    VectorDrawing& out_;
    Graphics state_;
    std::vector<Graphics> saved_;
    std::size_t savedBytes_ = 0;  // of the paths saved with the states
    bool drawn_ = false, drawing_ = true;
};

// The product m × n: m first, then n.
EpsMatrix EpsConcat(const EpsMatrix& m, const EpsMatrix& n);

} // namespace tavlo
