// The members of the test workbooks, read back with the zip reader, in the harness's form.

#include "fuzz/FuzzHarness.h"
#include "fuzz/SemiCartelle.h"
#include "platform/sheets/ZipArchive.h"

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const auto lavoro = cartella / "lavoro";
    std::filesystem::create_directories(lavoro);
    bool scritti = true;
    for (const auto& [nome, byte] : CartelleDiProva(lavoro)) {
        const auto file = lavoro / nome;
        if (!ScriviSeme(lavoro, nome, byte))
            return false;
        const sheets::ZipArchive archivio(file.string());
        std::string parti;
        for (const sheets::ZipEntry& voce : archivio.Voci())
            parti += voce.Nome + '\0' + archivio.Leggi(voce, 1 << 24) + '\0';
        scritti = ScriviSeme(cartella, nome + ".parti", parti) && scritti;
    }
    std::filesystem::remove_all(lavoro);
    return scritti;
}

} // namespace quercino::fuzz
