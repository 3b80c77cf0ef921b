#include "fuzz/FuzzHarness.h"
#include "fuzz/SemiCartelle.h"

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const auto lavoro = cartella / "lavoro";
    std::filesystem::create_directories(lavoro);
    bool scritti = true;
    for (const auto& [nome, byte] : CartelleDiProva(lavoro))
        scritti = ScriviSeme(cartella, nome, byte) && scritti;
    std::filesystem::remove_all(lavoro);
    return scritti;
}

} // namespace quercino::fuzz
