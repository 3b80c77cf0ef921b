#include "app/core/DialoghiFile.h"

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"

namespace quercino {

namespace {

class DialoghiAssenti final : public ServizioDialoghi {
public:
    QString ChiediSalvataggio(const RichiestaFile&) override { return {}; }
    QStringList ChiediApertura(const RichiestaFile&, bool) override { return {}; }
};

DialoghiAssenti assenti;
ServizioDialoghi* attivo = nullptr;

} // namespace

void ImpostaServizioDialoghi(ServizioDialoghi* servizio)
{
    attivo = servizio;
}

ServizioDialoghi& ServizioDialoghiAttivo()
{
    return attivo ? *attivo : assenti;
}

QString FiltroTipoFile(const QString& estensione)
{
    return QStringLiteral("Tipo File %1 (*.%2 *.%3)")
        .arg(estensione, estensione.toLower(), estensione.toUpper());
}

bool ControlloDocumento(const QString& percorso)
{
    if (!EsisteFile(percorso))
        return false;
    const QString testo = QStringLiteral("Il documento \r\n \r\n") + DividiPercorso(percorso, false)
                          + QStringLiteral("\r\n \r\nesiste già. Vuoi sostituirlo?  ");
    return MsgBox(testo, Pulsanti::SiNo, Icona::Informazione, QStringLiteral("Controllo Documento"), RispostaNo)
           != RispostaSi;
}

void SalvaConNome(const QString& nomeProposto, const QString& estensione, const QString& cartella)
{
    FileSalva.clear();
    RichiestaFile richiesta;
    richiesta.titolo = QStringLiteral("Indica dove salvare il file ") + estensione;
    if (!cartella.isEmpty())
        richiesta.cartella = cartella;
    else if (!UltimaCartella.isEmpty())
        richiesta.cartella = UltimaCartella;
    else
        richiesta.cartella = CartellaDesktop();
    richiesta.nomeFile = nomeProposto;
    richiesta.filtri << FiltroTipoFile(estensione);
    richiesta.estensione = estensione.toLower();

    QString scelto;
    do {
        scelto = ServizioDialoghiAttivo().ChiediSalvataggio(richiesta);
        if (scelto.isEmpty())
            return;
    } while (ControlloDocumento(scelto));

    FileSalva = scelto;
    UltimaCartella = CartellaDi(scelto);
}

} // namespace quercino
