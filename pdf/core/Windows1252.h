#pragma once
// The writer's texts are Windows-1252 bytes; the XMP packet is UTF-8, text strings PDF's own.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlo {

// The Unicode code point of one Windows-1252 byte; the five unassigned bytes keep their
// C1 code points.
std::uint32_t Windows1252CodePoint(unsigned char byte);
// The Windows-1252 byte of a code point, or -1 when the code page has none.
int Windows1252Byte(std::uint32_t codePoint);
// The Unicode code point of one byte read as PDF's MacRomanEncoding (0xDB the currency
// sign); the codes that encoding leaves out read as the Mac OS Roman characters.
std::uint32_t MacRomanCodePoint(unsigned char byte);

std::string Utf8FromWindows1252(std::string_view text);
// UTF-8 as Windows-1252: characters the code page lacks become "?"; bytes that are no UTF-8
// (a file's own bytes quoted in a message) are kept as they are.
std::string Windows1252FromUtf8(std::string_view text);

// The bytes of a PDF text string meaning the same characters: unchanged when PDFDocEncoding
// reads them alike (ASCII, accented letters), else UTF-16BE with its byte-order mark, so that
// the euro sign, typographic quotes and dashes are not read as other characters.
std::string PdfTextFromWindows1252(std::string_view text);

// The other way: a PDF text string (UTF-16BE or UTF-8 with its byte-order mark, else
// PDFDocEncoding) as Windows-1252; characters Windows-1252 lacks become "?".
std::string Windows1252FromPdfText(std::string_view text);

} // namespace tavlo
