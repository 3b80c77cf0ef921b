#include "platform/sheets/XlsVerifica.h"

#include "platform/sheets/XlsRegole.h"

namespace quercino::sheets {

namespace {

// A text of a record, with the length field its version gives it, passed over.
void SaltaTesto(XlsContinuo& dati, int versione, bool lunghezzaDueByte)
{
    const std::uint32_t caratteri = lunghezzaDueByte ? dati.U16() : dati.U8();
    if (versione == 8) {
        SaltaTestoXls(dati, caratteri, false);
    } else {
        std::string nessuno;
        dati.Byte(caratteri, nessuno, 0);
    }
}

// The record, from `inizio` on, holds that text and nothing after it (its CONTINUE records
// included).
void SoloTesto(XlsRecords& r, std::size_t inizio, int versione, bool lunghezzaDueByte)
{
    XlsContinuo dati(r, inizio);
    SaltaTesto(dati, versione, lunghezzaDueByte);
    if (!dati.Finito())
        r.Danneggiato();
}

void Ammesso(XlsRecords& r, xls::Parte parte, int versione)
{
    if (!xls::Noto(r.Tipo(), parte) || !xls::LunghezzaAmmessa(r.Tipo(), r.Lunghezza(), r.Dati(), versione))
        r.Danneggiato();
}

// A record of several cells of one row: its first column, one field of `passo` bytes for
// each, its last column.
void Serie(const XlsRecords& r, std::size_t passo)
{
    const std::size_t quante = (r.Lunghezza() - 6) / passo;
    const std::uint16_t prima = r.U16(2);
    const std::uint16_t ultima = r.U16(r.Lunghezza() - 2);
    if (quante == 0 || ultima != prima + quante - 1 || ultima > 0xFF)
        r.Danneggiato();
}

// A formula's tokens lie within the record; its cached result may be a text that the next
// STRING record gives (after a shared formula, array or table the formula stands for, and
// the mark of a sheet not calculated).
bool Formula(const XlsRecords& r)
{
    const std::size_t n = r.Lunghezza();
    // Under the numbers of Excel 3.0 and 4.0 it may also have their shorter form, without
    // the 4 bytes before the tokens' length.
    const bool lunga = n >= 22 && 22u + r.U16(20) <= n;
    const bool corta = r.Tipo() != xls::Formula && 18u + r.U16(16) <= n;
    if (!lunga && !corta)
        r.Danneggiato();
    const unsigned char* risultato = r.Dati() + 6;
    return risultato[6] == 0xFF && risultato[7] == 0xFF && risultato[0] == 0;
}

} // namespace

void VerificaGlobale(XlsRecords& r, int versione, std::uint16_t precedente)
{
    Ammesso(r, xls::Parte::Globali, versione);
    switch (r.Tipo()) {
    case xls::Continue:
        if (!xls::Continuabile(precedente, versione))
            r.Danneggiato();
        break;
    case xls::Bof:
        r.Danneggiato();   // the globals hold no other part
    case xls::Font:
        SoloTesto(r, 14, versione, false);
        break;
    case xls::Style:
        // A built-in style is named by its number, any other by a text.
        if ((r.U16(0) & 0x8000) != 0) {
            if (r.Lunghezza() != 4)
                r.Danneggiato();
        } else {
            SoloTesto(r, 2, versione, versione == 8);
        }
        break;
    default:
        break;
    }
}

void VerificaFoglio(const XlsGlobali& g, const XlsGlobali::Foglio& foglio, const QString& danneggiato)
{
    const int versione = g.Versione;
    CompoundStreamReader flusso(*g.File, g.Flusso);
    XlsRecords r(flusso, danneggiato, xls::LunghezzaMassima(versione));
    if (foglio.Posizione >= flusso.Dimensione())
        r.Danneggiato();
    flusso.Vai(foglio.Posizione);
    if (!r.Prossimo() || r.Tipo() != xls::Bof)
        r.Danneggiato();
    Ammesso(r, xls::Parte::Foglio, versione);
    if (r.U16(2) != 0x0010)
        r.Danneggiato();

    int annidati = 0;                 // parts (charts) inside the sheet
    std::uint16_t precedente = xls::Bof;
    int ultimaRiga = -1;
    bool stringaAttesa = false;       // a formula whose text the next STRING record gives
    for (;;) {
        if (!r.Prossimo())
            r.Danneggiato();          // the stream ends inside the sheet
        const std::uint16_t tipo = r.Tipo();
        if (annidati > 0) {
            Ammesso(r, xls::Parte::Annidata, versione);
            if (tipo == xls::Bof && ++annidati > 8)
                r.Danneggiato();
            if (tipo == xls::Eof)
                --annidati;
            precedente = tipo;
            continue;
        }
        Ammesso(r, xls::Parte::Foglio, versione);
        if (stringaAttesa && tipo != xls::String && tipo != xls::ShrFmla && tipo != xls::Array && tipo != xls::Table
            && tipo != xls::Uncalced)
            r.Danneggiato();
        if (tipo == xls::Eof)
            break;
        if (xls::Cella(tipo)) {
            const int riga = r.U16(0);
            if (riga < ultimaRiga || r.U16(2) > 0xFF)
                r.Danneggiato();
            ultimaRiga = riga;
        }
        switch (tipo) {
        case xls::Bof:
            if (r.U16(2) != 0x0020)   // only a chart stands inside a worksheet
                r.Danneggiato();
            annidati = 1;
            break;
        case xls::Continue:
            if (!xls::Continuabile(precedente, versione))
                r.Danneggiato();
            break;
        case xls::String: {
            if (!stringaAttesa)
                r.Danneggiato();
            stringaAttesa = false;
            SoloTesto(r, 0, versione, true);
            break;
        }
        case xls::Header:
        case xls::Footer:
            if (r.Lunghezza() > 0)
                SoloTesto(r, 0, versione, versione == 8);
            break;
        case xls::Selection:
            if (r.Lunghezza() != 9u + 6u * r.U16(7))
                r.Danneggiato();
            break;
        case xls::MergeCells:
            if (r.Lunghezza() != 2u + 8u * r.U16(0))
                r.Danneggiato();
            break;
        case 0x001A:   // page breaks
        case 0x001B:
            if (r.Lunghezza() != 2u + (versione == 8 ? 6u : 2u) * r.U16(0))
                r.Danneggiato();
            break;
        case xls::MulRk:
            Serie(r, 6);
            break;
        case xls::MulBlank:
            Serie(r, 2);
            break;
        case xls::LabelSst:
            if (r.U32(6) >= g.FiniTesti.size())
                r.Danneggiato();
            break;
        case xls::Label:
            SoloTesto(r, 6, versione, true);
            break;
        case xls::RString: {
            XlsContinuo dati(r, 6);
            SaltaTesto(dati, versione, true);
            // Then its formatting runs: a count and four bytes each (one and two in Excel 5.0/95).
            const std::uint32_t sequenze = versione == 8 ? dati.U16() : dati.U8();
            dati.Salta((versione == 8 ? 4ull : 2ull) * sequenze);
            if (!dati.Finito())
                r.Danneggiato();
            break;
        }
        case xls::Formula:
        case xls::Formula3:
        case xls::Formula4:
            stringaAttesa = Formula(r);
            break;
        default:
            break;
        }
        precedente = tipo;
    }

    // The next part of the stream begins right after. What follows the last part is no
    // sheet's (some programs pad the stream).
    if (flusso.Posizione() != foglio.Fine && foglio.Fine != flusso.Dimensione())
        r.Danneggiato();
}

} // namespace quercino::sheets
