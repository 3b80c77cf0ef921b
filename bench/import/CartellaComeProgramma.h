#pragma once
// A workbook as a spreadsheet program saves a CSV file it opened: every field a text of the
// shared table (amounts with their decimal comma and dates included, so that the table
// grows with the rows: some 30 MB for 300,000 of them), each entry with xml:space="preserve",
// some as rich text of two runs, rows and cells with the attributes such a program writes.

#include "ZipInUscita.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CartellaComeProgramma {
public:
    explicit CartellaComeProgramma(const std::string& percorso);
    // Row `numero` (from 1) of the first sheet; empty fields are no cells.
    void Riga(int numero, const std::vector<std::string>& campi);
    // Writes the shared table and the rest of the workbook; false when a write failed.
    bool Chiudi();

private:
    std::uint32_t Indice(const std::string& testo, bool ricco);
    void Scarica(bool sempre);

    ZipInUscita zip_;
    std::string foglio_;    // the sheet's XML not yet compressed
    std::unordered_map<std::string, std::uint32_t> indici_;
    struct Voce {
        const std::string* Testo;
        bool Ricco;
    };
    std::vector<Voce> voci_;
    std::uint64_t riferimenti_ = 0;
};
