#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

std::string Upper(std::string text)
{
    return AsciiUpper(std::move(text));
}

std::string Family(const std::string& name)
{
    const std::string upper = Upper(name);
    if (upper == "TIMES" || upper == "TIMESNEWROMAN")
        return "TimesNewRoman";
    if (upper == "COURIER" || upper == "COURIERNEW")
        return "CourierNew";
    if (upper == "HELVETICA" || upper == "ARIAL")
        return "Arial";
    if (upper == "SYMBOL")
        return "Symbol";
    if (upper == "ZAPFDINGBATS")
        return "ZapfDingbats";
    return name;
}

} // namespace

void Tavlo::SetFont(const std::string& fontFamily, float size, std::int32_t style, std::int32_t encoding)
try {
    TavloState& s = *s_;
    DocumentTables& d = s.doc;
    PdfNumber(size);  // written by every text member after it: one no reader takes raises now
    d.FontName = fontFamily;
    d.FontStyle = style;
    if (size != 0)
        d.FontSize = size;
    if (d.FontSize == 0)
        d.FontSize = 10;
    // Only Mac Roman has a meaning of its own; any other value is Windows ANSI, so one
    // resource name never stands for two records.
    if (encoding != 1)
        encoding = 0;

    std::string name = fontFamily;
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    const std::string family = Family(name);
    std::string resource = family;
    if (family == "Arial" || family == "CourierNew" || family == "TimesNewRoman") {
        std::string suffix = (style & 1) ? "Bold" : "";
        if (style & 2)
            suffix += "Italic";
        if (!suffix.empty())
            resource += "," + suffix;
    }
    if (encoding == 1)
        resource = "MAC" + resource;
    const std::string key = Upper(resource);

    auto found = std::find_if(d.Fonts.begin(), d.Fonts.end(), [&](const FontEntry& font) {
        return font.Key == key && font.EncodingFlag == encoding;
    });
    if (found == d.Fonts.end()) {
        d.Fonts.emplace_back();
        s.FontCount = static_cast<std::int32_t>(d.Fonts.size());
        if (family == "TimesNewRoman")
            LoadTimesNewRomanMetrics(style);
        else if (family == "CourierNew")
            LoadCourierNewMetrics(style);
        else if (family == "Symbol")
            LoadSymbolMetrics();
        else if (family == "ZapfDingbats")
            LoadZapfDingbatsMetrics();
        else
            LoadArialMetrics(style);
        FontEntry& font = d.Fonts.back();
        font.EncodingFlag = encoding;
        font.Key = key;
        font.ResourceName = PdfName(resource).substr(1);
        s.CurrentFont = s.FontCount;
        // A font chosen before the document is open is written by BeginDoc.
        if (s.file.IsOpen()) {
            WriteFont(font.ResourceName, Bytes(), 0, std::string());
            d.Fonts.back().Written = true;
        }
        found = d.Fonts.end() - 1;
    }
    s.CurrentFont = static_cast<std::int32_t>(found - d.Fonts.begin()) + 1;
    // The record's own name: the caller's letter case may differ from the one written.
    d.FontResource = found->ResourceName;
} catch (...) {
    RaiseRecorded("SetFont");
}

void Tavlo::SetFontSize(float size)
try {
    PdfNumber(size);  // written by every text member after it: one no reader takes raises now
    s_->doc.FontSize = size;
} catch (...) {
    RaiseRecorded("SetFontSize");
}

} // namespace tavlo
