#include "platform/sheets/XlsWorkbook.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsRecords.h"
#include "platform/sheets/XlsSheetReader.h"
#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxStyles.h"

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

// The shared strings, read from the SST record and its CONTINUE records. The count the
// record gives is not trusted: the table ends where its records end.
void LeggiTesti(XlsRecords& r, XlsGlobali& g, std::size_t memoria)
{
    const std::uint32_t dichiarati = r.U32(4);
    XlsContinuo dati(r, 8);
    for (std::uint32_t i = 0; i < dichiarati && !dati.Finito(); ++i) {
        const std::uint16_t caratteri = dati.U16();
        AggiungiTestoXls(dati, caratteri, true, g.Testi);
        g.FiniTesti.push_back(static_cast<std::uint32_t>(g.Testi.size()));
        // Empty texts cost memory too (four bytes each).
        if (g.Testi.size() * 2 + g.FiniTesti.size() * 4 > memoria || g.Testi.size() > UINT32_MAX - 65536)
            throw SheetError(QStringLiteral("La tabella dei testi della cartella di lavoro è troppo grande."));
    }
}

} // namespace

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
        throw SheetError(QStringLiteral("Il file %1 è una cartella di lavoro di una versione di Excel anteriore alla 5.0: "
                                        "salvarla in formato .xlsx e ripetere.")
                             .arg(percorso));
    if (r.Tipo() != xls::Bof || r.U16(2) != 0x0005)
        throw SheetError(Danneggiato(percorso));
    g.Versione = versione >= 0x0600 ? 8 : 5;
    const bool biff8 = g.Versione == 8;
    g.CodePage.Imposta(1252);

    std::map<std::uint16_t, bool> formati;   // format number: whether its code shows a date
    std::vector<std::uint16_t> stili;        // format number of each XF
    bool fine = false;
    while (!fine && r.Prossimo()) {
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
            QString codice;
            if (biff8) {
                XlsContinuo dati(r, 2);
                const std::uint16_t caratteri = dati.U16();
                codice = TestoXls(dati, caratteri, false);
            } else {
                XlsContinuo dati(r, 2);
                codice = Testo8Bit(dati, false, g.CodePage);
            }
            formati[r.U16(0)] = FormatoData(-1, codice.toStdString());
            break;
        }
        case xls::Xf:
            stili.push_back(r.U16(2));
            break;
        case xls::BoundSheet: {
            // Chart sheets, macro sheets and modules are not worksheets.
            if (r.Lunghezza() < 6)
                r.Danneggiato();
            if (r.Dati()[5] != 0)
                break;
            XlsContinuo dati(r, 6);
            QString nome;
            if (biff8) {
                const std::uint8_t caratteri = dati.U8();
                nome = TestoXls(dati, caratteri, false);
            } else {
                nome = Testo8Bit(dati, false, g.CodePage);
            }
            g.Fogli.push_back({nome, r.U32(0)});
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
    return std::make_unique<XlsSheetReader>(globali_, indice, colonne);
}

} // namespace quercino::sheets
