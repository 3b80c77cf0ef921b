// Windows within the screen: the guard every window passes as it shows, and one-line texts
// of any length elided rather than widening their window.

#include "app/widgets/EtichettaRidotta.h"
#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quercino;

TEST(Finestre, NessunaFinestraPiuGrandeDelloSchermo)
{
    AdattaFinestreAlloSchermo(*qApp);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize misure[] = {{200, 100}, {area.width() + 500, 80}, {300, area.height() * 3}, {5000, 4000}};
    for (const QSize& misura : misure) {
        QDialog finestra;
        finestra.resize(misura);
        finestra.show();
        const QSize cornice = finestra.frameGeometry().size() - finestra.size();
        EXPECT_TRUE(area.contains(finestra.frameGeometry())) << misura.width() << "x" << misura.height();
        EXPECT_EQ(finestra.frameGeometry().size(), (misura + cornice).boundedTo(area.size()));
    }
}

TEST(Finestre, TestoLungoRidottoNonAllarga)
{
    QDialog finestra;
    auto* percorso = new EtichettaRidotta(&finestra, Qt::ElideMiddle);
    (new QVBoxLayout(&finestra))->addWidget(percorso);
    percorso->setText(QStringLiteral("/home/utente/") + QString(300, QLatin1Char('c')) + QStringLiteral("/fatture.xlsx"));
    finestra.show();
    QCoreApplication::processEvents();
    EXPECT_LT(finestra.width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    const QString visibile = percorso->TestoVisibile();
    EXPECT_TRUE(visibile.startsWith(QStringLiteral("/home/")) && visibile.endsWith(QStringLiteral("fatture.xlsx")))
        << visibile.toStdString();
    EXPECT_TRUE(visibile.contains(QChar(0x2026)));
    EXPECT_LE(percorso->fontMetrics().horizontalAdvance(visibile), percorso->contentsRect().width());
}
