#include "servizi_simulati.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace quercino::test {

MessaggiSimulati::MessaggiSimulati()
{
    ImpostaServizioMessaggi(this);
}

MessaggiSimulati::~MessaggiSimulati()
{
    if (&ServizioMessaggiAttivo() == this)
        ImpostaServizioMessaggi(nullptr);
}

int MessaggiSimulati::Mostra(const Messaggio& messaggio)
{
    mostrati.push_back(messaggio);
    if (mentreMostra)
        mentreMostra(messaggio);
    if (finestraVera && mostrati.size() < 20) {
        QDialog box(QApplication::activeWindow());
        box.setWindowTitle(messaggio.titolo);
        QTimer::singleShot(0, &box, &QDialog::accept);
        box.exec();
    }
    if (!risposte.empty()) {
        const int risposta = risposte.front();
        risposte.pop_front();
        return risposta;
    }
    switch (messaggio.pulsanti) {
    case Pulsanti::InterrompiRiprovaIgnora:
        return RispostaInterrompi;
    case Pulsanti::SiNo:
    case Pulsanti::SiNoAnnulla:
        return RispostaSi;
    case Pulsanti::RiprovaAnnulla:
        return RispostaRiprova;
    default:
        return RispostaOk;
    }
}

int MessaggiSimulati::MostraTask(const DialogoTask& dialogo)
{
    task.push_back(dialogo);
    if (!risposteTask.empty()) {
        const int risposta = risposteTask.front();
        risposteTask.pop_front();
        return risposta;
    }
    return PrimoPulsanteTask;
}

DialoghiSimulati::DialoghiSimulati()
{
    ImpostaServizioDialoghi(this);
}

DialoghiSimulati::~DialoghiSimulati()
{
    if (&ServizioDialoghiAttivo() == this)
        ImpostaServizioDialoghi(nullptr);
}

QString DialoghiSimulati::ChiediSalvataggio(const RichiestaFile& richiesta)
{
    richieste.push_back(richiesta);
    if (salvataggi.empty())
        return {};
    const QString scelto = salvataggi.front();
    salvataggi.pop_front();
    return scelto;
}

QStringList DialoghiSimulati::ChiediApertura(const RichiestaFile& richiesta, bool)
{
    richieste.push_back(richiesta);
    if (aperture.empty())
        return {};
    const QStringList scelti = aperture.front();
    aperture.pop_front();
    return scelti;
}

} // namespace quercino::test
