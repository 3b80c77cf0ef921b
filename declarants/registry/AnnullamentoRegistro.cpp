#include "declarants/registry/AnnullamentoRegistro.h"

#include "app/core/Aperture.h"
#include "app/core/Apici.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "declarants/datifattura/Annullamento.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/registry/F1OP.h"
#include "declarants/registry/Progressivo.h"

#include <QLineEdit>

namespace quercino {

namespace {

const QString titoloAnnullamento = QStringLiteral("Annullamento File Trasmesso");

// What the writer asks of the window: the save dialog and the progressive.
class RichiesteRegistro final : public datifattura::RichiesteScrittura {
public:
    explicit RichiesteRegistro(F1OP& finestra) : finestra_(finestra) {}

    QString ChiediFileXML(const QString& nomeFile) override
    {
        SalvaConNome(nomeFile, QStringLiteral("XML"));
        return FileSalva;
    }

    bool ControlloDocumento(const QString& percorso) override
    {
        return quercino::ControlloDocumento(percorso);
    }

    int PrendiProgressivo() override { return finestra_.PrendiProgressivo(); }
    void RestituisciProgressivo(int numero) override { finestra_.RestituisciProgressivo(numero); }

private:
    F1OP& finestra_;
};

} // namespace

void AvviaAnnullamento(F1OP& finestra)
{
    const QString idFile = finestra.IdFile();
    if (idFile.isEmpty()) {
        MsgBox(QStringLiteral("Indicare l'ID FILE comunicato in sede di trasmissione dall'Agenzia "
                              "del file da annullare"),
               Pulsanti::Ok, Icona::Critica, titoloAnnullamento);
        return;
    }
    MostraMessaggio(QStringLiteral("Richiesta di conferma"),
                    QStringLiteral("Confermi al creazione di una comunicazione di ANNULLAMENTO?"),
                    IconaTaskDomanda, {QStringLiteral("Si, Confermo"), QStringLiteral("NO")},
                    PrimoPulsanteTask + 1);
    if (RispostaTask != PrimoPulsanteTask)
        return;

    // A number that no file can carry (past 99999, say): refused before anything is asked.
    const QString esaurito =
        ControllaProgressivo(finestra.Campo(QStringLiteral("OPROG"))->text());
    if (!esaurito.isEmpty()) {
        MsgBox(esaurito, Pulsanti::Ok, Icona::Critica, titoloAnnullamento);
        return;
    }

    RichiesteRegistro richieste(finestra);
    QString percorso;
    try {
        percorso = datifattura::CreaAnnullamento(finestra.DatiDichiaranteCorrente(), idFile, richieste);
    } catch (const datifattura::ErroreDatiFattura& e) {
        MsgBox(e.Messaggio(), Pulsanti::Ok, Icona::Critica, titoloAnnullamento);
        return;
    }
    if (percorso.isEmpty())
        return;

    MostraMessaggio(QStringLiteral("Annullamento Comunicazione"),
                    QStringLiteral("comunicazione di ANNULLAMENTO del file ") + idFile
                        + QStringLiteral(" creata"),
                    IconaTaskInformazione, QStringLiteral("Vai al Portale dell'Agenzia"),
                    QStringLiteral("Controlla il file creato"), QStringLiteral("OK Chiudi"));
    if (RispostaTask == PrimoPulsanteTask)
        Esegui(QStringLiteral("EXPLORER ") + Virgolette(IndirizzoPortale));
    else if (RispostaTask == PrimoPulsanteTask + 1)
        ApriDocumento(percorso);
}

} // namespace quercino
