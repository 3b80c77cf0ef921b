#pragma once
// The layout of an invoice sheet and of a CSV file: 34 columns, one VAT summary of one
// invoice per row, data from row 4. The import reads these columns and the Help samples
// are generated from the same definitions, so that the two never disagree.

#include <QString>

#include <array>

namespace quercino::importazione {

inline constexpr int NumeroColonne = 34;
inline constexpr int PrimaRigaDati = 4;
inline constexpr int UltimaRigaDati = 300000;

// Columns by number (from 1).
enum Colonna : int {
    PartitaIva = 1, CodiceFiscale, Denominazione, Nome, Cognome,
    SedeIndirizzo, SedeNumeroCivico, SedeCap, SedeComune, SedeProvincia, SedeNazione,
    NonUsata12, TipoDocumento, DataDocumento, NumeroDocumento,
    Imponibile, Imposta, Aliquota, Natura, Detraibile, Deducibile, Esigibilita, DataRegistrazione,
    StabileIndirizzo, StabileNumeroCivico, StabileCap, StabileComune, StabileProvincia, StabileNazione,
    RappresentantePartitaIva, RappresentanteDenominazione, RappresentanteNome, RappresentanteCognome,
    NonUsata34,
};

// The column cleaned with the text cleaner: the counterpart's identity and address.
inline constexpr int UltimaColonnaPulita = SedeNazione;

// How a spreadsheet stores the column's values (the samples are written so).
enum class TipoValore { Testo, Data, Importo };

struct DefinizioneColonna {
    const char* Titolo;             // the heading of row 3 of the samples
    TipoValore Tipo;
    const char* EsempioEmesse;      // the value of the issued-invoice sample row
    const char* EsempioRicevute;    // the value of the received-invoice sample row
    int Larghezza;                  // width in the sample workbook, in characters
};

// Definitions of columns 1 to 34 (index 0 is column 1). Column 4's heading is "NOME":
// the workbook's layout check reads it in cell D3.
const std::array<DefinizioneColonna, NumeroColonne>& DefinizioniColonne();

// The first field of a CSV file's first line names its kind.
inline const QString IntestazioneEmesse = QStringLiteral("FATTURE EMESSE");
inline const QString IntestazioneRicevute = QStringLiteral("FATTURE RICEVUTE");
// What cell D3 of a workbook must hold.
inline const QString ControlloD3 = QStringLiteral("NOME");

} // namespace quercino::importazione
