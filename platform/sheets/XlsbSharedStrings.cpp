#include "platform/sheets/XlsbSharedStrings.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsbRecords.h"
#include "platform/sheets/XlsxSharedStrings.h"

namespace quercino::sheets {

XlsbSharedStrings::XlsbSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima)
{
    // The ends are 32-bit: the table never holds 4 G characters.
    memoriaMassima = std::min<std::size_t>(memoriaMassima, UINT32_MAX);
    XlsbRecords record(archivio.Apri(voce), voce.Nome, archivio.Percorso());
    if (!record.Prossimo() || record.Tipo() != brt::BeginSst)
        record.Danneggiata();
    while (record.Prossimo()) {
        if (record.Tipo() != brt::SSTItem)
            continue;
        // A RichStr: its flags, then the text; formatting and phonetic runs follow, unread.
        CampiRecord campi(record);
        campi.U8();
        const QString testo = campi.Stringa(MassimoCaratteriCella);
        testi_.append(reinterpret_cast<const char16_t*>(testo.utf16()), static_cast<std::size_t>(testo.size()));
        fini_.push_back(static_cast<std::uint32_t>(testi_.size()));
        if (testi_.size() * sizeof(char16_t) + sizeof(std::uint32_t) * fini_.size() > memoriaMassima)
            throw SheetError(QStringLiteral("La tabella dei testi della cartella di lavoro %1 è troppo grande.")
                                 .arg(QString::fromStdString(archivio.Percorso())));
    }
}

std::optional<QString> XlsbSharedStrings::Testo(std::size_t indice) const
{
    if (indice >= fini_.size())
        return std::nullopt;
    const std::size_t inizio = indice == 0 ? 0 : fini_[indice - 1];
    return QString(reinterpret_cast<const QChar*>(testi_.data() + inizio), static_cast<qsizetype>(fini_[indice] - inizio));
}

} // namespace quercino::sheets
