#include "fuzz/FuzzHarness.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <unistd.h>

namespace quercino::fuzz {

namespace {

// The scratch files of this process, removed when it ends.
struct FileDiLavoroAperti {
    std::map<std::string, std::filesystem::path> percorsi;
    ~FileDiLavoroAperti()
    {
        std::error_code ignorato;
        for (const auto& [estensione, percorso] : percorsi)
            std::filesystem::remove(percorso, ignorato);
    }
};

} // namespace

bool ScriviSeme(const std::filesystem::path& cartella, const std::string& nome, const std::string& byte)
{
    std::ofstream file(cartella / nome, std::ios::binary | std::ios::trunc);
    file.write(byte.data(), static_cast<std::streamsize>(byte.size()));
    return static_cast<bool>(file.flush());
}

std::string FileDiLavoro(const std::uint8_t* data, std::size_t size, const std::string& estensione)
{
    static FileDiLavoroAperti aperti;
    auto [voce, nuovo] = aperti.percorsi.try_emplace(estensione);
    if (nuovo)
        voce->second = std::filesystem::temp_directory_path()
                       / ("quercino-fuzz-" + std::to_string(::getpid()) + estensione);
    std::ofstream file(voce->second, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush())
        std::abort();   // a harness that cannot write its input tests nothing
    return voce->second.string();
}

} // namespace quercino::fuzz
