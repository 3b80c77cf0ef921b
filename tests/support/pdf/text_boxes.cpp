#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"

#include <algorithm>
#include <sstream>

namespace tavlo::test {

namespace {

std::string Attribute(const std::string& element, const std::string& name)
{
    const std::size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos)
        return "";
    const std::size_t from = at + name.size() + 3;
    return element.substr(from, element.find('"', from) - from);
}

std::string Unescaped(std::string text)
{
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

std::string PageRange(int page)
{
    return page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
}

} // namespace

std::string PopplerText(const std::string& pdf, const std::string& password, const std::string& extra)
{
    const std::string pw = password.empty() ? "" : " -upw " + Quote(password);
    return RunTool("pdftotext" + pw + (extra.empty() ? "" : " " + extra) + " " + Quote(pdf) + " - 2>/dev/null").output;
}

std::string MupdfText(const std::string& pdf, const std::string& password)
{
    const std::string pw = password.empty() ? "" : " -p " + Quote(password);
    return RunTool("mutool draw -q -F txt" + pw + " -o - " + Quote(pdf) + " 2>/dev/null").output;
}

std::vector<TextBox> PopplerWords(const std::string& pdf, int page)
{
    const std::string html = RunTool("pdftotext -bbox" + PageRange(page) + " " + Quote(pdf) + " - 2>/dev/null").output;
    std::vector<TextBox> words;
    for (std::size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
        const std::size_t close = html.find('>', at);
        const std::string element = html.substr(at, close - at);
        TextBox box;
        box.left = std::stod(Attribute(element, "xMin"));
        box.top = std::stod(Attribute(element, "yMin"));
        box.right = std::stod(Attribute(element, "xMax"));
        box.bottom = std::stod(Attribute(element, "yMax"));
        box.text = Unescaped(html.substr(close + 1, html.find("</word>", close) - close - 1));
        words.push_back(box);
    }
    return words;
}

std::vector<TextBox> MupdfCharacters(const std::string& pdf, int page)
{
    const std::string xml =
        RunTool("mutool draw -q -F stext -o - " + Quote(pdf) + " " + std::to_string(page) + " 2>/dev/null").output;
    std::vector<TextBox> chars;
    for (std::size_t at = xml.find("<char "); at != std::string::npos; at = xml.find("<char ", at + 1)) {
        const std::string element = xml.substr(at, xml.find("/>", at) - at);
        // quad="x0 y0 x1 y1 x2 y2 x3 y3": top-left, top-right, bottom-left, bottom-right.
        std::istringstream quad(Attribute(element, "quad"));
        double q[8] = {};
        for (double& v : q)
            quad >> v;
        TextBox box;
        box.left = q[0], box.top = q[1], box.right = q[2];
        box.bottom = std::max(q[5], q[7]);
        box.text = Unescaped(Attribute(element, "c"));
        chars.push_back(box);
    }
    return chars;
}

} // namespace tavlo::test
