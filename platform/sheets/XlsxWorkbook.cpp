#include "platform/sheets/XlsxWorkbook.h"

#include "platform/sheets/OpcPackage.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

namespace quercino::sheets {

namespace {

constexpr std::uint64_t MassimoParteStruttura = 16u << 20;

[[noreturn]] void NonCartella(const QString& percorso)
{
    throw NonCartellaLeggibile(percorso);
}

} // namespace

XlsxWorkbook::XlsxWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio)
    : percorso_(percorso), archivio_(std::move(archivio))
{
    if (!archivio_->Trova("_rels/.rels"))
        NonCartella(percorso);
    const std::string parteCartella = ParteDocumento(*archivio_);
    if (parteCartella.empty())
        NonCartella(percorso);
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

    const OrigineXml origine{voceCartella->Nome, archivio_->Percorso()};
    PerOgniElemento(archivio_->Leggi(*voceCartella, MassimoParteStruttura), origine, [&](const XmlPullParser& xml) {
        // Only the elements of the format: extensions may use the same local names.
        if (xml.E(ooxml::Foglio, "workbookPr")) {
            const auto d = xml.Attributo("date1904").value_or("");
            sistema1904_ = d == "1" || d == "true";
        } else if (xml.E(ooxml::Foglio, "sheet")) {
            const auto id = xml.Attributo(ooxml::Relazioni, "id");
            const auto r = id ? relazioni.find(*id) : relazioni.end();
            // Chart sheets and dialog sheets are not worksheets.
            if (r != relazioni.end() && FiniscePer(r->second.Tipo, "/worksheet")) {
                const auto nome = xml.Attributo("name").value_or("");
                fogli_.push_back({QString::fromUtf8(nome.data(), static_cast<qsizetype>(nome.size())), r->second.Destinazione});
            }
        }
    });
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
    return std::make_unique<XlsxSheetReader>(archivio_->ApriVerificato(*voce), OrigineXml{voce->Nome, archivio_->Percorso()}, testi_,
                                             stili_, sistema1904_, colonne);
}

} // namespace quercino::sheets
