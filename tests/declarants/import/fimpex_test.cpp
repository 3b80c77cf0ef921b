// The import window on the offscreen platform: the options, and an import run from the
// button with the window kept responsive and locked meanwhile.

#include "import_fixture.h"

#include "declarants/import/FImpEX.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

using namespace import_fixture;

// The chosen kind is shown in bold (the declarant's name shown and the default separator
// are exercised by the road through the program, percorso_utente_test).
TEST(FImpEX, IlTipoSceltoInGrassetto)
{
    Ambiente a;
    quercino::FImpEX finestra(a.dichiarante);
    finestra.show();
    EXPECT_FALSE(finestra.Avanzamento().isVisible());
    EXPECT_TRUE(finestra.OpzioneExcel().isChecked() && finestra.OpzioneExcel().font().bold());
    finestra.OpzioneCsv().click();
    EXPECT_TRUE(finestra.OpzioneCsv().font().bold());
    EXPECT_FALSE(finestra.OpzioneExcel().font().bold());
}

TEST(FImpEX, AnImportFromTheButtonLocksTheWindowAndClosesItAtTheEnd)
{
    Ambiente a;
    const QString csv = a.File(QStringLiteral("emesse.csv"));
    ScriviFile(csv, "FATTURE EMESSE;\r\n\r\n\r\n12345678901;;ALFA;;;;;;;;IT;;TD01;01/02/2018;1;10\r\n"
                    "12345678902;;BETA;;;;;;;;IT;;TD01;01/02/2018;2;10\r\n");
    a.dialoghi.aperture = {{csv}};
    a.dialoghi.salvataggi = {a.File(QStringLiteral("uscita.xml"))};
    // The window as the import finds it each time it asks for the declarant.
    bool pulsanteAttivo = true, annullaAttivo = true, avanzamentoVisibile = false;
    quercino::FImpEX finestra(a.dichiarante);
    a.dichiarante.osserva = [&] {
        pulsanteAttivo = finestra.PulsanteImporta().isEnabled();
        annullaAttivo = finestra.PulsanteAnnulla().isEnabled();
        avanzamentoVisibile = finestra.Avanzamento().isVisible();
    };
    finestra.show();
    finestra.OpzioneCsv().setChecked(true);

    // A timer due at once fires during the import only if the window processes events.
    bool timerScattato = false;
    bool finito = false;
    bool scattatoPrimaDellaFine = false;
    QTimer::singleShot(0, [&] {
        timerScattato = true;
        scattatoPrimaDellaFine = !finito;
    });
    finestra.PulsanteImporta().click();
    finito = true;

    EXPECT_TRUE(timerScattato);
    EXPECT_TRUE(scattatoPrimaDellaFine);
    EXPECT_FALSE(pulsanteAttivo);
    EXPECT_FALSE(annullaAttivo);
    EXPECT_TRUE(avanzamentoVisibile);
    EXPECT_EQ(finestra.NomeFile().text(), csv);
    EXPECT_EQ(finestra.RigaLetta().text(), QStringLiteral("5"));
    EXPECT_EQ(finestra.result(), QDialog::Accepted);
    EXPECT_FALSE(finestra.isVisible());
    EXPECT_TRUE(finestra.PulsanteImporta().isEnabled());
    ASSERT_EQ(finestra.Esiti().size(), 1u);
    EXPECT_EQ(finestra.Esiti()[0].FileScritti, QStringList{a.File(QStringLiteral("uscita.xml"))});
    EXPECT_TRUE(ValidoPerSchema(a.File(QStringLiteral("uscita.xml"))));
}

TEST(FImpEX, AnEmptySeparatorKeepsTheWindowOpen)
{
    Ambiente a;
    quercino::FImpEX finestra(a.dichiarante);
    finestra.show();
    finestra.OpzioneCsv().setChecked(true);
    finestra.Separatore().clear();
    finestra.PulsanteImporta().click();
    EXPECT_TRUE(finestra.isVisible());
    ASSERT_EQ(a.messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(a.dialoghi.richieste.empty());
}

// A name or a path of any length never widens the window past the screen (both are elided):
// "Annulla" and the separator stay in sight.
TEST(FImpEX, LongNameAndPathStayWithinTheScreen)
{
    Ambiente a;
    quercino::NomeOperatore = QString(296, QLatin1Char('A'));
    quercino::FImpEX finestra(a.dichiarante);
    finestra.show();
    finestra.NomeFile().setText(a.File(QString(250, QLatin1Char('c')) + QStringLiteral("/fatture.xlsx")));
    finestra.Avanzamento().show();
    QCoreApplication::processEvents();
    EXPECT_LE(finestra.frameGeometry().width(), finestra.screen()->availableGeometry().width());
    for (const QWidget* w : {static_cast<QWidget*>(&finestra.PulsanteAnnulla()), static_cast<QWidget*>(&finestra.Separatore())})
        EXPECT_TRUE(finestra.rect().contains(QRect(w->mapTo(&finestra, QPoint()), w->size())));
}
