#pragma once
// Kept while the tests move to the helpers in tests/support/pdf.

#include "support/pdf/Barcodes.h"

namespace tavlo::test {

inline std::vector<std::string> BarcodesReadByZbar(const std::string& pdf, int pages, const std::string&,
                                                   const std::string& zbarOptions)
{
    return BarcodesReadByZbar(pdf, pages, zbarOptions);
}

} // namespace tavlo::test
