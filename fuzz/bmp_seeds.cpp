// Bitmaps of every depth and compression the decoder reads, written by ImageMagick from
// the random pictures the image tests make.

#include "fuzz/FuzzHarness.h"
#include "support/pdf/images.h"
#include "support/pdf/tools.h"

#include <fstream>
#include <iterator>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    struct Tipo {
        const char* nome;
        int colori;
        const char* argomenti;
    };
    const Tipo tipi[] = {
        {"bit1.bmp", 2, "-type Palette -colors 2 BMP3:"},
        {"bit4.bmp", 16, "-type Palette -colors 16 BMP3:"},
        {"bit8.bmp", 200, "-type Palette BMP3:"},
        {"rle4.bmp", 16, "-type Palette -colors 16 -compress RLE BMP3:"},
        {"rle8.bmp", 200, "-type Palette -compress RLE BMP3:"},
        {"bit24.bmp", 300, "-type TrueColor BMP3:"},
        {"bit16.bmp", 300, "-define bmp:subtype=RGB565 BMP:"},
        {"bit32.bmp", 300, "-type TrueColorAlpha BMP:"},
    };
    const auto ppm = cartella / "lavoro.ppm";
    bool scritti = true;
    std::uint32_t seme = 1;
    for (const Tipo& tipo : tipi) {
        std::ofstream(ppm, std::ios::binary) << tavlo::test::RandomPpm(7, 5, tipo.colori, seme++);
        const auto bmp = cartella / tipo.nome;
        if (!tavlo::test::Convert(tavlo::test::Quote(ppm.string()) + " " + tipo.argomenti + tavlo::test::Quote(bmp.string()))) {
            scritti = false;
            continue;
        }
        scritti = std::filesystem::file_size(bmp) > 54 && scritti;
    }
    std::filesystem::remove(ppm);
    return scritti;
}

} // namespace quercino::fuzz
