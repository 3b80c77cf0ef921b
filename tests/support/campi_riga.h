#pragma once
// An invoice row's text fields by the names the tests write ("Numero", "Sede.CAP",
// "Rappresentante.Denominazione"), in the order of the columns of the import layout: the
// steps that set a row and those that print one share this table.

#include "declarants/datifattura/RigaFattura.h"

#include <QString>
#include <QStringList>

#include <map>

namespace quercino::test {

// The field called `nome`, or null for a name that is none.
inline QString* CampoDiTesto(datifattura::RigaFattura& r, const QString& nome)
{
    using datifattura::RigaFattura, datifattura::DatiIndirizzo, datifattura::DatiRappresentante;
    static const std::map<QString, QString RigaFattura::*> riga = {
        {"PartitaIva", &RigaFattura::PartitaIva}, {"CodiceFiscale", &RigaFattura::CodiceFiscale},
        {"Denominazione", &RigaFattura::Denominazione}, {"Nome", &RigaFattura::Nome}, {"Cognome", &RigaFattura::Cognome},
        {"TipoDocumento", &RigaFattura::TipoDocumento}, {"Numero", &RigaFattura::Numero}, {"Natura", &RigaFattura::Natura},
        {"EsigibilitaIVA", &RigaFattura::EsigibilitaIVA}};
    static const std::map<QString, QString DatiIndirizzo::*> indirizzo = {
        {"Via", &DatiIndirizzo::Via}, {"NumeroCivico", &DatiIndirizzo::NumeroCivico}, {"CAP", &DatiIndirizzo::CAP},
        {"Comune", &DatiIndirizzo::Comune}, {"Provincia", &DatiIndirizzo::Provincia}, {"Nazione", &DatiIndirizzo::Nazione}};
    static const std::map<QString, QString DatiRappresentante::*> rappresentante = {
        {"PartitaIva", &DatiRappresentante::PartitaIva}, {"Denominazione", &DatiRappresentante::Denominazione},
        {"Nome", &DatiRappresentante::Nome}, {"Cognome", &DatiRappresentante::Cognome}};
    const QString parte = nome.section('.', 0, 0), sotto = nome.section('.', 1);
    if (riga.count(nome))
        return &(r.*riga.at(nome));
    if ((parte == "Sede" || parte == "StabileOrganizzazione") && indirizzo.count(sotto))
        return &((parte == "Sede" ? r.Sede : r.StabileOrganizzazione).*indirizzo.at(sotto));
    if (parte == "Rappresentante" && rappresentante.count(sotto))
        return &(r.Rappresentante.*rappresentante.at(sotto));
    return nullptr;
}

// Every name CampoDiTesto knows, in column order.
inline const QStringList& CampiDiTesto()
{
    static const QStringList nomi = {
        "PartitaIva", "CodiceFiscale", "Denominazione", "Nome", "Cognome", "Sede.Via", "Sede.NumeroCivico", "Sede.CAP",
        "Sede.Comune", "Sede.Provincia", "Sede.Nazione", "TipoDocumento", "Numero", "Natura", "EsigibilitaIVA",
        "StabileOrganizzazione.Via", "StabileOrganizzazione.NumeroCivico", "StabileOrganizzazione.CAP",
        "StabileOrganizzazione.Comune", "StabileOrganizzazione.Provincia", "StabileOrganizzazione.Nazione",
        "Rappresentante.PartitaIva", "Rappresentante.Denominazione", "Rappresentante.Nome", "Rappresentante.Cognome"};
    return nomi;
}

} // namespace quercino::test
