#pragma once
// The reading of one invoice row: its 34 texts are cleaned, the Italian identifiers padded,
// the values checked in a fixed order, the dates and amounts converted. A rejected value is
// reported (the log line and the question whether to go on) through `SegnalazioniRiga`.

#include "declarants/datifattura/RigaFattura.h"
#include "declarants/datifattura/Testata.h"

#include <QString>

#include <vector>

namespace quercino::importazione {

// Literal that stands for an empty value in the reports.
inline const QString ValoreVuoto = QStringLiteral("* VUOTO *");

class SegnalazioniRiga {
public:
    virtual ~SegnalazioniRiga() = default;
    // One rejected value; false when the user chose to stop the import.
    virtual bool SegnalaErrore(const QString& etichetta, const QString& valore) = 0;
    // A row with no VAT number, tax code or document number; false when the user stops.
    virtual bool RigaSenzaValori() = 0;
};

struct EsitoLettura {
    bool RigaValida = true;
    bool Interrompi = false;
};

// The document types the import takes.
bool TipoDocumentoAmmesso(const QString& tipo);

// Control characters out, upper case and trimmed; columns 1 to 11 through the text cleaner.
// `colonne` gets 34 entries.
void PulisciColonne(std::vector<QString>& colonne);

// Reads the cleaned-or-raw 34 texts of a row (cleaning them in place) into `riga`. A row
// refused here still leaves its columns 1 to 5 (identifiers padded as written) in `riga`,
// and nothing of an earlier row.
// `precedente` is the last row passed on for writing, or nullptr: a continuation row of the
// same invoice takes the document type and dates it leaves empty from it.
EsitoLettura LeggiRiga(std::vector<QString>& colonne, datifattura::TipoComunicazione tipo,
                       SegnalazioniRiga& segnalazioni, const datifattura::RigaFattura* precedente,
                       datifattura::RigaFattura& riga);

} // namespace quercino::importazione
