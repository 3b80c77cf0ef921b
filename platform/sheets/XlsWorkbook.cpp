#include "platform/sheets/XlsWorkbook.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsRecords.h"
#include "platform/sheets/XlsRegole.h"
#include "platform/sheets/XlsSheetReader.h"
#include "platform/sheets/XlsVerifica.h"
#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxStyles.h"

#include <algorithm>
#include <map>

namespace quercino::sheets {

const std::size_t XlsWorkbook::MemoriaTesti = XlsxSharedStrings::MemoriaMassima;

namespace {

QString Danneggiato(const QString& percorso)
{
    return QStringLiteral("Il file %1 non è un archivio leggibile: è danneggiato o non è una cartella di lavoro Excel.").arg(percorso);
}

[[noreturn]] void ProtettaDaPassword(const QString& percorso)
{
    throw SheetError(QStringLiteral("Il file %1 è protetto da password: toglierne la protezione e ripetere.").arg(percorso));
}

// The shared strings, read from the SST record and its CONTINUE records: as many as the
// record says, ending where its records end.
void LeggiTesti(XlsRecords& r, XlsGlobali& g, std::size_t memoria)
{
    const std::uint32_t dichiarati = r.U32(4);
    XlsContinuo dati(r, 8);
    for (std::uint32_t i = 0; i < dichiarati; ++i) {
        const std::uint16_t caratteri = dati.U16();
        AggiungiTestoXls(dati, caratteri, true, g.Testi);
        g.FiniTesti.push_back(static_cast<std::uint32_t>(g.Testi.size()));
        // Empty texts cost memory too (four bytes each).
        if (g.Testi.size() * 2 + g.FiniTesti.size() * 4 > memoria || g.Testi.size() > UINT32_MAX - 65536)
            throw SheetError(QStringLiteral("La tabella dei testi della cartella di lavoro è troppo grande."));
    }
    if (!dati.Finito())
        r.Danneggiato();
}

// A text that ends its record, from `inizio` on.
QString TestoFinale(XlsRecords& r, std::size_t inizio, bool biff8, bool lunghezzaDueByte, const XlsCodePage& codePage)
{
    XlsContinuo dati(r, inizio);
    QString testo;
    if (biff8) {
        const std::uint16_t caratteri = lunghezzaDueByte ? dati.U16() : dati.U8();
        testo = TestoXls(dati, caratteri, false);
    } else {
        testo = Testo8Bit(dati, lunghezzaDueByte, codePage);
    }
    if (!dati.Finito())
        r.Danneggiato();
    return testo;
}

// A sheet as the globals list it, and what its own first records say it is.
struct Parte {
    QString Nome;
    std::uint32_t Posizione = 0;
    std::uint8_t TipoDichiarato = 0;   // 0 worksheet or dialog sheet, 1 macro sheet, 2 chart...
    bool Inizia = false;               // a BOF record stands at its position
    bool Foglio = false;               // a worksheet, to be read
};

// Whether a BOF record stands at the sheet's position, and whether it begins a worksheet:
// a dialog sheet begins as a worksheet does and says what it is in its WSBOOL record, before
// its first cell. A sheet whose beginning cannot be read is a worksheet when the globals say
// so, and its reading gives the message.
void Riconosci(CompoundStreamReader& flusso, int versione, Parte& p)
{
    p.Foglio = p.TipoDichiarato == 0;
    if (p.Posizione >= flusso.Dimensione())
        return;
    flusso.Vai(p.Posizione);
    XlsRecords r(flusso, QString(), xls::LunghezzaMassima(versione));
    try {
        if (!r.Prossimo() || r.Tipo() != xls::Bof || r.Lunghezza() < 4)
            return;
        p.Inizia = true;
        // Some programs write a worksheet under another kind in the globals: the sheet's own
        // BOF decides, as other spreadsheet programs read such files.
        p.Foglio = r.U16(2) == 0x0010;
        for (int letti = 0; p.Foglio && letti < 64 && r.Prossimo(); ++letti) {
            const std::uint16_t tipo = r.Tipo();
            // A damaged record ends the look: the sheet's reading gives the message.
            if (!xls::Noto(tipo, xls::Parte::Foglio) || !xls::LunghezzaAmmessa(tipo, r.Lunghezza(), r.Dati(), versione))
                break;
            if (tipo == xls::WsBool) {
                p.Foglio = (r.Dati()[0] & 0x10) == 0;
                break;
            }
            if (tipo == xls::Dimensions || tipo == xls::Row || tipo == xls::Bof || tipo == xls::Eof || xls::Cella(tipo))
                break;
        }
    } catch (const SheetError&) {
        // Damage past its BOF is found when the sheet is read.
    }
}

} // namespace

bool InizioExcelAnteriore(const QByteArray& inizio)
{
    if (inizio.size() < 8)
        return false;
    const auto u16 = [&](int i) { return static_cast<std::uint16_t>(static_cast<unsigned char>(inizio[i]) | (static_cast<unsigned char>(inizio[i + 1]) << 8)); };
    // BOF of Excel 2.1, 3.0 or 4.0: four or six bytes, then the kind of document.
    const std::uint16_t tipo = u16(0);
    const std::uint16_t lunghezza = u16(2);
    const std::uint16_t documento = u16(6);
    return (tipo == 0x0009 || tipo == 0x0209 || tipo == 0x0409) && lunghezza >= 4 && lunghezza <= 16
        && (documento == 0x0010 || documento == 0x0020 || documento == 0x0040 || documento == 0x0100);
}

SheetError ExcelAnteriore(const QString& percorso)
{
    return SheetError(QStringLiteral("Il file %1 è una cartella di lavoro di una versione di Excel anteriore alla 5.0: "
                                     "salvarla in formato .xlsx e ripetere.")
                          .arg(percorso));
}

std::optional<QString> XlsGlobali::Testo(std::uint32_t indice) const
{
    if (indice >= FiniTesti.size())
        return std::nullopt;
    const std::uint32_t inizio = indice == 0 ? 0 : FiniTesti[indice - 1];
    return QString(reinterpret_cast<const QChar*>(Testi.data() + inizio), static_cast<qsizetype>(FiniTesti[indice] - inizio));
}

XlsWorkbook::XlsWorkbook(const QString& percorso, std::size_t memoriaTesti) : globali_(std::make_shared<XlsGlobali>())
{
    XlsGlobali& g = *globali_;
    g.Percorso = percorso;
    g.File = std::make_unique<CompoundFile>(percorso.toStdString());
    // A workbook of Excel 2007 and later protected by a password is encrypted whole into
    // these streams.
    if (g.File->Esiste(u"EncryptedPackage") || g.File->Esiste(u"EncryptionInfo"))
        ProtettaDaPassword(percorso);
    auto flusso = g.File->Trova(u"Workbook");
    if (!flusso)
        flusso = g.File->Trova(u"Book");
    if (!flusso)
        throw SheetError(Danneggiato(percorso));
    g.Flusso = std::move(*flusso);

    CompoundStreamReader lettore(*g.File, g.Flusso);
    XlsRecords r(lettore, Danneggiato(percorso));
    if (!r.Prossimo())
        throw SheetError(Danneggiato(percorso));
    // Excel 2.1 to 4.0 wrote other beginnings (and no compound files, save Excel 4.0's
    // workbooks of sheets, which follow older rules).
    const std::uint16_t versione = r.Tipo() == xls::Bof ? r.U16(0) : 0;
    if (r.Tipo() == 0x0009 || r.Tipo() == 0x0209 || r.Tipo() == 0x0409 || (r.Tipo() == xls::Bof && versione < 0x0500))
        throw ExcelAnteriore(percorso);
    if (r.Tipo() != xls::Bof || r.U16(2) != 0x0005)
        throw SheetError(Danneggiato(percorso));
    g.Versione = versione >= 0x0600 ? 8 : 5;
    const bool biff8 = g.Versione == 8;
    if (!xls::LunghezzaAmmessa(r.Tipo(), r.Lunghezza(), r.Dati(), g.Versione))
        r.Danneggiato();
    r.LunghezzaMassima(xls::LunghezzaMassima(g.Versione));
    g.CodePage.Imposta(1252);

    std::map<std::uint16_t, bool> formati;   // format number: whether its code shows a date
    std::vector<std::uint16_t> stili;        // format number of each XF
    std::vector<Parte> parti;
    std::uint16_t precedente = xls::Bof;
    bool fine = false;
    while (!fine && r.Prossimo()) {
        VerificaGlobale(r, g.Versione, precedente);
        precedente = r.Tipo();
        switch (r.Tipo()) {
        case xls::FilePass:
            ProtettaDaPassword(percorso);
        case xls::CodePage:
            if (!biff8)
                g.CodePage.Imposta(r.U16(0));
            break;
        case xls::DateMode:
            g.Sistema1904 = r.U16(0) == 1;
            break;
        case xls::Format: {
            const std::uint16_t numero = r.U16(0);
            formati[numero] = FormatoData(-1, TestoFinale(r, 2, biff8, biff8, g.CodePage).toStdString());
            break;
        }
        case xls::Xf:
            stili.push_back(r.U16(2));
            break;
        case xls::BoundSheet: {
            Parte p;
            p.Posizione = r.U32(0);
            p.TipoDichiarato = r.Dati()[5];
            p.Nome = TestoFinale(r, 6, biff8, false, g.CodePage);
            parti.push_back(std::move(p));
            break;
        }
        case xls::Sst:
            if (biff8)
                LeggiTesti(r, g, memoriaTesti);
            break;
        case xls::Eof:
            fine = true;
            break;
        default:
            break;
        }
    }
    if (!fine)
        throw SheetError(Danneggiato(percorso));
    const std::uint64_t fineGlobali = lettore.Posizione();

    // Every part of the stream begins where the one before it ends, the sheets right after
    // the globals.
    // The sheets are looked at in the order of the stream, through one reader, each place
    // once: however many the globals list, the stream is read about once.
    std::vector<Parte*> inOrdine;
    for (Parte& p : parti)
        inOrdine.push_back(&p);
    std::stable_sort(inOrdine.begin(), inOrdine.end(), [](const Parte* a, const Parte* b) { return a->Posizione < b->Posizione; });
    std::vector<std::uint64_t> inizi;
    CompoundStreamReader fogli(*g.File, g.Flusso);
    for (std::size_t i = 0; i < inOrdine.size(); ++i) {
        Parte& p = *inOrdine[i];
        if (i > 0 && inOrdine[i - 1]->Posizione == p.Posizione && inOrdine[i - 1]->TipoDichiarato == p.TipoDichiarato) {
            p.Inizia = inOrdine[i - 1]->Inizia;
            p.Foglio = inOrdine[i - 1]->Foglio;
            continue;
        }
        Riconosci(fogli, g.Versione, p);
        if (p.Inizia && (inizi.empty() || inizi.back() != p.Posizione))
            inizi.push_back(p.Posizione);
    }
    if (!inizi.empty() && inizi.front() != fineGlobali)
        throw SheetError(Danneggiato(percorso));
    for (const Parte& p : parti) {
        if (!p.Foglio)
            continue;
        const auto dopo = std::upper_bound(inizi.begin(), inizi.end(), static_cast<std::uint64_t>(p.Posizione));
        g.Fogli.push_back({p.Nome, p.Posizione, dopo != inizi.end() ? *dopo : g.Flusso.Dimensione});
    }

    // A format the workbook defines decides by its code; the others are built in.
    g.StiliData.reserve(stili.size());
    for (const std::uint16_t formato : stili) {
        const auto proprio = formati.find(formato);
        g.StiliData.push_back(proprio != formati.end() ? proprio->second : FormatoData(formato, {}));
    }
}

QString XlsWorkbook::NomeFoglio(int indice) const
{
    return indice >= 1 && indice <= NumeroFogli() ? globali_->Fogli[static_cast<std::size_t>(indice) - 1].Nome : QString();
}

std::unique_ptr<SheetReader> XlsWorkbook::ApriFoglio(int indice, int colonne) const
{
    if (indice < 1 || indice > NumeroFogli())
        throw SheetError(QStringLiteral("La cartella di lavoro %1 non ha il foglio numero %2.").arg(globali_->Percorso).arg(indice));
    // The whole sheet is checked before any of its rows is used, as a zip member's CRC is.
    const QString danneggiato = QStringLiteral("Il foglio numero %1 della cartella di lavoro %2 manca o è danneggiato.")
                                    .arg(indice)
                                    .arg(globali_->Percorso);
    VerificaFoglio(*globali_, globali_->Fogli[static_cast<std::size_t>(indice) - 1], danneggiato);
    return std::make_unique<XlsSheetReader>(globali_, indice, colonne, danneggiato);
}

} // namespace quercino::sheets
