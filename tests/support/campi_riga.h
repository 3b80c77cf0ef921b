#pragma once
// An invoice row's text fields by the names the tests write ("Numero", "Sede.CAP",
// "Rappresentante.Denominazione"), in the order of the import layout's columns: the steps
// that set a row and those that print one share this table.

#include "declarants/datifattura/RigaFattura.h"

#include <QString>

#include <utility>
#include <vector>

namespace quercino::test {

inline std::vector<std::pair<QString, QString*>> CampiDiTesto(datifattura::RigaFattura& r)
{
    std::vector<std::pair<QString, QString*>> campi = {{"PartitaIva", &r.PartitaIva}, {"CodiceFiscale", &r.CodiceFiscale},
                                                       {"Denominazione", &r.Denominazione}, {"Nome", &r.Nome},
                                                       {"Cognome", &r.Cognome}};
    const auto indirizzo = [&campi](const QString& parte, datifattura::DatiIndirizzo& i) {
        for (const auto& [nome, campo] : {std::pair{".Via", &i.Via}, {".NumeroCivico", &i.NumeroCivico}, {".CAP", &i.CAP},
                                          {".Comune", &i.Comune}, {".Provincia", &i.Provincia}, {".Nazione", &i.Nazione}})
            campi.emplace_back(parte + nome, campo);
    };
    indirizzo("Sede", r.Sede);
    campi.insert(campi.end(), {{"TipoDocumento", &r.TipoDocumento}, {"Numero", &r.Numero}, {"Natura", &r.Natura},
                               {"EsigibilitaIVA", &r.EsigibilitaIVA}});
    indirizzo("StabileOrganizzazione", r.StabileOrganizzazione);
    campi.insert(campi.end(), {{"Rappresentante.PartitaIva", &r.Rappresentante.PartitaIva},
                               {"Rappresentante.Denominazione", &r.Rappresentante.Denominazione},
                               {"Rappresentante.Nome", &r.Rappresentante.Nome}, {"Rappresentante.Cognome", &r.Rappresentante.Cognome}});
    return campi;
}

} // namespace quercino::test
