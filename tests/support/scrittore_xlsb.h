#pragma once
// A small writer of Excel binary workbooks (.xlsb) for the tests, the fuzzers' seeds and the
// benchmark, following the published layout of the format: records of a type and a size
// (seven bits a byte), a workbook part with its properties (the 1904 date system) and the
// sheets in tab order, a shared-strings part (rich and phonetic entries too), a styles part
// with number formats, and the sheets' rows and cells, each in the long form (with its
// column) or, when asked, in the short form where it follows the previous cell of its row. No spreadsheet program on Linux
// writes this format; LibreOffice reads it, and the tests check this writer against it.
// Standard C++ only: the parts go to `membro`/`scrivi` as zip members (a sheet as it is
// written, the rest at Chiudi), so that a sheet of any size is never whole in memory.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quercino::test {

// A record: its type and size as the format encodes them, then its data.
std::string RecordXlsb(std::uint32_t tipo, std::string_view dati);
// An XLWideString: a count of UTF-16 units, then the units; from UTF-8.
std::string StringaXlsb(std::string_view utf8);
// Little-endian fields.
std::string U16Xlsb(std::uint32_t v);
std::string U32Xlsb(std::uint32_t v);
std::string F64Xlsb(double v);
// The RK forms of an integer and of a double whose low 34 bits are zero (optionally in
// hundredths).
std::uint32_t RkIntero(std::int32_t v, bool centesimi = false);
std::uint32_t RkReale(double v, bool centesimi = false);

class ScrittoreXlsb {
public:
    using Membro = std::function<void(const std::string& nome)>;
    using Scrivi = std::function<void(std::string_view byte)>;

    ScrittoreXlsb(Membro membro, Scrivi scrivi, bool sistema1904 = false);

    // A cell style whose number format is `codice` (a format of the workbook's own), or the
    // built-in format `formato`; its index for the cells. Style 0 is the general format.
    int Stile(const std::string& codice);
    int StileIncorporato(int formato);

    // From now on a cell that stands right after the previous cell of its row is written in
    // the short form, with no column (as other writers do), when it has one (formulas have
    // not); the first cell of a row, which has no cell before it, keeps its column.
    void FormeBrevi(bool brevi) { brevi_ = brevi; }

    // Begins a worksheet (the one before it, if any, ends).
    void Foglio(const std::string& nome);
    // Begins row `numero` (from 1) of the current sheet.
    void Riga(int numero);
    // Cells of the current row, `colonna` from 1.
    void Numero(int colonna, double valore, int stile = 0);
    void Rk(int colonna, std::uint32_t rk, int stile = 0);
    void Testo(int colonna, const std::string& utf8, int stile = 0);   // through the shared table
    // A shared text with two formatting runs and/or a phonetic text.
    void TestoRicco(int colonna, const std::string& utf8, bool ricco, const std::string& fonetico = "");
    void TestoInCella(int colonna, const std::string& utf8);
    void Booleano(int colonna, bool valore);
    void Errore(int colonna, std::uint8_t codice);
    void Vuota(int colonna, int stile = 0);
    // Formulas (a constant of the same value) with their value as last computed.
    void FormulaNumero(int colonna, double valore, int stile = 0);
    void FormulaTesto(int colonna, const std::string& utf8);
    void FormulaBooleano(int colonna, bool valore);
    void FormulaErrore(int colonna, std::uint8_t codice);
    // Any record, as it is, into the current sheet.
    void Record(std::uint32_t tipo, std::string_view dati);
    // Ends the last sheet and writes the workbook, shared strings, styles and package parts.
    void Chiudi();

private:
    void Cella(std::uint32_t tipo, int colonna, int stile, std::string_view valore);
    std::uint32_t IndiceTesto(const std::string& voce, const std::string& chiave);
    void FineFoglio();

    Membro membro_;
    Scrivi scrivi_;
    bool sistema1904_;
    std::vector<std::string> fogli_;
    bool foglioAperto_ = false;
    bool brevi_ = false;
    int ultimaColonna_ = 0;   // of the last cell of the row, 0 before its first
    std::string buffer_;
    std::vector<std::string> testi_;                          // BrtSSTItem data, in order
    std::unordered_map<std::string, std::uint32_t> indici_;
    std::uint32_t riferimenti_ = 0;
    std::map<std::string, int> formatiPropri_;                // code -> id from 164
    std::vector<int> stili_ = {0};                            // number format of each cell style
};

} // namespace quercino::test
