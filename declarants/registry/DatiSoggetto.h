#pragma once
// One declarant ("soggetto obbligato"): a row of COPE, or the values of the registry
// window's fields as they stand. Header-only so that the file writers can take it
// without linking the registry.

#include <QString>

namespace quercino {

struct DatiSoggetto {
    QString OCOD;         // declarant code, the key
    QString ORAG;         // company name
    QString ONOME;        // first name (natural person)
    QString OCOG;         // surname (natural person)
    QString OPIVA;        // VAT number
    QString OCF;          // tax code
    QString OSINDI;       // registered office: street
    QString OSNUMC;       //   house number
    QString OSCAP;        //   postcode
    QString OSCOM;        //   town
    QString OSPRO;        //   province
    QString OSPAESE;      //   nation code
    QString OSPAESED;     //   nation name
    bool OPF = false;     // natural person
    QString ODES;         // name shown in the registry's grid (written only)
    QString ODICPIVA;     // signer's tax code
    QString ODICCARICA;   // signer's role code (1 to 15)
    QString ODICCARICAD;  // role description
    QString ORFPIVA;      // fiscal representative: VAT code
    QString ORFRAG;       //   company name
    QString ORFNOME;      //   first name
    QString ORFCOG;       //   surname
    bool ORFPF = false;   //   natural person
    QString OSOINDI;      // permanent establishment: street
    QString OSONUMC;      //   house number
    QString OSOCAP;       //   postcode
    QString OSOCOM;       //   town
    QString OSOPRO;       //   province
    QString OSOPAESE;     //   nation code
    QString OSOPAESED;    //   nation name
    QString OUCDTE;       // portal id of the last issued-invoices file
    QString OUCDTR;       // portal id of the last received-invoices file
    QString OPROG;        // progressive of the next file, five digits

    // Name for the grid: the company name, or surname and first name of a person.
    QString DescrizioneGriglia() const
    {
        return OPF ? OCOG + QLatin1Char(' ') + ONOME : ORAG;
    }

    // Name shown to the user (delete confirmation, backup file, import, PDF author): the
    // company name, or for a natural person (whose company name box is hidden) the
    // surname and the first name, so that it is never empty for either.
    QString NomeVisualizzato() const
    {
        if (OPF) {
            const QString persona =
                SenzaBlanchi(SenzaBlanchi(OCOG) + QLatin1Char(' ') + SenzaBlanchi(ONOME));
            if (!persona.isEmpty())
                return persona;
        }
        return SenzaBlanchi(ORAG);
    }

    // Blanks (only U+0020) removed at both ends.
    static QString SenzaBlanchi(const QString& testo)
    {
        qsizetype inizio = 0;
        qsizetype fine = testo.size();
        while (inizio < fine && testo.at(inizio) == QLatin1Char(' '))
            ++inizio;
        while (fine > inizio && testo.at(fine - 1) == QLatin1Char(' '))
            --fine;
        return testo.mid(inizio, fine - inizio);
    }

    bool operator==(const DatiSoggetto&) const = default;
};

} // namespace quercino
