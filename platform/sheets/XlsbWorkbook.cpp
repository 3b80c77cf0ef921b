#include "platform/sheets/XlsbWorkbook.h"

#include "platform/sheets/OpcPackage.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsbRecords.h"
#include "platform/sheets/XlsbSheetReader.h"

namespace quercino::sheets {

namespace {

// A tab name has at most 31 characters; a relationship id is short too.
constexpr qsizetype MassimoNome = 255;

} // namespace

XlsbWorkbook::XlsbWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio, const std::string& parteCartella)
    : percorso_(percorso), archivio_(std::move(archivio))
{
    const auto voceCartella = archivio_->Trova(parteCartella);
    if (!voceCartella)
        throw NonCartellaLeggibile(percorso);

    const auto relazioni = LeggiRelazioni(*archivio_, parteCartella);
    for (const auto& [id, r] : relazioni) {
        (void)id;
        if (FiniscePer(r.Tipo, "/sharedStrings")) {
            if (const auto v = archivio_->Trova(r.Destinazione))
                testi_ = XlsbSharedStrings(*archivio_, *v);
        } else if (FiniscePer(r.Tipo, "/styles")) {
            if (const auto v = archivio_->Trova(r.Destinazione))
                stili_ = XlsbStyles(*archivio_, *v);
        }
    }

    XlsbRecords record(archivio_->Apri(*voceCartella), voceCartella->Nome, archivio_->Percorso());
    if (!record.Prossimo() || record.Tipo() != brt::BeginBook)
        record.Danneggiata();
    while (record.Prossimo()) {
        if (record.Tipo() == brt::WbProp) {
            CampiRecord campi(record);
            sistema1904_ = (campi.U32() & 1u) != 0;
        } else if (record.Tipo() == brt::BundleSh) {
            CampiRecord campi(record);
            campi.U32();   // visible or hidden: a hidden sheet keeps its place
            campi.U32();   // the tab's id
            const std::string id = campi.StringaNullabile(MassimoNome).toStdString();
            const QString nome = campi.Stringa(MassimoNome);
            const auto r = relazioni.find(id);
            // Chart sheets and macro sheets are not worksheets.
            if (r != relazioni.end() && FiniscePer(r->second.Tipo, "/worksheet"))
                fogli_.push_back({nome, r->second.Destinazione});
        }
    }
}

QString XlsbWorkbook::NomeFoglio(int indice) const
{
    return indice >= 1 && indice <= NumeroFogli() ? fogli_[static_cast<std::size_t>(indice) - 1].Nome : QString();
}

std::unique_ptr<SheetReader> XlsbWorkbook::ApriFoglio(int indice, int colonne) const
{
    if (indice < 1 || indice > NumeroFogli())
        throw SheetError(QStringLiteral("La cartella di lavoro %1 non ha il foglio numero %2.").arg(percorso_).arg(indice));
    const auto voce = archivio_->Trova(fogli_[static_cast<std::size_t>(indice) - 1].Parte);
    if (!voce)
        throw SheetError(QStringLiteral("Il foglio numero %1 della cartella di lavoro %2 manca o è danneggiato.").arg(indice).arg(percorso_));
    return std::make_unique<XlsbSheetReader>(archivio_->ApriVerificato(*voce), voce->Nome, archivio_->Percorso(), testi_, stili_,
                                             sistema1904_, colonne);
}

} // namespace quercino::sheets
