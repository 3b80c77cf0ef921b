// Renders the main window before and after "ENTRA" (offscreen) into PNG files beside the
// test program, for a person to look at, and checks that the bars really appear in it.

#include "app/core/Globals.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "app/shell/Traduzione.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

// The screen as the user sees it: the main window and the welcome window over it.
QImage Schermata(F0& f0)
{
    QApplication::processEvents();
    QImage immagine = f0.grab().toImage();
    if (f0.Benvenuto() && f0.Benvenuto()->isVisible()) {
        QPainter pittore(&immagine);
        const QPixmap benvenuto = f0.Benvenuto()->grab();
        pittore.drawPixmap((immagine.width() - benvenuto.width()) / 2,
                           (immagine.height() - benvenuto.height()) / 2, benvenuto);
    }
    return immagine;
}

class RegistroFinto final : public QLabel, public FinestraAnagrafica {
public:
    RegistroFinto() : QLabel("Elenco Soggetti Obbligati") { setObjectName("F1OP"); resize(600, 360); }
    QWidget* Finestra() override { return this; }
    void Aggiungi() override {}
    void Elimina() override {}
    void Lista() override {}
};

} // namespace

TEST(Aspetto, PrimaEDopoEntra)
{
    CaricaTraduzioneItaliana(*QCoreApplication::instance());
    test::MessaggiSimulati messaggi;
    Release = "Release 1.4.4 - 19 Aprile 2021";
    VersioneProgramma = "Versione 1.0 - Monoutente";
    RegistraAnagrafica([]() -> FinestraAnagrafica* { return new RegistroFinto; });
    {
        F0 f0;
        f0.ImpostaTermine([] {});
        f0.resize(1100, 720);
        f0.show();
        f0.MDIForm_Load();
        f0.resize(1100, 720);

        const QImage prima = Schermata(f0);
        ASSERT_FALSE(prima.isNull());
        EXPECT_TRUE(prima.save(QDir::current().filePath("F0_prima_di_ENTRA.png")));
        const int altezzaBarre = f0.centralWidget()->geometry().top();
        EXPECT_EQ(altezzaBarre, 0);   // no bar takes room yet

        f0.Benvenuto()->Command1()->click();
        const QImage dopo = Schermata(f0);
        EXPECT_TRUE(dopo.save(QDir::current().filePath("F0_dopo_ENTRA.png")));
        // Menu bar and both toolbars now stand above the child-window area.
        const int barre = f0.centralWidget()->geometry().top();
        EXPECT_GE(barre, f0.menuBar()->height() + f0.BarraArchivi()->height() - 1);
        EXPECT_NE(prima.copy(0, 0, prima.width(), barre), dopo.copy(0, 0, dopo.width(), barre));
    }
    RegistraAnagrafica({});
}
