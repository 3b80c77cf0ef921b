#include "platform/sheets/XlsbSheetReader.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsbCellText.h"
#include "platform/sheets/XlsxSharedStrings.h"

namespace quercino::sheets {

namespace {

constexpr std::uint32_t RighePerFoglio = 1048576;
constexpr std::uint32_t ColonnePerFoglio = 16384;
// Blocks nest a level or two; a part that opens them without end is damaged.
constexpr std::size_t MassimiBlocchi = 64;

bool Cella(std::uint32_t tipo)
{
    return (tipo >= brt::CellBlank && tipo <= brt::ShortIsst) || tipo == brt::CellRString;
}

// What the format places beside a cell (its metadata, the shared or array formula it
// belongs to, a data table): nothing the import reads.
bool AccantoAllaCella(std::uint32_t tipo)
{
    return tipo == brt::CellMeta || tipo == brt::ValueMeta || tipo == brt::ArrFmla || tipo == brt::ShrFmla || tipo == brt::Table;
}

} // namespace

XlsbSheetReader::XlsbSheetReader(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, std::string file,
                                 const XlsbSharedStrings& testi, const XlsbStyles& stili, bool sistema1904, int colonne)
    : record_(std::move(flusso), std::move(nomeParte), std::move(file)), testi_(testi), stili_(stili), sistema1904_(sistema1904),
      colonne_(colonne)
{
}

void XlsbSheetReader::NuovaRiga(SheetRow& riga, std::int32_t numero)
{
    riga.Numero = numero;
    ultimaColonna_ = -1;
    // The vector's strings are reused: only those set are cleared.
    riga.Celle.resize(static_cast<std::size_t>(colonne_));
    for (QString& cella : riga.Celle)
        if (!cella.isNull())
            cella = QString();
}

QString XlsbSheetReader::ValoreCella(std::uint32_t tipo, CampiRecord& campi, std::uint32_t stile)
{
    switch (tipo) {
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
            throw ErroreParte(record_.Parte(), record_.File(), QStringLiteral("fa riferimento a un testo che la cartella di lavoro non contiene."));
        return std::move(*testo);
    }
    default:
        return {};
    }
}

bool XlsbSheetReader::Blocco(std::uint32_t tipo)
{
    if (tipo == brt::FRTBegin || tipo == brt::ACBegin) {
        if (blocchi_.size() == MassimiBlocchi)
            record_.Danneggiata();
        blocchi_.push_back(tipo);
        return true;
    }
    if (tipo == brt::FRTEnd || tipo == brt::ACEnd) {
        if (blocchi_.empty() || blocchi_.back() != (tipo == brt::FRTEnd ? brt::FRTBegin : brt::ACBegin))
            record_.Danneggiata();
        blocchi_.pop_back();
        return true;
    }
    return false;
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
        // Future records and alternate content: what is in them is for the programs that
        // know it, and no cell of the sheet.
        if (Blocco(tipo) || !blocchi_.empty())
            continue;
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
        if (AccantoAllaCella(tipo))
            continue;
        // A record the sheet's data cannot hold: the part is damaged.
        if (!Cella(tipo) || !dentroRiga)
            record_.Danneggiata();
        CampiRecord campi(record_);
        // The short forms have no column: theirs is the one after the last cell's. The first
        // cell of a row has no cell before it; one in the short form has no column at all.
        const bool corta = tipo >= brt::ShortBlank && tipo <= brt::ShortIsst;
        if (corta && ultimaColonna_ < 0)
            record_.Danneggiata();
        const std::int64_t colonna = corta ? ultimaColonna_ + 1 : campi.U32();
        const std::uint32_t stile = campi.U32() & 0xFFFFFFu;
        if (colonna >= ColonnePerFoglio)
            record_.Danneggiata();
        ultimaColonna_ = colonna;
        if (colonna < colonne_)
            riga.Celle[static_cast<std::size_t>(colonna)] = ValoreCella(corta ? tipo - (brt::ShortBlank - brt::CellBlank) : tipo, campi, stile);
    }
    // The part ended before the end of the sheet's data: it was cut.
    if (dentroDati_ || !iniziato_)
        throw ErroreParte(record_.Parte(), record_.File(), QStringLiteral("è troncata."));
    finito_ = true;
    return false;
}

} // namespace quercino::sheets
