#include "declarants/datifattura/Blocchi.h"

#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/Linee.h"

#include <QStringBuilder>

namespace quercino::datifattura {

namespace {

const char* Ruolo(TipoComunicazione tipo)
{
    return tipo == TipoComunicazione::DTE ? " CLIENTE " : " FORNITORE ";
}

void ScriviIndirizzo(Linee& l, std::string_view tag, const DatiIndirizzo& a)
{
    l.Riga(16, tag == "Sede" ? "<Sede>" : "<StabileOrganizzazione>");
    l.ValoreSePresente(20, "Indirizzo", a.Via);
    l.ValoreSePresente(20, "NumeroCivico", a.NumeroCivico);
    l.ValoreSePresente(20, "CAP", CapPerNazione(a.CAP, a.Nazione));
    l.ValoreSePresente(20, "Comune", a.Comune);
    l.ValoreSePresente(20, "Provincia", a.Provincia);
    l.ValoreSePresente(20, "Nazione", a.Nazione);
    l.Riga(16, tag == "Sede" ? "</Sede>" : "</StabileOrganizzazione>");
}

} // namespace

void ScriviTestaBlocco(std::string& uscita, const RigaFattura& r, TipoComunicazione tipo,
                       int numero, const QString& nomeSoggetto)
{
    const bool emesse = tipo == TipoComunicazione::DTE;
    Linee l(uscita);
    l.Riga(1, "");
    l.Commento(1, QLatin1String("BLOCCO NUMERO ") % QString::number(numero).rightJustified(6, QLatin1Char('0'))
                      % QLatin1String(Ruolo(tipo)) % r.PartitaIva % QLatin1Char(' ') % nomeSoggetto);
    l.Riga(1, "");
    l.Riga(9, emesse ? "<CessionarioCommittenteDTE>" : "<CedentePrestatoreDTR>");

    if (!r.PartitaIva.isEmpty() || !r.CodiceFiscale.isEmpty()) {
        l.Riga(12, "<IdentificativiFiscali>");
        if (!r.PartitaIva.isEmpty()) {
            l.Riga(16, "<IdFiscaleIVA>");
            l.Valore(20, "IdPaese", r.Sede.Nazione);
            l.Valore(20, "IdCodice", r.PartitaIva);
            l.Riga(16, "</IdFiscaleIVA>");
        }
        l.ValoreSePresente(16, "CodiceFiscale", NormalizzaCodiceFiscale(r.CodiceFiscale));
        l.Riga(12, "</IdentificativiFiscali>");
    }

    l.Riga(12, "<AltriDatiIdentificativi>");
    if (r.Nome.isEmpty()) {
        l.ValoreSePresente(16, "Denominazione", r.Denominazione);
    } else {
        l.Valore(16, "Nome", r.Nome);
        l.ValoreSePresente(16, "Cognome", r.Cognome);
    }
    if (!r.Sede.Via.isEmpty())
        ScriviIndirizzo(l, "Sede", r.Sede);
    if (!r.StabileOrganizzazione.Via.isEmpty())
        ScriviIndirizzo(l, "StabileOrganizzazione", r.StabileOrganizzazione);
    const DatiRappresentante& rf = r.Rappresentante;
    if (!rf.PartitaIva.isEmpty()) {
        l.Riga(16, "<RappresentanteFiscale>");
        l.Riga(16, "<IdFiscaleIVA>");
        l.Riga(20, "<IdPaese>IT</IdPaese>");
        l.Valore(20, "IdCodice", rf.PartitaIva);
        l.Riga(16, "</IdFiscaleIVA>");
        if (rf.Nome.isEmpty()) {
            l.ValoreSePresente(16, "Denominazione", rf.Denominazione);
        } else {
            l.Valore(16, "Nome", rf.Nome);
            l.ValoreSePresente(16, "Cognome", rf.Cognome);
        }
        l.Riga(16, "</RappresentanteFiscale>");
    }
    l.Riga(12, "</AltriDatiIdentificativi>");
}

void ScriviTestaFattura(std::string& uscita, const RigaFattura& r, TipoComunicazione tipo,
                        const QString& chiaveSoggetto, const QString& nomeSoggetto)
{
    const bool emesse = tipo == TipoComunicazione::DTE;
    Linee l(uscita);
    l.Riga(1, "");
    l.Commento(8, QLatin1String("   FATTURA Num. ") % r.Numero % QLatin1String(Ruolo(tipo)) % chiaveSoggetto
                      % QLatin1Char(' ') % nomeSoggetto);
    l.Riga(8, emesse ? "<DatiFatturaBodyDTE>" : "<DatiFatturaBodyDTR>");
    l.Riga(13, "<DatiGenerali>");
    l.Valore(20, "TipoDocumento", r.TipoDocumento);
    l.ValoreFormattato(20, "Data", FormattaDataXml(r.Data));
    l.Valore(21, "Numero", r.Numero);
    if (!emesse)
        l.ValoreFormattato(20, "DataRegistrazione", FormattaDataXml(r.DataRegistrazione));
    l.Riga(14, "</DatiGenerali>");
}

void ScriviRiepilogo(std::string& uscita, const RigaFattura& r)
{
    Linee l(uscita);
    l.Riga(8, "");
    l.Riga(12, "<DatiRiepilogo>");
    l.ValoreFormattato(16, "ImponibileImporto", FormattaCentesimi(r.Imponibile));
    l.Riga(20, "<DatiIVA>");
    l.ValoreFormattato(24, "Imposta", FormattaCentesimi(r.Imposta));
    l.ValoreFormattato(24, "Aliquota", FormattaCentesimi(r.Aliquota));
    l.Riga(20, "</DatiIVA>");
    l.ValoreSePresente(16, "Natura", r.Natura);
    if (r.Detraibile)
        l.ValoreFormattato(16, "Detraibile", FormattaCentesimi(*r.Detraibile));
    if (r.Deducibile)
        l.Riga(16, "<Deducibile>SI</Deducibile>");
    l.ValoreSePresente(16, "EsigibilitaIVA", r.EsigibilitaIVA);
    l.Riga(12, "</DatiRiepilogo>");
}

void ScriviFineFattura(std::string& uscita, TipoComunicazione tipo)
{
    Linee(uscita).Riga(8, tipo == TipoComunicazione::DTE ? "</DatiFatturaBodyDTE>"
                                                         : "</DatiFatturaBodyDTR>");
}

void ScriviFineBlocco(std::string& uscita, TipoComunicazione tipo)
{
    Linee l(uscita);
    l.Riga(8, "");
    l.Riga(8, tipo == TipoComunicazione::DTE ? "</CessionarioCommittenteDTE>"
                                             : "</CedentePrestatoreDTR>");
}

} // namespace quercino::datifattura
