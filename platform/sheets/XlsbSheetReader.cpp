#include "platform/sheets/XlsbSheetReader.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsbCellText.h"
#include "platform/sheets/XlsxSharedStrings.h"

namespace quercino::sheets {

namespace {

constexpr std::uint32_t RighePerFoglio = 1048576;
constexpr std::uint32_t ColonnePerFoglio = 16384;

} // namespace

XlsbSheetReader::XlsbSheetReader(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, const XlsbSharedStrings& testi,
                                 const XlsbStyles& stili, bool sistema1904, int colonne)
    : record_(std::move(flusso), std::move(nomeParte)), testi_(testi), stili_(stili), sistema1904_(sistema1904), colonne_(colonne)
{
}

void XlsbSheetReader::NuovaRiga(SheetRow& riga, std::int32_t numero)
{
    riga.Numero = numero;
    // The vector's strings are reused: only those set are cleared.
    riga.Celle.resize(static_cast<std::size_t>(colonne_));
    for (QString& cella : riga.Celle)
        if (!cella.isNull())
            cella = QString();
}

QString XlsbSheetReader::ValoreCella(CampiRecord& campi, std::uint32_t stile)
{
    switch (record_.Tipo()) {
    case brt::CellBlank:
        return {};
    case brt::CellRk:
        return TestoValore(ValoreRk(campi.U32()), stili_.StileData(stile), sistema1904_);
    case brt::CellReal:
    case brt::FmlaNum:
        return TestoValore(campi.F64(), stili_.StileData(stile), sistema1904_);
    case brt::CellBool:
    case brt::FmlaBool:
        return campi.U8() ? QStringLiteral("VERO") : QStringLiteral("FALSO");
    case brt::CellError:
    case brt::FmlaError:
        return TestoErrore(campi.U8());
    case brt::CellSt:
    case brt::FmlaString:
        return campi.Stringa(MassimoCaratteriCella);
    case brt::CellRString:
        campi.U8();   // a RichStr's flags: its runs follow the text
        return campi.Stringa(MassimoCaratteriCella);
    case brt::CellIsst: {
        auto testo = testi_.Testo(campi.U32());
        if (!testo)
            throw SheetError(QStringLiteral("Il foglio fa riferimento a un testo che la cartella di lavoro non contiene."));
        return std::move(*testo);
    }
    default:
        return {};
    }
}

bool XlsbSheetReader::Prossima(SheetRow& riga)
{
    if (finito_)
        return false;
    bool dentroRiga = false;
    if (prossima_ > 0) {
        NuovaRiga(riga, prossima_);
        prossima_ = 0;
        dentroRiga = true;
    }
    while (record_.Prossimo()) {
        const std::uint32_t tipo = record_.Tipo();
        if (!iniziato_) {
            if (tipo != brt::BeginSheet)
                record_.Danneggiata();
            iniziato_ = true;
            continue;
        }
        if (!dentroDati_) {
            if (tipo == brt::BeginSheetData)
                dentroDati_ = true;
            continue;
        }
        if (tipo == brt::EndSheetData) {
            // What follows the data (views, merged cells, drawings) is nothing the import reads.
            finito_ = true;
            return dentroRiga;
        }
        if (tipo == brt::RowHdr) {
            CampiRecord campi(record_);
            const std::uint32_t indice = campi.U32();
            // Rows come in order, each once, within the sheet.
            if (indice >= RighePerFoglio || static_cast<std::int32_t>(indice) + 1 <= ultimaRiga_)
                record_.Danneggiata();
            ultimaRiga_ = static_cast<std::int32_t>(indice) + 1;
            if (dentroRiga) {
                prossima_ = ultimaRiga_;
                return true;
            }
            NuovaRiga(riga, ultimaRiga_);
            dentroRiga = true;
            continue;
        }
        const bool cella = tipo <= brt::FmlaError || tipo == brt::CellRString;
        if (!cella)
            continue;
        if (!dentroRiga)
            record_.Danneggiata();
        CampiRecord campi(record_);
        const std::uint32_t colonna = campi.U32();
        const std::uint32_t stile = campi.U32() & 0xFFFFFFu;
        if (colonna >= ColonnePerFoglio)
            record_.Danneggiata();
        if (static_cast<int>(colonna) < colonne_)
            riga.Celle[colonna] = ValoreCella(campi, stile);
    }
    // The part ended before the end of the sheet's data: it was cut.
    if (dentroDati_ || !iniziato_)
        throw SheetError(QStringLiteral("Il foglio è troncato."));
    finito_ = true;
    return false;
}

} // namespace quercino::sheets
