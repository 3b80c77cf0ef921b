#pragma once
// The graphics an EPS file's drawing makes, written as content lines. The path being built is
// kept, not written, until it is painted or clipped: PostScript sets the line width or the
// colour while a path is open and saves the path with the graphics state (gsave fill grestore
// stroke paints one path twice), neither of which a content stream may do. A call the content
// cannot hold as PostScript means it refuses the file (EpsRefusal).

#include "pdf/media/VectorPictures.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

// Why a file is not drawn: the reason closes the error's description.
struct EpsRefusal {
    std::string reason;
};

class EpsPlayback {
public:
    explicit EpsPlayback(VectorDrawing& out) : out_(out) {}

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
    // A transformation: a b c d e f.
    void Transform(const double m[6]);
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
    };

    void Segment(const std::string& text, double x, double y);
    void RequirePoint(std::string_view op) const;

    VectorDrawing& out_;
    Graphics state_;
    std::vector<Graphics> saved_;
    bool drawn_ = false;
};

} // namespace tavlo
