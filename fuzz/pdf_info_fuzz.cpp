// GetInfo on any bytes: it returns a page count with the error number 0, or 0 with the
// error recorded; it never raises, and the outputs change only when it succeeds.

#include "fuzz/FuzzHarness.h"
#include "pdf/Tavlo.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = quercino::fuzz::FileDiLavoro(data, size, ".pdf");
    tavlo::Tavlo pdf;
    std::string titolo = "t", soggetto = "s", autore = "a";
    std::int16_t cifrato = 9;
    const std::int32_t pagine = pdf.GetInfo(file, titolo, soggetto, autore, cifrato);
    const bool letto = pdf.ErrNumber() == 0;
    if (pagine < 0 || (!letto && (pagine != 0 || titolo != "t" || soggetto != "s" || autore != "a" || cifrato != 9)) ||
        (letto && cifrato != 0) || (!letto && pdf.ErrNumber() != 321))
        std::abort();
    return 0;
}
