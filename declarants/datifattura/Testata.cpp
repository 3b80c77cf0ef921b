#include "declarants/datifattura/Testata.h"

#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/Linee.h"

namespace quercino::datifattura {

const char* NomeTipo(TipoComunicazione tipo)
{
    return tipo == TipoComunicazione::DTE ? "DTE" : "DTR";
}

void ScriviIntestazione(std::string& uscita, const DatiDichiarante& d, int progressivo)
{
    Linee l(uscita);
    l.Riga(0, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>");
    uscita.append("<ns2:DatiFattura versione = \"DAT20\" xmlns:ns2 = \"");
    uscita.append(NamespaceDatiFattura);
    uscita.append("\">\r\n");
    l.Riga(0, "<DatiFatturaHeader>");
    l.Valore(4, "ProgressivoInvio", FormattaProgressivo(progressivo));
    if (!d.ODICPIVA.isEmpty()) {
        l.Riga(4, "<Dichiarante>");
        l.Valore(12, "CodiceFiscale", d.ODICPIVA);
        l.ValoreSePresente(12, "Carica", d.ODICCARICA);
        l.Riga(4, "</Dichiarante>");
    }
    l.Riga(0, "</DatiFatturaHeader>");
}

namespace {

// Nome and Cognome of a natural person, otherwise Denominazione; each only when set.
void ScriviNomi(Linee& l, bool personaFisica, const QString& nome, const QString& cognome,
                const QString& denominazione)
{
    if (personaFisica) {
        l.ValoreSePresente(16, "Nome", nome);
        l.ValoreSePresente(16, "Cognome", cognome);
    } else {
        l.ValoreSePresente(16, "Denominazione", denominazione);
    }
}

} // namespace

void ScriviBloccoDichiarante(std::string& uscita, const DatiDichiarante& d, TipoComunicazione tipo)
{
    const bool emesse = tipo == TipoComunicazione::DTE;
    Linee l(uscita);
    l.Riga(4, emesse ? "<DTE>" : "<DTR>");
    l.Riga(8, emesse ? "<CedentePrestatoreDTE>" : "<CessionarioCommittenteDTR>");
    l.Riga(12, "<IdentificativiFiscali>");
    l.Riga(16, "<IdFiscaleIVA>");
    l.Riga(20, "<IdPaese>IT</IdPaese>");
    l.Valore(20, "IdCodice", d.OPIVA);
    l.Riga(16, "</IdFiscaleIVA>");
    l.Valore(16, "CodiceFiscale", d.OCF);
    l.Riga(12, "</IdentificativiFiscali>");
    l.Riga(12, "<AltriDatiIdentificativi>");
    ScriviNomi(l, d.OPF, d.ONOME, d.OCOG, d.ORAG);

    const bool sede = !(d.OSINDI.isEmpty() && d.OSNUMC.isEmpty() && d.OSCAP.isEmpty()
                        && d.OSCOM.isEmpty() && d.OSPRO.isEmpty() && d.OSPAESE.isEmpty());
    if (sede) {
        l.Riga(16, "<Sede>");
        l.ValoreSePresente(20, "Indirizzo", d.OSINDI);
        l.ValoreSePresente(20, "NumeroCivico", d.OSNUMC);
        l.ValoreSePresente(20, "CAP", d.OSCAP);
        l.ValoreSePresente(20, "Comune", d.OSCOM);
        l.ValoreSePresente(20, "Provincia", d.OSPRO);
        l.ValoreSePresente(20, "Nazione", d.OSPAESE);
        l.Riga(16, "</Sede>");
    }
    if (!d.OSOINDI.isEmpty()) {
        l.Riga(16, "<StabileOrganizzazione>");
        l.Valore(20, "Indirizzo", d.OSOINDI);
        l.ValoreSePresente(20, "NumeroCivico", d.OSONUMC);
        l.ValoreSePresente(20, "CAP", CapPerNazione(d.OSOCAP, d.OSOPAESE));
        l.ValoreSePresente(20, "Comune", d.OSOCOM);
        l.ValoreSePresente(20, "Provincia", d.OSOPRO);
        l.ValoreSePresente(20, "Nazione", d.OSOPAESE);
        l.Riga(16, "</StabileOrganizzazione>");
    }
    if (!d.ORFPIVA.isEmpty()) {
        // The representative's lines share the indentation of its opening tag.
        l.Riga(16, "<RappresentanteFiscale>");
        l.Riga(16, "<IdFiscaleIVA>");
        l.Riga(20, "<IdPaese>IT</IdPaese>");
        l.Valore(20, "IdCodice", d.ORFPIVA);
        l.Riga(16, "</IdFiscaleIVA>");
        ScriviNomi(l, d.ORFPF, d.ORFNOME, d.ORFCOG, d.ORFRAG);
        l.Riga(16, "</RappresentanteFiscale>");
    }
    l.Riga(12, "</AltriDatiIdentificativi>");
    l.Riga(8, emesse ? "</CedentePrestatoreDTE>" : "</CessionarioCommittenteDTR>");
}

void ScriviChiusura(std::string& uscita, TipoComunicazione tipo)
{
    Linee l(uscita);
    l.Riga(4, tipo == TipoComunicazione::DTE ? "</DTE>" : "</DTR>");
    l.Riga(0, "</ns2:DatiFattura>");
}

QString NomeFileDatiFattura(const DatiDichiarante& d, int progressivo)
{
    return d.OSPAESE + d.OCF + QLatin1String("_DF_") + FormattaProgressivo(progressivo)
        + QLatin1String(".xml");
}

} // namespace quercino::datifattura
