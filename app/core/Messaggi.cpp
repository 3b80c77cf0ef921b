#include "app/core/Messaggi.h"

#include "app/core/Globals.h"

#include <QtGlobal>

namespace quercino {

namespace {

// Used when no service is installed (a library test that installed none): nothing can be
// shown, so the answer is the one of a box closed without a choice.
class MessaggiAssenti final : public ServizioMessaggi {
public:
    int Mostra(const Messaggio& messaggio) override
    {
        qWarning("Messaggio non mostrato [%s]: %s", qUtf8Printable(messaggio.titolo),
                 qUtf8Printable(messaggio.testo));
        switch (messaggio.pulsanti) {
        case Pulsanti::Ok:
            return RispostaOk;
        case Pulsanti::SiNo:
            return RispostaNo;
        case Pulsanti::InterrompiRiprovaIgnora:
            return RispostaInterrompi;
        default:
            return RispostaAnnulla;
        }
    }
    int MostraTask(const DialogoTask& dialogo) override
    {
        qWarning("Dialogo non mostrato [%s]: %s", qUtf8Printable(dialogo.titolo),
                 qUtf8Printable(dialogo.testo));
        return 0;
    }
};

MessaggiAssenti assenti;
ServizioMessaggi* attivo = nullptr;

} // namespace

void ImpostaServizioMessaggi(ServizioMessaggi* servizio)
{
    attivo = servizio;
}

ServizioMessaggi& ServizioMessaggiAttivo()
{
    return attivo ? *attivo : assenti;
}

int MsgBox(const QString& testo, Pulsanti pulsanti, Icona icona, const QString& titolo, int predefinito)
{
    Messaggio messaggio;
    messaggio.testo = testo;
    messaggio.titolo = titolo.isEmpty() ? TitoloPredefinito : titolo;
    messaggio.icona = icona;
    messaggio.pulsanti = pulsanti;
    messaggio.predefinito = predefinito;
    return ServizioMessaggiAttivo().Mostra(messaggio);
}

void MostraMessaggio(const QString& titolo, const QString& testo, int icona,
                     const QString& pulsante1, const QString& pulsante2,
                     const QString& pulsante3, const QString& pulsante4,
                     const QString& pulsante5)
{
    QStringList pulsanti{pulsante1};
    for (const QString* altro : {&pulsante2, &pulsante3, &pulsante4, &pulsante5}) {
        if (!altro->isEmpty())
            pulsanti << *altro;
    }
    MostraMessaggio(titolo, testo, icona, pulsanti, PrimoPulsanteTask);
}

void MostraMessaggio(const QString& titolo, const QString& testo, int icona, const QStringList& pulsanti,
                     int predefinito)
{
    DialogoTask dialogo;
    dialogo.titolo = titolo;
    dialogo.testo = testo;
    dialogo.icona = icona;
    dialogo.larghezza = static_cast<int>(testo.size()) + 150;
    dialogo.pulsanti = pulsanti;
    dialogo.predefinito = predefinito;
    // A stale answer must never stand for this dialog's.
    RispostaTask = 0;
    const int numero = ServizioMessaggiAttivo().MostraTask(dialogo);
    const int ultimo = PrimoPulsanteTask + static_cast<int>(dialogo.pulsanti.size()) - 1;
    if (numero >= PrimoPulsanteTask && numero <= ultimo)
        RispostaTask = numero;
}

} // namespace quercino
