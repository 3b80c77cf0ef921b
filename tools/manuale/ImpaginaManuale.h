#pragma once
// The manual laid out on A4 pages with the program's own PDF writer: a title page and the
// contents (numbered i, ii...), then the chapters (numbered from 1), each beginning a page,
// paragraphs flowing from page to page, tables whose heading repeats on every page, a
// bookmark for every chapter and section, running heads and page numbers.

#include "tools/manuale/TestoManuale.h"

#include <string>
#include <vector>

namespace quercino::manuale {

struct FontManuale {
    std::string testo, grassetto, codice;  // TrueType files: body, headings, code
};

struct Impaginazione {
    std::vector<int> pagineTitoli;  // the page of each chapter and section title, counted from 1
    int pagine = 0;
};

// Writes the manual to percorso. precedente: the pages of an earlier run, which the contents
// and the page count quote (the layout does not depend on them). Raises std::runtime_error
// when the writer reports an error (a font it cannot read, a file it cannot write).
Impaginazione ImpaginaManuale(const TestoManuale& testo, const FontManuale& font, const std::string& percorso,
                              const Impaginazione& precedente);

} // namespace quercino::manuale
