#pragma once
// An OpenDocument spreadsheet (.ods) opened for reading its sheets in tab order. The sheets
// are the tables of content.xml, which is read through once here to find where each begins
// (and so has its length and CRC checked before any row is used); its cells carry their
// value type, so of the styles only those that show numbers as true/false are needed.
// Sheets read in order go on from where the one before stopped: content.xml is inflated
// once more in all, not once for each sheet.

#include "platform/sheets/OdsSheetReader.h"
#include "platform/sheets/OdsStyles.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quercino::sheets {

class OdsWorkbook final : public Workbook {
public:
    // content.xml past this size is refused unread: a 300,000-row sheet takes about 550 MB.
    static constexpr std::uint64_t MassimoContenuto = std::uint64_t{4} << 30;
    // The most sheets a spreadsheet program keeps in one file.
    static constexpr std::size_t MassimoFogli = 10'000;

    // The spreadsheet of an archive already opened from percorso (ApriCartella opens it).
    // Throws SheetError with a message for the user when the file cannot be read.
    OdsWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio);

    int NumeroFogli() const override { return static_cast<int>(fogli_.size()); }
    QString NomeFoglio(int indice) const override;
    std::unique_ptr<SheetReader> ApriFoglio(int indice, int colonne) const override;

private:
    using Legami = std::vector<std::pair<std::string, int>>;
    struct Foglio {
        QString Nome;
        std::uint64_t Inizio = 0;       // offset of its <table:table> in content.xml
        // The namespaces declared around it, for a parser that begins there.
        std::shared_ptr<const Legami> Spazi;
    };

    void LeggiStili();
    void LeggiStruttura(const ZipEntry& contenuto);
    std::unique_ptr<CursoreOds> CursoreA(const Foglio& foglio, const QString& danneggiato) const;

    QString percorso_;
    std::unique_ptr<ZipArchive> archivio_;
    std::vector<Foglio> fogli_;
    OdsStyles stili_;
    // Where the last sheet read stopped (after archivio_, whose file it reads).
    mutable std::unique_ptr<CursoreOds> libero_;
};

} // namespace quercino::sheets
