#pragma once
// The manual's source text (UTF-8, in the repository) read into blocks: chapters, sections,
// paragraphs, list items, lines of code and tables; texts come out as Windows-1252, the
// code page of the PDF writer. Mistakes in the source stop the build with the line number.

#include <map>
#include <string>
#include <vector>

namespace quercino::manuale {

enum class TipoBlocco { Capitolo, Sezione, Paragrafo, Punto, Codice, Tabella };

struct Blocco {
    TipoBlocco tipo = TipoBlocco::Paragrafo;
    std::string testo;                            // titles, paragraphs, items, code
    std::vector<std::vector<std::string>> righe;  // tables: the first row is the heading
    std::vector<double> larghezze;                // tables: shares of the width, summing to 1
};

struct TestoManuale {
    std::map<std::string, std::string> proprieta;  // "@chiave valore" lines
    std::vector<Blocco> blocchi;
};

// The source file; raises std::runtime_error ("file:riga: motivo") on a mistake.
TestoManuale LeggiTestoManuale(const std::string& percorso);

} // namespace quercino::manuale
