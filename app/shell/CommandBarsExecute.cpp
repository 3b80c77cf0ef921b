#include "app/shell/CommandBarsExecute.h"

#include "app/core/Aperture.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/Assistenza.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/Indirizzi.h"

#include <exception>

namespace quercino {

using namespace comando;

namespace {

QString TraVirgolette(const QString& testo)
{
    return QLatin1Char('"') + testo + QLatin1Char('"');
}

void ApriDaAiuto(AmbienteComandi& ambiente, int id, const QString& caption)
{
    const QString relativo = DocumentoDiAiuto(id, caption);
    if (!relativo.isEmpty()) {
        // A document that is not shipped opens nothing.
        ApriDocumento(ambiente.CartellaProgramma() + QLatin1Char('/') + relativo);
        return;
    }
    if (id != Documenti)
        return;
    if (caption.startsWith(QLatin1Char('7'))) {
        ApriDocumento(ambiente.CartellaProgramma() + QStringLiteral("/Help/documentazione/"));
    } else if (caption.startsWith(QLatin1String("Po"))) {
        Esegui(QStringLiteral("EXPLORER ") + TraVirgolette(IndirizzoPortale));
    }
}

void SitoVornComando(AmbienteComandi& ambiente, const QString& caption)
{
    const IndirizziProduttore& indirizzi = Indirizzi();
    if (caption == QLatin1String("Sito VORN - Controllo Aggiornamenti")) {
        if (indirizzi.paginaAggiornamenti.isEmpty())
            return;
        const QString testo =
            QStringLiteral("La versione del programma è: \r\n \r\n") + Release
            + QStringLiteral("\r\n \r\nQuesta procedura apre la pagina aggiornamenti del sito VORN. "
                             "\r\n \r\nControllare la DATA della voce VEKO: se maggiore, installare "
                             "l'aggiornamento. \r\n \r\nPremere OK per confermare la verifica "
                             "(VEKO verrà chiuso).");
        const int risposta = MsgBox(testo, Pulsanti::OkAnnulla, Icona::Informazione,
                                    QStringLiteral("Verifica Aggiornamento"));
        Risposta = QString::number(risposta);
        if (risposta == RispostaOk) {
            Esegui(QStringLiteral("EXPLORER ") + TraVirgolette(indirizzi.paginaAggiornamenti));
            ambiente.Termina();
        }
    } else if (caption == QLatin1String("Sito VORN - News")) {
        if (!indirizzi.paginaNews.isEmpty())
            Esegui(QStringLiteral("EXPLORER ") + TraVirgolette(indirizzi.paginaNews));
    }
}

void Salvataggio(AmbienteComandi& ambiente)
{
    // The list is reloaded afterwards: unsaved edits are asked about first.
    if (FinestraAnagrafica* anagrafica = ambiente.Anagrafica(); anagrafica && !anagrafica->ConfermaModifiche())
        return;
    ambiente.ApriSalvataggio();
    if (FinestraAnagrafica* anagrafica = ambiente.Anagrafica())
        anagrafica->Lista();
}

// The toolbar's "Elabora Foglio Excel" shares its ID with the sample sheets but names none:
// it makes the XML files, as the registry's button does.
bool ElaboraDallaBarra(int id, const QString& caption)
{
    return id == Fogli && caption == QLatin1String("Elabora Foglio Excel");
}

// The registry's own commands act on the registry in sight: when it is closed or another
// window is active, it is shown first.
void SulRegistro(AmbienteComandi& ambiente, void (FinestraAnagrafica::*comando)())
{
    if (FormAttivo != QLatin1String("F1OP") || !ambiente.Anagrafica()) {
        ambiente.MostraAnagrafica();
        FormAttivo = ambiente.NomeFinestraAttiva();
    }
    FinestraAnagrafica* anagrafica = ambiente.Anagrafica();
    if (FormAttivo != QLatin1String("F1OP") || !anagrafica) {
        MsgBox(QStringLiteral("L'elenco dei soggetti obbligati non si è potuto aprire."), Pulsanti::Ok,
               Icona::Attenzione, QStringLiteral("Attenzione"));
        return;
    }
    (anagrafica->*comando)();
}

void EseguiComando(AmbienteComandi& ambiente, int id, const QString& caption)
{
    switch (id) {
    case Registra:
        SulRegistro(ambiente, &FinestraAnagrafica::Registra);
        break;
    case Aggiungi:
        SulRegistro(ambiente, &FinestraAnagrafica::Aggiungi);
        break;
    case Elimina:
        SulRegistro(ambiente, &FinestraAnagrafica::Elimina);
        break;
    case Fogli:
        if (ElaboraDallaBarra(id, caption))
            SulRegistro(ambiente, &FinestraAnagrafica::ElaboraFoglio);
        else
            ApriDaAiuto(ambiente, id, caption);
        break;
    case Documenti:
        ApriDaAiuto(ambiente, id, caption);
        break;
    case Esci:
        if (MsgBox(QStringLiteral("Vuoi chiudere il programma?"), Pulsanti::SiNo, Icona::Nessuna,
                   QStringLiteral("Chiudi"))
            == RispostaSi)
            ambiente.Termina();
        break;
    case Versione:
        ambiente.MostraVersione();
        break;
    case Assistenza:
        EmailAssistenza(Indirizzi().emailAssistenza);
        break;
    case Salva:
        SalvaTutti = caption == QLatin1String("Salva Dati (tutti)");
        ModoSalva = QStringLiteral("S");
        Salvataggio(ambiente);
        break;
    case Ripristina:
        ModoSalva = QStringLiteral("R");
        Salvataggio(ambiente);
        break;
    case SitoVorn:
        SitoVornComando(ambiente, caption);
        break;
    case comando::AssistenzaRemota:
        quercino::AssistenzaRemota();
        break;
    case SoggettiObbligati:
        ambiente.MostraAnagrafica();
        break;
    default:
        MsgBox(QStringLiteral("Comando non disponibile: ") + caption, Pulsanti::Ok, Icona::Informazione,
               QStringLiteral("Attenzione"));
        break;
    }
}

} // namespace

QString DocumentoDiAiuto(int id, const QString& caption)
{
    const QChar primo = caption.isEmpty() ? QChar() : caption.at(0);
    if (id == Documenti) {
        if (primo == QLatin1Char('1'))
            return QStringLiteral(
                "Help/Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf");
        if (primo == QLatin1Char('2'))
            return QStringLiteral("Help/ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf");
        // The toolbar's "Documentazione" is the program's own: the manual.
        if (primo == QLatin1Char('6') || caption == QLatin1String("Documentazione"))
            return QStringLiteral("Help/Quercino - Manuale Completo.pdf");
    } else if (id == Fogli) {
        if (primo == QLatin1Char('3'))
            return QStringLiteral("Help/DATI_FATTURE_BASE.xlsx");
        if (primo == QLatin1Char('4'))
            return QStringLiteral("Help/DATI_FATTURE_EMESSE.csv");
        if (primo == QLatin1Char('5'))
            return QStringLiteral("Help/DATI_FATTURE_RICEVUTE.csv");
    }
    return {};
}

void CommandBars_Execute(AmbienteComandi& ambiente, int id, const QString& caption)
{
    try {
        // No child window open is an ordinary state, not an error: the name is then empty.
        FormAttivo = ambiente.NomeFinestraAttiva();
        CodiceOperatore = CodiceOperatore.trimmed();
        // Without a declarant only adding one, restoring a backup, opening the registry
        // (where one is added) and saving or using the one typed there make sense.
        const bool suDatiDelRegistro = id == Registra || ElaboraDallaBarra(id, caption);
        if (CodiceOperatore.isEmpty() && id != Aggiungi && id != Ripristina && id != SoggettiObbligati
            && !suDatiDelRegistro) {
            MsgBox(TestoSenzaSoggetto, Pulsanti::Ok, Icona::Informazione, TitoloSenzaSoggetto);
            return;
        }
        EseguiComando(ambiente, id, caption);
    } catch (const std::exception& errore) {
        MsgBox(QStringLiteral("ERR COMMANDBARS EXECUTE: ") + QString::fromUtf8(errore.what()));
    } catch (...) {
        MsgBox(QStringLiteral("ERR COMMANDBARS EXECUTE: errore sconosciuto"));
    }
}

} // namespace quercino
