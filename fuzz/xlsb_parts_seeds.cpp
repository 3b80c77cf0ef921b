// Workbooks of the tests' .xlsb writer in the harness's form: every kind of cell, in the
// long and in the short form, shared strings with formatting and phonetic runs, date
// formats of both systems.

#include "fuzz/FuzzHarness.h"
#include "support/scrittore_xlsb.h"

#include <map>

namespace quercino::fuzz {

namespace {

std::string InForma(const std::function<void(test::ScrittoreXlsb&)>& scrivi, bool sistema1904, bool brevi = false)
{
    std::map<std::string, std::string> membri;
    std::string* corrente = nullptr;
    test::ScrittoreXlsb w([&](const std::string& nome) { corrente = &membri[nome]; },
                          [&](std::string_view byte) { corrente->append(byte); }, sistema1904);
    w.FormeBrevi(brevi);
    scrivi(w);
    w.Chiudi();
    std::string forma;
    for (const char* parte : {"xl/workbook.bin", "xl/sharedStrings.bin", "xl/styles.bin", "xl/worksheets/sheet1.bin",
                              "xl/worksheets/sheet2.bin"}) {
        const std::string& dati = membri[parte];
        forma += test::U32Xlsb(static_cast<std::uint32_t>(dati.size())) + dati;
    }
    return forma;
}

} // namespace

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const auto celle = [](test::ScrittoreXlsb& w) {
        const int data = w.Stile("dd/mm/yyyy");
        const int incorporata = w.StileIncorporato(14);
        w.Foglio("Emesse");
        w.Riga(3);
        w.Testo(4, "NOME");
        w.Riga(4);
        w.Numero(1, 12345678901.0);
        w.Rk(2, test::RkIntero(12345, true));
        w.Rk(3, test::RkReale(1.5));
        w.Numero(14, 43100, data);
        w.Rk(15, test::RkIntero(43100), incorporata);
        w.TestoInCella(16, "FT/1");
        w.TestoRicco(17, "Rossi Mario", true, "ROSSI");
        w.Booleano(18, true);
        w.Errore(19, 0x2A);
        w.FormulaNumero(20, 3);
        w.FormulaTesto(21, "x");
        w.FormulaBooleano(22, false);
        w.FormulaErrore(23, 7);
        w.Vuota(24, data);
        w.Riga(5);
        w.Testo(15, "A/2");
        w.Foglio("Ricevute");
        w.Riga(4);
        w.Testo(15, "R1");
    };
    return ScriviSeme(cartella, "celle.parti", InForma(celle, false))
        && ScriviSeme(cartella, "1904.parti", InForma(celle, true))
        && ScriviSeme(cartella, "brevi.parti", InForma(celle, false, true));
}

} // namespace quercino::fuzz
