#include "platform/sheets/OdsWorkbook.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

namespace quercino::sheets {

namespace {

constexpr std::uint64_t MassimoManifesto = 16u << 20;
// Sheet names are kept to this many characters: a file of many sheets with endless names
// cannot fill memory with them.
constexpr qsizetype MassimoNome = 255;

[[noreturn]] void NonFoglio(const QString& percorso)
{
    throw SheetError(QStringLiteral("Il file %1 non è un foglio di calcolo OpenDocument (.ods) leggibile.").arg(percorso));
}

XmlPullParser ParserSu(const std::string& testo, std::size_t& letti, OrigineXml origine)
{
    return XmlPullParser(
        [&testo, &letti](char* d, std::size_t n) {
            const std::size_t k = std::min(n, testo.size() - letti);
            std::copy_n(testo.data() + letti, k, d);
            letti += k;
            return k;
        },
        odf::Spazi(), std::move(origine));
}

// Whether the manifest says content.xml is encrypted (a file saved with a password).
bool ContenutoCifrato(const ZipArchive& archivio)
{
    const auto voce = archivio.Trova("META-INF/manifest.xml");
    if (!voce)
        return false;
    const std::string testo = archivio.Leggi(*voce, MassimoManifesto);
    std::size_t letti = 0;
    XmlPullParser xml = ParserSu(testo, letti, {voce->Nome, archivio.Percorso()});
    int profVoce = 0;
    bool contenuto = false;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo()) {
        if (e == XmlPullParser::Evento::Inizio) {
            if (profVoce == 0 && xml.E(odf::Manifesto, "file-entry")) {
                profVoce = xml.Profondita();
                const auto percorso = xml.Attributo(odf::Manifesto, "full-path").value_or("");
                contenuto = percorso == "content.xml" || percorso == "/content.xml" || percorso == "./content.xml";
            } else if (contenuto && xml.Profondita() == profVoce + 1 && xml.E(odf::Manifesto, "encryption-data")) {
                return true;
            }
        } else if (e == XmlPullParser::Evento::Fine && xml.Profondita() == profVoce) {
            profVoce = 0;
            contenuto = false;
        }
    }
    return false;
}

} // namespace

OdsWorkbook::OdsWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio)
    : percorso_(percorso), archivio_(std::move(archivio))
{
    // A text document or a drawing names opendocument too.
    const auto tipo = archivio_->Trova("mimetype");
    if (!tipo || !archivio_->Leggi(*tipo, 4096).starts_with("application/vnd.oasis.opendocument.spreadsheet"))
        NonFoglio(percorso);
    const auto contenuto = archivio_->Trova("content.xml");
    if (!contenuto)
        NonFoglio(percorso);
    if (ContenutoCifrato(*archivio_))
        throw SheetError(QStringLiteral("Il file %1 è protetto da password: toglierne la protezione e ripetere.").arg(percorso));
    if (contenuto->Dimensione > MassimoContenuto)
        throw SheetError(QStringLiteral("Il file %1 contiene una parte troppo grande per essere letta.").arg(percorso));
    LeggiStili();
    LeggiStruttura(*contenuto);
    stili_.Concludi();
}

void OdsWorkbook::LeggiStili()
{
    const auto voce = archivio_->Trova("styles.xml");
    if (!voce)
        return;
    auto flusso = archivio_->Apri(*voce);
    XmlPullParser xml([&flusso](char* d, std::size_t n) { return flusso->Leggi(d, n); }, odf::Spazi(),
                      {voce->Nome, archivio_->Percorso()});
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        stili_.Visita(xml, e, false);
}

