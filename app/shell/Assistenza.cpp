#include "app/shell/Assistenza.h"

#include "app/core/Aperture.h"
#include "app/core/CartelleProgramma.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "app/shell/Indirizzi.h"
#include "app/shell/Scaricamento.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace quercino {

namespace {

void SegnalaErroreEmail(const QString& descrizione)
{
    MsgBox(QStringLiteral("Errore Creazione Email: \r\n") + descrizione
               + QStringLiteral("\r\n \r\nVerificare la corretta installazione di Micorsoft Outlook"),
           Pulsanti::Ok, Icona::Critica, QStringLiteral("Microsoft Outlook NON installato"));
}

// How long a fetch runs before its progress and "Annulla" are shown.
constexpr int AttesaPrimaDelProgresso = 800;

class PuntatoreOccupato {
public:
    PuntatoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~PuntatoreOccupato() { QApplication::restoreOverrideCursor(); }
    PuntatoreOccupato(const PuntatoreOccupato&) = delete;
    PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;
};

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

QString PercorsoProgrammaAssistenza(const QString& programma)
{
    const QString nome = programma.trimmed();
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')))
        return nome;
    return CartellaPubblica() + QStringLiteral("/VORNSOFTLAB/ASSISTENZA_REMOTA/") + nome;
}

bool ScaricaFile(const QString& indirizzo, const QString& percorso, const QString& sha256, QString* motivo)
{
    RegoleScaricamento regole;
    regole.sha256 = sha256;
    regole.eseguibile = true;
    Scaricamento scaricamento;

    PuntatoreOccupato occupato;
    QProgressDialog avanzamento(QStringLiteral("Scaricamento del programma di assistenza remota in corso..."),
                                QStringLiteral("Annulla"), 0, 0, QApplication::activeWindow());
    avanzamento.setWindowTitle(QStringLiteral("Assistenza Remota"));
    avanzamento.setWindowModality(Qt::ApplicationModal);
    avanzamento.setAutoClose(false);
    avanzamento.setAutoReset(false);
    avanzamento.setMinimumDuration(AttesaPrimaDelProgresso);
    avanzamento.setValue(0);
    QObject::connect(&avanzamento, &QProgressDialog::canceled, &scaricamento, &Scaricamento::Annulla);
    // Queued: the dialog turns the event loop while it updates, never inside the network's
    // own signals.
    QObject::connect(
        &scaricamento, &Scaricamento::Avanzamento, &avanzamento,
        [&avanzamento](qint64 ricevuti, qint64 totale) {
            if (totale <= 0)
                return;   // unknown length: the bar stays busy
            if (avanzamento.maximum() != 1000)
                avanzamento.setRange(0, 1000);
            // The minimum again would restart the wait before the dialog shows.
            const int millesimi = static_cast<int>(std::min<qint64>(1000, ricevuti * 1000 / totale));
            if (millesimi > avanzamento.value() && millesimi > 0)
                avanzamento.setValue(millesimi);
        },
        Qt::QueuedConnection);

    scaricamento.Avvia(indirizzo, percorso, regole);
    const bool riuscito = scaricamento.Attendi() == Scaricamento::Esito::Riuscito;
    if (motivo)
        *motivo = scaricamento.Motivo();
    return riuscito;
}

void AssistenzaRemota()
{
    // The fetch keeps the event loop turning: the command cannot start again meanwhile.
    static bool inCorso = false;
    if (inCorso)
        return;
    inCorso = true;
    const auto fine = qScopeGuard([] { inCorso = false; });

    const QString domanda =
        QStringLiteral("Controllo ed Esecuzione programma di Assistenza Remota. \r\n  \r\nConfermi?  "
                       "\r\n  \r\nPotrebbe essere necessario attendere qualche istante... ");
    // It hands the computer to someone else: No unless the user chooses otherwise.
    if (MsgBox(domanda, Pulsanti::SiNo, Icona::Informazione, QStringLiteral("Richiesta Conferma"), RispostaNo)
        != RispostaSi)
        return;

    const IndirizziProduttore indirizzi = Indirizzi();
    const QString programma = PercorsoProgrammaAssistenza(indirizzi.programmaAssistenza);
    if (!programma.isEmpty() && !EsisteFile(programma) && !indirizzi.scaricamentoAssistenza.isEmpty()) {
        CreaCartella(CartellaDi(programma));
        QString motivo;
        if (!ScaricaFile(indirizzi.scaricamentoAssistenza, programma, indirizzi.sha256Assistenza, &motivo)
            && !motivo.isEmpty())
            MsgBox(motivo, Pulsanti::Ok, Icona::Attenzione, QStringLiteral("Attenzione"));
    }
    // Started detached, as the user's own program. X11 and Wayland leave the state of a new
    // program's first window to that program: it cannot be asked to start minimised.
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
