#pragma once
// The declarant's data that the file header and the declarant's own block need, named after
// the fields of COPE that the registry window shows. The registry fills it from its controls
// as they stand (upper case, trimmed, cleaned), unsaved edits included.

#include <QString>

namespace quercino::datifattura {

struct DatiDichiarante {
    QString OSPAESE;        // country of the registered office: file name, Nazione of Sede
    QString OCF;            // tax code: file name, CodiceFiscale
    int OPROG = 1;          // progressive of the next file: file name, ProgressivoInvio

    QString ODICPIVA;       // signer's tax code: Dichiarante written only when set
    QString ODICCARICA;     // signer's role code (1 to 15)

    QString OPIVA;          // VAT number
    bool OPF = false;       // natural person: Nome and Cognome instead of Denominazione
    QString ONOME;
    QString OCOG;
    QString ORAG;

    // Registered office (its nation is OSPAESE).
    QString OSINDI;
    QString OSNUMC;
    QString OSCAP;
    QString OSCOM;
    QString OSPRO;

    // Permanent establishment, written only when OSOINDI is set.
    QString OSOINDI;
    QString OSONUMC;
    QString OSOCAP;
    QString OSOCOM;
    QString OSOPRO;
    QString OSOPAESE;

    // Fiscal representative, written only when ORFPIVA is set.
    QString ORFPIVA;
    bool ORFPF = false;
    QString ORFNOME;
    QString ORFCOG;
    QString ORFRAG;
};

} // namespace quercino::datifattura
