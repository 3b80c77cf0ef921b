#include "app/widgets/Applicazione.h"

#include "app/core/ErroreDatabase.h"
#include "app/core/Messaggi.h"

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
