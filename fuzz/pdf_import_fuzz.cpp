// ImportPage on any bytes: the first pages of the file placed in a document, plain or (odd
// sizes) encrypted. Nothing raises but the recorded errors; a plain document is complete
// and our own reader reads it back with its one page.

#include "fuzz/FuzzHarness.h"
#include "pdf/Tavlo.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = quercino::fuzz::FileDiLavoro(data, size, ".pdf");
    const std::string uscita = quercino::fuzz::FileDiLavoro(nullptr, 0, ".uscita.pdf");
    const bool cifrato = size % 2 == 1;
    {
        tavlo::Tavlo pdf;
        if (cifrato)
            pdf.SetProtection(0, "capo", "");
        pdf.BeginDoc(uscita);
        pdf.BeginPage();
        std::string titolo, soggetto, autore;
        std::int16_t flag = 0;
        const std::int32_t pagine = pdf.GetInfo(file, titolo, soggetto, autore, flag);
        for (std::int32_t p = 1; p <= pagine && p <= 3; ++p) {
            pdf.ImportPage(file, p, 10, 10, 0, 0);
            pdf.ImportPage(file, p, 0, 0, 50, 0);
        }
        pdf.EndDoc();
        if (pdf.ErrNumber() != 0 && pdf.ErrNumber() != 321)
            std::abort();
    }
    if (!cifrato) {
        tavlo::Tavlo lettore;
        std::string titolo, soggetto, autore;
        std::int16_t flag = 0;
        if (lettore.GetInfo(uscita, titolo, soggetto, autore, flag) != 1)
            std::abort();
    }
    return 0;
}
