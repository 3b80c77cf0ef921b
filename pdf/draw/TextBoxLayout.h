#pragma once
// Breaking a text into the lines of a box: paragraphs at CR LF, lines at blanks, as many
// lines as the box's height holds; the rest is handed back to continue in another box.
// No counter limits the number of words, paragraphs or lines.

#include <functional>
#include <string>
#include <vector>

namespace tavlo {

// Opens the text handed back when a box ends inside a paragraph: the paragraph's first
// line in the next box is then no paragraph opening.
constexpr char kContinuedParagraph = '\0';

struct BoxRules {
    double width = 0;        // user units, like the measure
    double indent = 0;       // first line of each paragraph
    bool justify = false;    // runs of blanks count as one
    bool unbroken = false;   // shrunk or fitted lines: a paragraph is one line
    double lineAdvance = 0;  // points
    double height = 0;       // points; 0 or less: no limit
};

struct BoxLine {
    std::string text;
    bool opens = false;   // first line of a paragraph: drawn with the indent
    bool closes = false;  // last line of a paragraph
    double width = 0;     // its words and the blanks between them, without the indent
};

struct BoxLayout {
    std::vector<BoxLine> lines;
    std::string overflow;
};

// measure: the width of a text in user units in the font and spacing in force.
BoxLayout LayOutTextBox(std::string text, const BoxRules& rules,
                        const std::function<double(const std::string&)>& measure);

} // namespace tavlo
