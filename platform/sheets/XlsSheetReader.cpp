#include "platform/sheets/XlsSheetReader.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsbCellText.h"
#include "platform/sheets/XlsxCellText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace quercino::sheets {

namespace {

double Double(const unsigned char* p)
{
    std::uint64_t bit = 0;
    for (int i = 7; i >= 0; --i)
        bit = (bit << 8) | p[i];
    return std::bit_cast<double>(bit);
}

} // namespace

XlsSheetReader::XlsSheetReader(std::shared_ptr<const XlsGlobali> globali, int indice, int colonne, const QString& danneggiato)
    : g_(std::move(globali)), flusso_(*g_->File, g_->Flusso), record_(flusso_, danneggiato), colonne_(std::max(colonne, 0))
{
    flusso_.Vai(g_->Fogli.at(static_cast<std::size_t>(indice) - 1).Posizione);
    // A worksheet's own beginning (0x0010), not a chart's or the workbook's.
    if (!record_.Prossimo() || record_.Tipo() != xls::Bof || record_.U16(2) != 0x0010)
        record_.Danneggiato();
}

QString XlsSheetReader::Testo(XlsContinuo& dati) const
{
    if (g_->Versione != 8)
        return Testo8Bit(dati, true, g_->CodePage);
    const std::uint16_t caratteri = dati.U16();
    return TestoXls(dati, caratteri, false);
}

void XlsSheetReader::Metti(SheetRow& riga, int colonna, QString testo) const
{
    if (colonna >= 0 && colonna < colonne_)
        riga.Celle[static_cast<std::size_t>(colonna)] = std::move(testo);
}

bool XlsSheetReader::Cella(SheetRow& riga, bool& iniziata)
{
    const std::uint16_t tipo = record_.Tipo();
    if (tipo == xls::String) {
        // The text of the formula just read, in the row being filled.
        if (colonnaStringa_ >= 0 && iniziata) {
            XlsContinuo dati(record_, 0);
            Metti(riga, colonnaStringa_, Testo(dati));
        }
        colonnaStringa_ = -1;
        return true;
    }
    if (!xls::Cella(tipo))
        return true;

    const std::int32_t numero = static_cast<std::int32_t>(record_.U16(0)) + 1;
    if (!iniziata) {
        riga.Numero = numero;
        // The vector's strings are reused: only those set are cleared.
        riga.Celle.resize(static_cast<std::size_t>(colonne_));
        for (QString& cella : riga.Celle)
            if (!cella.isNull())
                cella = QString();
        iniziata = true;
    } else if (numero != riga.Numero) {
        return false;
    }
    colonnaStringa_ = -1;
    const int colonna = record_.U16(2);
    const auto numeroInStile = [this](std::size_t dove, double valore) {
        return TestoValore(valore, g_->StileData(record_.U16(dove)), g_->Sistema1904);
    };
    switch (tipo) {
    case xls::Number:
        if (record_.Lunghezza() < 14)
            record_.Danneggiato();
        Metti(riga, colonna, numeroInStile(4, Double(record_.Dati() + 6)));
        break;
    case xls::Rk:
        Metti(riga, colonna, numeroInStile(4, ValoreRk(record_.U32(6))));
        break;
    case xls::MulRk: {
        // Column of the first, then a format and a number for each, then the last column.
        const std::size_t quante = record_.Lunghezza() >= 6 ? (record_.Lunghezza() - 6) / 6 : 0;
        if (quante == 0)
            record_.Danneggiato();
        for (std::size_t k = 0; k < quante && colonna + static_cast<int>(k) < colonne_; ++k)
            Metti(riga, colonna + static_cast<int>(k), numeroInStile(4 + 6 * k, ValoreRk(record_.U32(6 + 6 * k))));
        break;
    }
    case xls::LabelSst: {
        if (colonna >= colonne_)
            break;
        auto testo = g_->Testo(record_.U32(6));
        if (!testo)
            record_.Danneggiato();
        Metti(riga, colonna, std::move(*testo));
        break;
    }
    case xls::Label:
    case xls::RString:
        if (colonna < colonne_) {
            XlsContinuo dati(record_, 6);
            Metti(riga, colonna, Testo(dati));
        }
        break;
    case xls::BoolErr:
        if (record_.Lunghezza() < 8)
            record_.Danneggiato();
        if (record_.Dati()[7] != 0)
            Metti(riga, colonna, TestoErrore(record_.Dati()[6]));
        else
            Metti(riga, colonna, record_.Dati()[6] ? QStringLiteral("VERO") : QStringLiteral("FALSO"));
        break;
    case xls::Formula:
    case xls::Formula3:
    case xls::Formula4: {
        // The cached result: a number, or a kind in its first byte when the last two are
        // FFFF (text in the STRING record that follows, boolean, error, empty text).
        if (record_.Lunghezza() < 14)
            record_.Danneggiato();
        const unsigned char* r = record_.Dati() + 6;
        if (r[6] != 0xFF || r[7] != 0xFF) {
            Metti(riga, colonna, numeroInStile(4, Double(r)));
        } else if (r[0] == 0) {
            colonnaStringa_ = colonna;
        } else if (r[0] == 1) {
            Metti(riga, colonna, r[2] ? QStringLiteral("VERO") : QStringLiteral("FALSO"));
        } else if (r[0] == 2) {
            Metti(riga, colonna, TestoErrore(r[2]));
        }
        break;
    }
    default:   // BLANK and MULBLANK: formatted empty cells; their row is there
        break;
    }
    return true;
}

bool XlsSheetReader::Prossima(SheetRow& riga)
{
    bool iniziata = false;
    while (!fine_) {
        if (!record_.Prossimo())
            record_.Danneggiato();   // the stream ends inside the sheet
        const std::uint16_t tipo = record_.Tipo();
        if (tipo == xls::Bof) {
            ++annidati_;
        } else if (tipo == xls::Eof) {
            if (annidati_ == 0)
                fine_ = true;
            else
                --annidati_;
        } else if (annidati_ == 0 && !Cella(riga, iniziata)) {
            // The first cell of the next row: read again at the next call.
            record_.Rimetti();
            return true;
        }
    }
    return iniziata;
}

} // namespace quercino::sheets
