// Writes the program's manual, "Quercino - Manuale Completo.pdf", from its source text with
// the program's own PDF writer and the DejaVu fonts of the system, embedded.
// Usage: quercino_genera_manuale <Manuale.txt> <file PDF>

#include "tools/manuale/ImpaginaManuale.h"
#include "tools/manuale/TestoManuale.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;
using namespace quercino::manuale;

namespace {

// The font file of that name in the system's font folders.
std::string CercaFont(const std::string& nome)
{
    std::vector<fs::path> cartelle = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* casa = std::getenv("HOME"))
        cartelle.insert(cartelle.end(), {fs::path(casa) / ".local/share/fonts", fs::path(casa) / ".fonts"});
    for (const fs::path& cartella : cartelle) {
        std::error_code errore;
        for (fs::recursive_directory_iterator i(cartella, errore), fine; !errore && i != fine; i.increment(errore))
            if (i->path().filename() == nome && i->is_regular_file(errore))
                return i->path().string();
    }
    throw std::runtime_error("font " + nome + " non trovato nelle cartelle dei font del sistema "
                             "(/usr/share/fonts, /usr/local/share/fonts, ~/.local/share/fonts, ~/.fonts): "
                             "installare il pacchetto fonts-dejavu-core");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s <Manuale.txt> <file PDF>\n", argv[0]);
        return 2;
    }
    const std::string destinazione = argv[2];
    const std::string provvisorio = destinazione + ".provvisorio";
    try {
        const TestoManuale testo = LeggiTestoManuale(argv[1]);
        const FontManuale font{CercaFont("DejaVuSans.ttf"), CercaFont("DejaVuSans-Bold.ttf"),
                               CercaFont("DejaVuSansMono.ttf")};
        // The first run finds the pages the contents and the page numbers quote.
        const Impaginazione prima = ImpaginaManuale(testo, font, provvisorio, Impaginazione());
        const Impaginazione seconda = ImpaginaManuale(testo, font, provvisorio, prima);
        if (seconda.pagineTitoli != prima.pagineTitoli || seconda.pagine != prima.pagine)
            throw std::runtime_error("le pagine dei capitoli cambiano tra le due impaginazioni");
        // The earlier manual stays until the new one is whole.
        fs::rename(provvisorio, destinazione);
    } catch (const std::exception& errore) {
        std::error_code ignorato;
        fs::remove(provvisorio, ignorato);
        std::fprintf(stderr, "quercino_genera_manuale: %s\n", errore.what());
        return 1;
    }
    return 0;
}
