#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

std::int32_t Tavlo::WriteFont(const std::string& resourceName, const Bytes& fontProgram, std::int32_t programLength,
                              const std::string& descriptorEntries)
{
    TavloState& s = *s_;
    const FontEntry& font = s.doc.Fonts[static_cast<std::size_t>(s.CurrentFont) - 1];
    const std::int32_t f = NewObj();
    s.FontResources += "/" + resourceName + " " + std::to_string(f) + " 0 R ";
    const std::string baseFont = PdfName(font.BaseFont);
    PutLine(std::string("<< /Type /Font /Subtype /") + (font.FontType == 0 ? "Type1" : "TrueType") + " /Name /" +
            resourceName + " /BaseFont " + baseFont + " /FirstChar 0 /LastChar 255");
    const std::string upper = AsciiUpper(font.BaseFont);
    if (upper != "SYMBOL" && upper != "ZAPFDINGBATS")
        PutLine(std::string("/Encoding << /Type /Encoding /BaseEncoding /") +
                (font.EncodingFlag == 1 ? "MacRomanEncoding" : "WinAnsiEncoding") + ">>");
    if (font.FontType == 0) {
        PutLine(" >>");
        EndObj();
        return f;
    }

    std::string text = "/FontDescriptor " + std::to_string(f + 1) + " 0 R\r/Widths [";
    for (std::size_t code = 0; code < 256; ++code) {
        text += std::to_string(font.Widths[code]) + " ";
        if (code % 16 == 15)
            text += "\r";
    }
    text += "]\r>>";
    PutLine(text);
    EndObj();

    const std::int32_t d = NewObj();
    PutLine("<< /Type /FontDescriptor /FontName " + baseFont + " " + descriptorEntries + " ");
    if (programLength == 0) {
        PutLine(" >>");
        EndObj();
        return f;
    }
    PutLine("/FontFile2 " + std::to_string(d + 1) + " 0 R >>");
    EndObj();
    NewObj();
    PutLine("<<");
    Bytes program = fontProgram;
    WriteStream(program, 0, "", programLength);
    EndObj();
    return f;
}

void Tavlo::WritePendingFonts()
{
    TavloState& s = *s_;
    const std::int32_t current = s.CurrentFont;
    for (std::size_t i = 0; i < s.doc.Fonts.size(); ++i) {
        if (s.doc.Fonts[i].Written)
            continue;
        s.CurrentFont = static_cast<std::int32_t>(i) + 1;
        FontEntry& font = s.doc.Fonts[i];
        WriteFont(font.ResourceName, font.Program, static_cast<std::int32_t>(font.Program.size()), font.Descriptor);
        font.Written = true;
        font.Program = Bytes();
    }
    s.CurrentFont = current;
}

} // namespace tavlo
