#include "platform/sheets/XlsbCellText.h"

#include "platform/sheets/XlsxCellText.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <cmath>
#include <cstring>

namespace quercino::sheets {

std::string DecimaleBreve(double valore)
{
    char testo[32];
    auto esito = std::to_chars(testo, testo + sizeof testo, valore);
    if (esito.ec != std::errc())
        return {};
    // The plain form is chosen when it is shorter, but it writes a large integer's exact
    // digits (68371463479132708864) rather than the shortest ones that read back the same.
    const std::string_view scritto(testo, static_cast<std::size_t>(esito.ptr - testo));
    const auto cifre = std::count_if(scritto.begin(), scritto.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (scritto.find('e') == std::string_view::npos && cifre > 17) {
        esito = std::to_chars(testo, testo + sizeof testo, valore, std::chars_format::scientific);
        if (esito.ec != std::errc())
            return {};
    }
    return std::string(testo, esito.ptr);
}

QString TestoValore(double valore, bool data, bool sistema1904)
{
    // The format never stores these; a spreadsheet shows a number it cannot hold so.
    if (!std::isfinite(valore))
        return QStringLiteral("#NUM!");
    const std::string decimale = DecimaleBreve(valore);
    if (data) {
        const QString testo = TestoData(decimale, sistema1904);
        if (!testo.isEmpty())
            return testo;
    }
    return TestoNumero(decimale);
}

double ValoreRk(std::uint32_t rk)
{
    double valore = 0;
    if (rk & 2u) {
        valore = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bit = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&valore, &bit, sizeof valore);
    }
    return (rk & 1u) ? valore / 100 : valore;
}

QString TestoErrore(std::uint8_t codice)
{
    switch (codice) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    case 0x2B: return QStringLiteral("#GETTING_DATA");
    // Codes of later versions' errors: still an error, never an empty cell, which would end
    // the data of the sheet there.
    default: return QStringLiteral("#N/A");
    }
}

} // namespace quercino::sheets
