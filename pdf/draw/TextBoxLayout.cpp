#include "pdf/draw/TextBoxLayout.h"

#include "pdf/core/TextReplace.h"

#include <cstddef>

namespace tavlo {

namespace {

const std::string kBreak = "\r\n";

// Runs of blanks become one blank; an empty paragraph becomes one blank, so that it keeps
// its line; a final line break gives a last paragraph of one blank.
std::vector<std::string> Paragraphs(const std::string& text, bool justify)
{
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (justify && c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
        if (c == '\n' && out.size() >= 2 && out[out.size() - 2] == '\r' && text.compare(i + 1, 2, kBreak) == 0)
            out += ' ';
    }
    if (out.size() >= 2 && out.compare(out.size() - 2, 2, kBreak) == 0)
        out += ' ';
    return SplitText(out, kBreak);
}

std::string Joined(const std::vector<std::string>& words, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (i > from)
            text += ' ';
        text += words[i];
    }
    return text;
}

} // namespace

BoxLayout LayOutTextBox(std::string text, const BoxRules& rules,
                        const std::function<double(const std::string&)>& measure)
{
    bool continued = !text.empty() && text.front() == kContinuedParagraph;
    if (continued)
        text.erase(0, 1);
    const std::vector<std::string> paragraphs = Paragraphs(text, rules.justify);
    const double blank = measure(" ");

    BoxLayout layout;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        const std::vector<std::string> words = SplitText(paragraphs[p], " ");
        std::vector<double> widths;
        widths.reserve(words.size());
        for (const std::string& word : words)
            widths.push_back(measure(word));

        for (std::size_t i = 0; i < words.size();) {
            // The first word is always taken, however wide; the first line of a paragraph
            // is broken with its indent, also when it continues one begun in another box.
            BoxLine line;
            line.text = words[i];
            double used = widths[i] + (i == 0 ? rules.indent : 0);
            line.width = widths[i];
            std::size_t j = i + 1;
            for (std::size_t appended = 0; j < words.size(); ++j, ++appended) {
                const double trial = static_cast<double>(appended + 1) * blank + used + widths[j];
                if (trial > rules.width && !rules.unbroken)
                    break;
                line.text += ' ';
                line.text += words[j];
                used += widths[j];
                line.width += blank + widths[j];
            }
            line.opens = i == 0 && !continued;
            line.closes = j == words.size();
            continued = false;
            layout.lines.push_back(std::move(line));
            i = j;

            const double needed = rules.lineAdvance * static_cast<double>(layout.lines.size() + 1);
            if (rules.height > 0 && needed > rules.height) {
                if (i < words.size())
                    layout.overflow = kContinuedParagraph + Joined(words, i);
                for (std::size_t q = p + 1; q < paragraphs.size(); ++q) {
                    if (!layout.overflow.empty())
                        layout.overflow += kBreak;
                    layout.overflow += paragraphs[q];
                }
                return layout;
            }
        }
    }
    return layout;
}

} // namespace tavlo
