#pragma once
// The current position and the spacing of text: every page begins with these values
// (BeginPage renews this part), as every document does.

namespace tavlo {

struct TextState {
    double CurrentX = 0, CurrentY = 0;  // points from the page's top-left corner, y downwards
    double CharSpacing = 0, WordSpacing = 0;  // points
    double HorizontalScaling = 100;           // percent
    double LineSpacing = 1.0;                 // factor of the line height
};

} // namespace tavlo
