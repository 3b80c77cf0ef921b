// Deflate streams as the inflate tests make them: zlib at each level and strategy, and our
// own Flate encoder, over text, a run and random bytes (the zlib header taken off).

#include "fuzz/FuzzHarness.h"
#include "pdf/core/deflate/FlateEncoder.h"

#include <zlib.h>

#include <random>

namespace quercino::fuzz {

namespace {

std::string Grezzi(const tavlo::Bytes& zlib)
{
    return zlib.size() > 6 ? std::string(zlib.begin() + 2, zlib.end() - 4) : std::string();
}

tavlo::Bytes Zlib(const tavlo::Bytes& dati, int livello, int strategia)
{
    z_stream z{};
    deflateInit2(&z, livello, Z_DEFLATED, 15, 8, strategia);
    tavlo::Bytes uscita(deflateBound(&z, static_cast<uLong>(dati.size())) + 16);
    z.next_in = const_cast<Bytef*>(dati.data());
    z.avail_in = static_cast<uInt>(dati.size());
    z.next_out = uscita.data();
    z.avail_out = static_cast<uInt>(uscita.size());
    deflate(&z, Z_FINISH);
    uscita.resize(z.total_out);
    deflateEnd(&z);
    return uscita;
}

} // namespace

bool GeneraSemi(const std::filesystem::path& cartella)
{
    std::string testo;
    for (int i = 0; i < 60; ++i)
        testo += "BT /F1 12 Tf 72 " + std::to_string(700 - i * 11) + " Td (Riga " + std::to_string(i) + ") Tj ET\n";
    std::mt19937 caso(7);
    tavlo::Bytes casuali(3000);
    for (auto& b : casuali)
        b = static_cast<std::uint8_t>(caso());
    const std::pair<const char*, tavlo::Bytes> dati[] = {
        {"testo", tavlo::Bytes(testo.begin(), testo.end())},
        {"serie", tavlo::Bytes(5000, 'A')},
        {"casuali", casuali},
    };
    bool scritti = true;
    for (const auto& [nome, byte] : dati) {
        const std::string base = nome;
        for (const int livello : {0, 1, 6, 9})
            scritti = ScriviSeme(cartella, base + "_zlib" + std::to_string(livello), Grezzi(Zlib(byte, livello, Z_DEFAULT_STRATEGY))) && scritti;
        scritti = ScriviSeme(cartella, base + "_fissi", Grezzi(Zlib(byte, 6, Z_FIXED))) && scritti;
        scritti = ScriviSeme(cartella, base + "_huffman", Grezzi(Zlib(byte, 6, Z_HUFFMAN_ONLY))) && scritti;
        scritti = ScriviSeme(cartella, base + "_rle", Grezzi(Zlib(byte, 6, Z_RLE))) && scritti;
        for (const int livello : {0, 3, 5})
            scritti = ScriviSeme(cartella, base + "_flate" + std::to_string(livello), Grezzi(tavlo::deflate::FlateEncode(byte, livello))) && scritti;
    }
    return scritti;
}

} // namespace quercino::fuzz
