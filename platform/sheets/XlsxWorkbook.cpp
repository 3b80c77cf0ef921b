#include "platform/sheets/XlsxWorkbook.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

#include <map>

namespace quercino::sheets {

namespace {

constexpr std::uint64_t MassimoParteStruttura = 16u << 20;

struct Relazione {
    std::string Destinazione;
    std::string Tipo;
};

bool FiniscePer(const std::string& s, std::string_view coda)
{
    return s.size() >= coda.size() && s.compare(s.size() - coda.size(), coda.size(), coda) == 0;
}

std::string CartellaDi(const std::string& parte)
{
    const auto barra = parte.rfind('/');
    return barra == std::string::npos ? std::string() : parte.substr(0, barra + 1);
}

std::map<std::string, Relazione> LeggiRelazioni(const ZipArchive& archivio, const std::string& parte)
{
    std::map<std::string, Relazione> relazioni;
    const std::string cartella = CartellaDi(parte);
    const std::string nome = parte.substr(cartella.size());
    const auto voce = archivio.Trova(cartella + "_rels/" + nome + ".rels");
    if (!voce)
        return relazioni;
    const std::string testo = archivio.Leggi(*voce, MassimoParteStruttura);
    std::size_t letti = 0;
    XmlPullParser xml([&](char* d, std::size_t n) {
        const std::size_t k = std::min(n, testo.size() - letti);
        std::copy_n(testo.data() + letti, k, d);
        letti += k;
        return k;
    });
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo()) {
        if (e == XmlPullParser::Evento::Inizio && xml.Nome() == "Relationship") {
            const auto id = xml.Attributo("Id");
            const auto destinazione = xml.Attributo("Target");
            if (id && destinazione && xml.Attributo("TargetMode").value_or("") != "External")
                relazioni[*id] = {RisolviParte(cartella, *destinazione), xml.Attributo("Type").value_or("")};
        }
    }
    return relazioni;
}

[[noreturn]] void NonCartella(const QString& percorso)
{
    throw SheetError(QStringLiteral("Il file %1 non è una cartella di lavoro Excel (.xlsx o .xlsm) leggibile.").arg(percorso));
}

} // namespace

std::string RisolviParte(const std::string& cartella, const std::string& destinazione)
{
    std::string base = destinazione.starts_with('/') ? std::string() : cartella;
    std::string resto = destinazione.starts_with('/') ? destinazione.substr(1) : destinazione;
    std::vector<std::string> pezzi;
    std::string tutto = base + resto;
    std::size_t inizio = 0;
    while (inizio <= tutto.size()) {
        const auto barra = tutto.find('/', inizio);
        const std::string pezzo = tutto.substr(inizio, barra == std::string::npos ? std::string::npos : barra - inizio);
        if (pezzo == "..") {
            if (!pezzi.empty())
                pezzi.pop_back();
        } else if (!pezzo.empty() && pezzo != ".") {
            pezzi.push_back(pezzo);
        }
        if (barra == std::string::npos)
            break;
        inizio = barra + 1;
    }
    std::string r;
    for (const auto& p : pezzi) {
        if (!r.empty())
            r += '/';
        r += p;
    }
    return r;
}

XlsxWorkbook::XlsxWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio)
    : percorso_(percorso), archivio_(std::move(archivio))
{
    std::string parteCartella;
    // The package's own relationships name the workbook part.
    {
        const auto voce = archivio_->Trova("_rels/.rels");
        if (!voce)
            NonCartella(percorso);
        auto relazioni = LeggiRelazioni(*archivio_, "");
        for (const auto& [id, r] : relazioni) {
            (void)id;
            if (FiniscePer(r.Tipo, "/officeDocument"))
                parteCartella = r.Destinazione;
        }
    }
    if (parteCartella.empty())
        NonCartella(percorso);
    if (FiniscePer(parteCartella, ".bin"))
        throw SheetError(QStringLiteral("Il file %1 è una cartella di lavoro binaria di Excel (.xlsb): "
                                        "salvarla in formato .xlsx e ripetere.")
                             .arg(percorso));
    const auto voceCartella = archivio_->Trova(parteCartella);
    if (!voceCartella)
        NonCartella(percorso);

    const auto relazioni = LeggiRelazioni(*archivio_, parteCartella);
    for (const auto& [id, r] : relazioni) {
        (void)id;
        if (FiniscePer(r.Tipo, "/sharedStrings")) {
            if (const auto v = archivio_->Trova(r.Destinazione))
                testi_ = XlsxSharedStrings(*archivio_, *v);
        } else if (FiniscePer(r.Tipo, "/styles")) {
            if (const auto v = archivio_->Trova(r.Destinazione))
                stili_ = XlsxStyles(*archivio_, *v);
        }
    }

    const std::string testo = archivio_->Leggi(*voceCartella, MassimoParteStruttura);
    std::size_t letti = 0;
    XmlPullParser xml([&](char* d, std::size_t n) {
        const std::size_t k = std::min(n, testo.size() - letti);
        std::copy_n(testo.data() + letti, k, d);
        letti += k;
        return k;
    });
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo()) {
        if (e != XmlPullParser::Evento::Inizio)
            continue;
        if (xml.Nome() == "workbookPr") {
            const auto d = xml.Attributo("date1904").value_or("");
            sistema1904_ = d == "1" || d == "true";
        } else if (xml.Nome() == "sheet") {
            const auto id = xml.Attributo("id");
            const auto r = id ? relazioni.find(*id) : relazioni.end();
            // Chart sheets and dialog sheets are not worksheets.
            if (r != relazioni.end() && FiniscePer(r->second.Tipo, "/worksheet")) {
                const auto nome = xml.Attributo("name").value_or("");
                fogli_.push_back({QString::fromUtf8(nome.data(), static_cast<qsizetype>(nome.size())), r->second.Destinazione});
            }
        }
    }
}

QString XlsxWorkbook::NomeFoglio(int indice) const
{
    return indice >= 1 && indice <= NumeroFogli() ? fogli_[static_cast<std::size_t>(indice) - 1].Nome : QString();
}

std::unique_ptr<SheetReader> XlsxWorkbook::ApriFoglio(int indice, int colonne) const
{
    if (indice < 1 || indice > NumeroFogli())
        throw SheetError(QStringLiteral("La cartella di lavoro %1 non ha il foglio numero %2.").arg(percorso_).arg(indice));
    const auto voce = archivio_->Trova(fogli_[static_cast<std::size_t>(indice) - 1].Parte);
    if (!voce)
        throw SheetError(QStringLiteral("Il foglio numero %1 della cartella di lavoro %2 manca o è danneggiato.").arg(indice).arg(percorso_));
    return std::make_unique<XlsxSheetReader>(archivio_->ApriVerificato(*voce), testi_, stili_, sistema1904_, colonne);
}

} // namespace quercino::sheets
