#include "fuzz/LetturaCartella.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/ZipArchive.h"
#include "platform/sheets/ZipEntryStream.h"

#include <array>

namespace quercino::fuzz {

namespace {

// The import reads 34 columns; a few more reach the cells beyond them.
constexpr int Colonne = 40;

void LeggiMembri(const std::string& percorso)
{
    try {
        const sheets::ZipArchive archivio(percorso);
        std::array<char, 1 << 16> buffer{};
        for (const sheets::ZipEntry& voce : archivio.Voci()) {
            try {
                auto flusso = archivio.Apri(voce);
                while (flusso->Leggi(buffer.data(), buffer.size()) > 0) {}
                archivio.Leggi(voce, 1 << 20);
            } catch (const sheets::SheetError&) {
                // a damaged member: the next one is read all the same
            }
        }
    } catch (const sheets::SheetError&) {
    }
}

} // namespace

void LeggiZipECartella(const std::string& percorso)
{
    LeggiMembri(percorso);
    try {
        const auto cartella = sheets::ApriCartella(QString::fromStdString(percorso));
        for (int foglio = 1; foglio <= cartella->NumeroFogli(); ++foglio) {
            (void)cartella->NomeFoglio(foglio);
            try {
                auto lettore = cartella->ApriFoglio(foglio, Colonne);
                sheets::SheetRow riga;
                while (lettore->Prossima(riga)) {}
            } catch (const sheets::SheetError&) {
            }
        }
    } catch (const sheets::SheetError&) {
    }
}

} // namespace quercino::fuzz
