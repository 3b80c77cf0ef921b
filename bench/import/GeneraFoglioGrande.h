#pragma once
// The benchmark's input: invoice rows as a busy firm would have them, written both as a
// workbook (issued invoices on the first sheet) and as a CSV file.

enum class FormaCartella {
    TestiInCella,    // each text in its cell, numbers and dates typed
    TestiCondivisi,  // the texts in a shared table, numbers and dates typed (as Excel saves them)
    ComeProgramma,   // every field a text of the shared table, as a spreadsheet program saves
                     // the CSV file it opened (CartellaComeProgramma.h)
    Binaria,         // Excel's binary format (.xlsb), as Excel saves it (CartellaXlsb.h)
};

#include <string>

struct StatisticheFoglio {
    int Righe = 0;
    int Controparti = 0;        // distinct counterparts used
    int MassimoRigheControparte = 0;
    int Estere = 0;
    int Persone = 0;
    int NonValide = 0;
    bool Scritta = false;       // the workbook and the CSV file were written whole
};

// About 20,000 counterparts with a skewed (Zipf) share of the rows, visits of 1 to 8
// invoices of 1 to 3 VAT lines, 5 % foreign and 2 % natural-person counterparts, 0.5 %
// invalid rows. Deterministic for a given seed: the three forms hold the same fields.
StatisticheFoglio GeneraFoglioGrande(const std::string& cartella, const std::string& csv, int righe, unsigned seme,
                                     FormaCartella forma);
