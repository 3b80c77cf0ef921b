#include "app/shell/Assistenza.h"

#include "app/core/Aperture.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "app/shell/Indirizzi.h"

#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>

namespace quercino {

namespace {

void SegnalaErroreEmail(const QString& descrizione)
{
    MsgBox(QStringLiteral("Errore Creazione Email: \r\n") + descrizione
               + QStringLiteral("\r\n \r\nVerificare la corretta installazione di Micorsoft Outlook"),
           Pulsanti::Ok, Icona::Critica, QStringLiteral("Microsoft Outlook NON installato"));
}

} // namespace

bool ComponiEmail(const QString& indirizzo, const QString& oggetto)
{
    if (indirizzo.trimmed().isEmpty()) {
        SegnalaErroreEmail(QStringLiteral("Nessun indirizzo di posta elettronica configurato."));
        return false;
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(indirizzo.trimmed());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), oggetto);
    url.setQuery(query);
    return ConsegnaAlDesktop(url, [](bool preso) {
        if (!preso)
            SegnalaErroreEmail(QStringLiteral("Nessun programma di posta elettronica ha aperto il messaggio."));
    });
}

void EmailAssistenza(const QString& indirizzo)
{
    ComponiEmail(indirizzo, QStringLiteral("RICHIESTA ASSISTENZA Utente VEKO:"));
}

void AssistenzaRemota()
{
    const QString domanda =
        QStringLiteral("Controllo ed Esecuzione programma di Assistenza Remota. \r\n  \r\nConfermi?  "
                       "\r\n  \r\nPotrebbe essere necessario attendere qualche istante... ");
    // It hands the computer to someone else: No unless the user chooses otherwise.
    if (MsgBox(domanda, Pulsanti::SiNo, Icona::Informazione, QStringLiteral("Richiesta Conferma"), RispostaNo)
        != RispostaSi)
        return;

    const IndirizziProduttore& indirizzi = Indirizzi();
    const QString programma = indirizzi.programmaAssistenza;
    // Only a program already on this machine is run: nothing is downloaded and executed.
    if (!programma.isEmpty() && EsisteFile(programma)
        && QProcess::startDetached(programma, {}, QFileInfo(programma).absolutePath())) {
        return;
    }
    if (!programma.isEmpty())
        MsgBox(QStringLiteral("Il programma  ") + programma + QStringLiteral(" non è disponibile."));
    if (!indirizzi.paginaAssistenza.isEmpty())
        Esegui(QStringLiteral("EXPLORER ") + indirizzi.paginaAssistenza);
}

} // namespace quercino
