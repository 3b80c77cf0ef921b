#include "app/shell/Avvio.h"

#include "app/core/Main.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/F0.h"
#include "app/shell/Traduzione.h"
#include "app/widgets/DialoghiQt.h"
#include "app/widgets/Finestre.h"
#include "app/widgets/MessaggiQt.h"

#include <QApplication>

#include <memory>

namespace quercino {

void PreparaSchermo(QApplication& applicazione)
{
    // No display name: the desktop would append it to every caption, and the captions are
    // the program's own texts.
    QApplication::setApplicationName(QStringLiteral("Quercino"));
    CaricaTraduzioneItaliana(applicazione);
    UsaMessaggiQt();
    UsaDialoghiQt();
    AdattaFinestreAlloSchermo(applicazione);
    QApplication::setWindowIcon(IconaComando(comando::SoggettiObbligati));
}

F0* MostraFinestraPrincipale()
{
    auto* f0 = new F0;
    f0->setAttribute(Qt::WA_DeleteOnClose, false);
    f0->show();
    f0->MDIForm_Load();
    return f0;
}

int AvviaProgramma(QApplication& applicazione, const std::function<bool()>& avvioSenzaFinestre)
{
    PreparaSchermo(applicazione);
    return EseguiProgramma(avvioSenzaFinestre);
}

int EseguiProgramma(const std::function<bool()>& avvioSenzaFinestre)
{
    if (avvioSenzaFinestre && !avvioSenzaFinestre())
        return 1;
    std::unique_ptr<F0> f0(MostraFinestraPrincipale());
    const int esito = QApplication::exec();
    // The windows go before the connection they read from.
    f0.reset();
    ChiudiConnessione();
    return esito;
}

} // namespace quercino
