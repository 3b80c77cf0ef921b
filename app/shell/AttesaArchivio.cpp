#include "app/shell/AttesaArchivio.h"

#include "app/shell/FWaitF.h"
#include "platform/db/Database.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>

namespace quercino {

namespace {

QPointer<FWaitF> finestraAttesa;

void Attendi(std::chrono::milliseconds atteso)
{
    if (atteso >= SogliaAttesaArchivio) {
        if (!finestraAttesa) {
            QWidget* sopra = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                               : QApplication::activeWindow();
            finestraAttesa = new FWaitF(sopra);
            finestraAttesa->setAttribute(Qt::WA_DeleteOnClose);
            finestraAttesa->show();
        }
        finestraAttesa->fwSto()->setText(TestoAttesaArchivio(atteso));
    }
    // Painting and the wheel's timer only: a click now would reach the program in the middle
    // of the statement that waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Fine()
{
    if (finestraAttesa)
        finestraAttesa->close();
}

} // namespace

QString TestoAttesaArchivio(std::chrono::milliseconds atteso)
{
    const auto secondi = std::chrono::duration_cast<std::chrono::seconds>(atteso).count();
    return QStringLiteral("Un'altra postazione sta usando l'archivio\n(ad esempio per un ripristino dei dati in corso).\n"
                          "In attesa da %1 %2...")
        .arg(secondi)
        .arg(secondi == 1 ? QStringLiteral("secondo") : QStringLiteral("secondi"));
}

void CollegaAttesaArchivio()
{
    Database::setLockWaitObserver({Attendi, Fine});
}

} // namespace quercino
