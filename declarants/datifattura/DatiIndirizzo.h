#pragma once
// An address as the DatiFattura files hold it (Sede, StabileOrganizzazione).

#include <QString>

namespace quercino::datifattura {

struct DatiIndirizzo {
    QString Via;            // Indirizzo
    QString NumeroCivico;
    QString CAP;
    QString Comune;
    QString Provincia;
    QString Nazione;

    bool Vuoto() const
    {
        return Via.isEmpty() && NumeroCivico.isEmpty() && CAP.isEmpty() && Comune.isEmpty()
            && Provincia.isEmpty() && Nazione.isEmpty();
    }
};

} // namespace quercino::datifattura
