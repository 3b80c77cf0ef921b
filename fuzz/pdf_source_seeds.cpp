// Source PDF files as the reader's tests make them: the hand-made files of
// tests/pdf/source_files.py and documents of this writer, plain and with a layer.

#include "fuzz/FuzzHarness.h"
#include "pdf/Tavlo.h"

#include <cstdlib>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const std::string comando = "/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/source_files.py '" +
                                cartella.string() + "'";
    bool scritti = std::system(comando.c_str()) == 0;
    tavlo::Tavlo pdf;
    pdf.SetDocProperty("Titolo (prova)", "Soggetto", "Autore", "", "", "");
    pdf.SetFont("Arial", 12, 0, 0);
    pdf.BeginDoc((cartella / "tavlo.pdf").string());
    pdf.BeginPage();
    pdf.BeginLayer("Livello", 1, 1);
    pdf.DrawRect(10, 10, 100, 50, 5);
    pdf.EndLayer();
    pdf.DrawText(20, 100, "Testo");
    pdf.BeginPage();
    pdf.DrawCircle(100, 100, 40, 5);
    pdf.EndDoc();
    return scritti && pdf.ErrNumber() == 0;
}

} // namespace quercino::fuzz
