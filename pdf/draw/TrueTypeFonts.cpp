#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/InputFile.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"
#include "pdf/draw/TrueTypeReader.h"

#include <algorithm>
#include <filesystem>

namespace tavlo {

namespace {

// Far above any single font of Latin text, within the 32-bit offsets of the format.
constexpr std::uintmax_t kMaxFontFile = std::uintmax_t{1} << 27;

std::string WithoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

std::string Descriptor(const TrueTypeMetrics& m)
{
    const std::int32_t flags = (m.ItalicAngle != 0 ? 64 : 0) + (m.FixedPitch ? 1 : 0) + (m.Symbolic ? 4 : 32);
    const auto n = [](std::int32_t v) { return std::to_string(v); };
    return "/Flags " + n(flags) + " /FontBBox [" + n(m.BoundingBox[0]) + " " + n(m.BoundingBox[1]) + " " +
           n(m.BoundingBox[2]) + " " + n(m.BoundingBox[3]) + "] /MissingWidth " + n(m.MissingWidth) + " /StemV " +
           n(m.Weight <= 500 ? 70 : 120) + " /ItalicAngle " + PdfNumber(m.ItalicAngle) + " /CapHeight " +
           n(m.Ascent) + " /XHeight " + n(m.Ascent / 2) + " /Ascent " + n(m.Ascent) + " /Descent " + n(m.Descent) +
           " /MaxWidth " + n(m.MaxWidth) + " /AvgWidth " + n(m.AvgWidth);
}

} // namespace

std::string Tavlo::AddFont(const std::string& ttfFile, const std::string& fontAlias, std::int16_t embedded,
                           std::int32_t encoding)
{
    TavloState& s = *s_;
    DocumentTables& d = s.doc;
    const std::int32_t current = s.CurrentFont;
    bool added = false;
    try {
        Bytes file = ReadWholeFile(ttfFile, kMaxFontFile, "font troppo grande");
        // As in SetFont: only Mac Roman has a meaning of its own.
        if (encoding != 1)
            encoding = 0;
        const TrueTypeMetrics m = ReadTrueType(file, encoding == 1 ? CodePage::MacRoman : CodePage::Windows1252);

        // SetFont looks names up without blanks, upper-cased, "MAC" in front for Mac Roman.
        std::string own = !m.FullName.empty()         ? m.FullName
                          : !m.PostScriptName.empty() ? m.PostScriptName
                                                      : WithoutBlanks(std::filesystem::path(ttfFile).stem().string());
        const std::string name = fontAlias.empty() ? own : WithoutBlanks(fontAlias);
        if (name.empty())
            throw TavloError(ErrorCode::InvalidArgument, "Nome del font vuoto");
        const std::string resource = (encoding == 1 ? "MAC" : "") + name;
        const std::string key = AsciiUpper(resource);
        const auto same = std::find_if(d.Fonts.begin(), d.Fonts.end(), [&](const FontEntry& f) { return f.Key == key; });
        if (same != d.Fonts.end()) {
            // One record per name and encoding: the font registered first stands.
            if (same->FontType != 0 && same->EncodingFlag == encoding)
                return name;
            throw TavloError(ErrorCode::InvalidArgument,
                             "Il nome " + Utf8FromWindows1252(name) + " è già usato da un altro font");
        }

        std::string style = m.Weight > 500 ? "Bold" : "";
        if (m.ItalicAngle != 0)
            style += "Italic";
        FontEntry font;
        font.Key = key;
        font.FontType = -1;
        font.BaseFont = own + (style.empty() ? "" : "," + style);
        font.Widths = m.Widths;
        font.LineHeight = static_cast<std::int16_t>(m.Ascent - m.Descent);
        font.Descent = m.Descent;
        font.EncodingFlag = encoding;
        font.ResourceName = PdfName(resource).substr(1);
        font.Descriptor = Descriptor(m);
        if (embedded != 0)
            font.Program = std::move(file);
        d.Fonts.push_back(std::move(font));
        added = true;
        s.FontCount = static_cast<std::int32_t>(d.Fonts.size());
        // A font added before the document is open is written by BeginDoc.
        if (s.file.IsOpen()) {
            FontEntry& entry = d.Fonts.back();
            s.CurrentFont = s.FontCount;
            WriteFont(entry.ResourceName, entry.Program, static_cast<std::int32_t>(entry.Program.size()),
                      entry.Descriptor);
            s.CurrentFont = current;
            entry.Written = true;
            entry.Program = Bytes();
        }
        return name;
    } catch (const std::exception& error) {
        if (added && !d.Fonts.back().Written) {
            d.Fonts.pop_back();
            s.FontCount = static_cast<std::int32_t>(d.Fonts.size());
        }
        s.CurrentFont = current;
        CaptureError("AddFont", ttfFile, error);
        return "";
    }
}

} // namespace tavlo
