#pragma once
// The text of a written document as readers extract it: poppler's plain text (pdftotext)
// and word boxes (pdftotext -bbox), mupdf's plain text and character boxes (mutool draw -F
// stext). Boxes are in page points from the top-left corner.

#include <string>
#include <vector>

namespace tavlo::test {

struct TextBox {
    std::string text;  // a word (poppler) or one character (mupdf), UTF-8
    double left = 0, top = 0, right = 0, bottom = 0;
};

// pdftotext's text of every page (extra: more of its options, such as "-layout").
std::string PopplerText(const std::string& pdf, const std::string& password = "", const std::string& extra = "");
// mutool's text of every page.
std::string MupdfText(const std::string& pdf, const std::string& password = "");
// The words of one page (0: every page).
std::vector<TextBox> PopplerWords(const std::string& pdf, int page = 0);
// The characters of one page, each with its quad's top corners and lowest corner.
std::vector<TextBox> MupdfCharacters(const std::string& pdf, int page);

} // namespace tavlo::test
