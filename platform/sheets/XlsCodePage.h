#pragma once
// The code page of an Excel 5.0/95 workbook, whose texts are bytes in the code page its
// CODEPAGE record names (Windows-1252 when it names none, UTF-16 when it names 1200): they
// become Unicode here.
// Excel 97-2003 workbooks store their texts as UTF-16 or Latin-1 and need none of this.

#include <QString>

#include <cstdint>
#include <string_view>

namespace quercino::sheets {

class XlsCodePage {
public:
    XlsCodePage() = default;
    ~XlsCodePage();
    XlsCodePage(const XlsCodePage&) = delete;
    XlsCodePage& operator=(const XlsCodePage&) = delete;

    // The code page by its Windows number; an unknown one reads as Windows-1252. Until it
    // is set, bytes read as Latin-1.
    void Imposta(std::uint16_t numero);
    QString Testo(std::string_view byte) const;

private:
    void* conversione_ = nullptr;    // iconv_t
    bool utf16_ = false;
};

} // namespace quercino::sheets