// The sheets are the tables directly inside <office:spreadsheet>, but for the scenarios,
// which a spreadsheet program keeps as tables of their own and shows as no tab.
void OdsWorkbook::LeggiStruttura(const ZipEntry& contenuto)
{
    auto flusso = archivio_->Apri(contenuto);
    XmlPullParser xml([&flusso](char* d, std::size_t n) { return flusso->Leggi(d, n); }, odf::Spazi(),
                      {contenuto.Nome, archivio_->Percorso()});
    bool spreadsheet = false;
    int profSpreadsheet = 0;
    int profTabella = 0;
    Foglio tabella;
    std::shared_ptr<const Legami> spazi;
    bool scenario = false;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo()) {
        if (profSpreadsheet == 0)
            stili_.Visita(xml, e, true);
        if (e == XmlPullParser::Evento::Inizio) {
            const int profondita = xml.Profondita();
            if (profSpreadsheet == 0) {
                if (xml.E(odf::Office, "spreadsheet")) {
                    profSpreadsheet = profondita;
                    spreadsheet = true;
                }
            } else if (profTabella == 0) {
                if (profondita == profSpreadsheet + 1 && xml.E(odf::Tabella, "table")) {
                    profTabella = profondita;
                    const auto nome = xml.Attributo(odf::Tabella, "name").value_or("");
                    tabella.Nome = QString::fromUtf8(nome.data(), static_cast<qsizetype>(nome.size())).left(MassimoNome);
                    tabella.Inizio = xml.InizioTag();
                    // Nearly always the same declarations, those of the root, for every sheet.
                    Legami legami = xml.LegamiInVigore();
                    if (!spazi || *spazi != legami)
                        spazi = std::make_shared<const Legami>(std::move(legami));
                    tabella.Spazi = spazi;
                    scenario = false;
                }
            } else if (profondita == profTabella + 1 && xml.E(odf::Tabella, "scenario")) {
                scenario = true;
            }
        } else if (e == XmlPullParser::Evento::Fine) {
            if (xml.Profondita() == profTabella) {
                profTabella = 0;
                if (!scenario) {
                    if (fogli_.size() == MassimoFogli)
                        throw SheetError(QStringLiteral("Il file %1 ha più fogli di quanti un foglio di calcolo ne possa avere.")
                                             .arg(percorso_));
                    fogli_.push_back(tabella);
                }
            } else if (xml.Profondita() == profSpreadsheet) {
                profSpreadsheet = 0;
            }
        }
    }
    if (!spreadsheet)
        NonFoglio(percorso_);
}

QString OdsWorkbook::NomeFoglio(int indice) const
{
    return indice >= 1 && indice <= NumeroFogli() ? fogli_[static_cast<std::size_t>(indice) - 1].Nome : QString();
}

std::unique_ptr<SheetReader> OdsWorkbook::ApriFoglio(int indice, int colonne) const
{
    if (indice < 1 || indice > NumeroFogli())
        throw SheetError(QStringLiteral("La cartella di lavoro %1 non ha il foglio numero %2.").arg(percorso_).arg(indice));
    const QString danneggiato = QStringLiteral("Il foglio numero %1 della cartella di lavoro %2 manca o è danneggiato.").arg(indice).arg(percorso_);
    return std::make_unique<OdsSheetReader>(CursoreA(fogli_[static_cast<std::size_t>(indice) - 1], danneggiato), stili_, colonne,
                                            [this](std::unique_ptr<CursoreOds> cursore) { libero_ = std::move(cursore); });
}

// A cursor that has just read the <table:table> start at `inizio`: the one a sheet read before
// left, when it stopped before that point; otherwise a new one. content.xml was read through,
// and its length and CRC checked, when the workbook was opened: no row of it is used before
// that, and it need not be read through again.
std::unique_ptr<CursoreOds> OdsWorkbook::CursoreA(const Foglio& foglio, const QString& danneggiato) const
{
    const std::uint64_t inizio = foglio.Inizio;
    if (libero_ && libero_->Posizione() <= inizio) {
        std::unique_ptr<CursoreOds> cursore = std::move(libero_);
        for (;;) {
            const auto e = cursore->xml.Prossimo();
            if (e == XmlPullParser::Evento::FineDocumento)
                break;
            const bool tag = e != XmlPullParser::Evento::Testo;
            if (tag ? cursore->InizioTag() >= inizio : cursore->Posizione() > inizio) {
                if (e == XmlPullParser::Evento::Inizio && cursore->InizioTag() == inizio && cursore->xml.E(odf::Tabella, "table"))
                    return cursore;
                break;
            }
        }
    }
    const auto contenuto = archivio_->Trova("content.xml");
    if (!contenuto)
        throw SheetError(danneggiato);
    auto cursore = std::make_unique<CursoreOds>(archivio_->Apri(*contenuto), OrigineXml{contenuto->Nome, archivio_->Percorso()});
    std::vector<char> scarto(1 << 16);
    for (std::uint64_t saltati = 0; saltati < inizio;) {
        const std::size_t n = cursore->flusso->Leggi(scarto.data(), static_cast<std::size_t>(std::min<std::uint64_t>(scarto.size(), inizio - saltati)));
        if (n == 0)
            throw SheetError(danneggiato);
        saltati += n;
    }
    cursore->base = inizio;
    if (foglio.Spazi)
        cursore->xml.Presupponi(*foglio.Spazi);
    if (cursore->xml.Prossimo() != XmlPullParser::Evento::Inizio || !cursore->xml.E(odf::Tabella, "table"))
        throw SheetError(danneggiato);
    return cursore;
}

} // namespace quercino::sheets
