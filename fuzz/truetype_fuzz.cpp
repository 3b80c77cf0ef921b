// The TrueType reader: a font reads, through either code page, to metrics a font record can
// hold (widths and line height in 16 bits, names without blanks), or raises the
// invalid-format error; no read leaves the bytes.

#include "fuzz/FuzzHarness.h"
#include "pdf/core/TavloError.h"
#include "pdf/draw/TrueTypeReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes font(data, data + size);
    for (const tavlo::CodePage codes : {tavlo::CodePage::Windows1252, tavlo::CodePage::MacRoman}) {
        try {
            const tavlo::TrueTypeMetrics m = tavlo::ReadTrueType(font, codes);
            if (m.Ascent < 0 || m.Descent > 0 || m.Ascent - m.Descent > 32767)
                std::abort();
            if (m.FullName.find(' ') != std::string::npos || m.PostScriptName.find(' ') != std::string::npos)
                std::abort();
        } catch (const tavlo::TavloError& error) {
            if (error.Number() != 321)
                std::abort();
        }
    }
    return 0;
}
