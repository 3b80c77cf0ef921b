#include "app/widgets/Applicazione.h"

#include "app/core/ErroreDatabase.h"
#include "app/core/Messaggi.h"
#include "platform/db/Database.h"

namespace quercino {

namespace {

void MostraErroreImprevisto(const std::exception* errore)
{
    QString testo = QStringLiteral("L'operazione è stata interrotta da un errore imprevisto");
    // The message itself must not throw out of here either.
    try {
        if (errore)
            testo += QStringLiteral(":\r\n") + DescrizioneErrore(*errore);
        MsgBox(testo, Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
    } catch (...) {
    }
}

} // namespace

Applicazione::Applicazione(int& argc, char** argv) : QApplication(argc, argv) {}

bool Applicazione::notify(QObject* destinatario, QEvent* evento)
{
    // An event from outside starts one command of the user; the events delivered while it
    // runs (its windows, the wait window) belong to it: one limit for its lock waits.
    const Database::Operation operazione;
    try {
        return QApplication::notify(destinatario, evento);
    } catch (const std::exception& errore) {
        MostraErroreImprevisto(&errore);
    } catch (...) {
        MostraErroreImprevisto(nullptr);
    }
    return false;
}

} // namespace quercino
