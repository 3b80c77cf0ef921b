#pragma once
// One checked invoice row as the writer consumes it: one VAT summary of one invoice of one
// counterpart. The import fills it from the 34 columns of a sheet or CSV line once they
// have passed its checks; the comments give the column of each field.
//
// Amounts are exact: integer cents. Rates are integer hundredths of a percent (22,00 % is
// 2200). Texts are upper case and trimmed as the import leaves them.

#include "declarants/datifattura/DatiIndirizzo.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace quercino::datifattura {

struct DatiRappresentante {
    QString PartitaIva;     // 30
    QString Denominazione;  // 31, written when Nome is empty
    QString Nome;           // 32
    QString Cognome;        // 33
};

struct RigaFattura {
    // The counterpart. A row whose VAT number, tax code and name are all empty continues
    // the counterpart of the rows above it.
    QString PartitaIva;     // 1, IdCodice of IdFiscaleIVA
    QString CodiceFiscale;  // 2
    QString Denominazione;  // 3, written when Nome is empty
    QString Nome;           // 4
    QString Cognome;        // 5
    DatiIndirizzo Sede;     // 6 to 11; Sede.Nazione (11) is also IdPaese of IdFiscaleIVA

    // The invoice.
    QString TipoDocumento;  // 13
    QDate Data;             // 14
    QString Numero;         // 15
    QDate DataRegistrazione; // 23, received invoices only

    // The VAT summary.
    std::int64_t Imponibile = 0;        // 16, cents
    std::int64_t Imposta = 0;           // 17, cents
    int Aliquota = 0;                   // 18, hundredths of a percent
    QString Natura;                     // 19
    std::optional<int> Detraibile;      // 20, hundredths of a percent
    bool Deducibile = false;            // 21 ("SI")
    QString EsigibilitaIVA;             // 22: "I", "D", "S" or empty

    DatiIndirizzo StabileOrganizzazione; // 24 to 29, written when its Via is set
    DatiRappresentante Rappresentante;   // 30 to 33, written when its PartitaIva is set

    // The counterpart's name as the comments show it: Denominazione, else Nome and Cognome.
    QString NomeSoggetto() const
    {
        if (!Denominazione.isEmpty())
            return Denominazione;
        return (Nome + QLatin1Char(' ') + Cognome).trimmed();
    }
};

} // namespace quercino::datifattura
