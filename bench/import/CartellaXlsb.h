#pragma once
// The benchmark's workbook in Excel's binary format (.xlsb), as Excel saves it: texts in the
// shared table, amounts as RK values where they fit (hundredths of 30 bits) and as doubles
// otherwise, dates as serials with a date format. Written by the tests' writer of the
// format, the sheet streamed into a zip member as it grows.

#include "ZipInUscita.h"

#include "support/scrittore_xlsb.h"

#include <string>

class CartellaXlsb {
public:
    explicit CartellaXlsb(const std::string& percorso);
    // Cells of row `riga` (from 1), in any order within the row; rows in order.
    void Testo(int riga, int colonna, const std::string& testo);
    void Numero(int riga, int colonna, double valore);
    void Data(int riga, int colonna, int giorno, int mese, int anno);
    // Writes the rest of the workbook; false when a write failed.
    bool Chiudi();

private:
    void Riga(int riga);

    ZipInUscita zip_;
    quercino::test::ScrittoreXlsb scrittore_;
    int data_ = 0;
    int riga_ = 0;
};
