// The real registry inside the main window.

#include "declarants/registry/F1OP.h"

#include "support/database_seminato.h"
#include "app/core/Globals.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "platform/grid/Grid.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quercino {
namespace {

class ComandiRegistroTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(seminato.Aperto()) << seminato.Errore().toStdString();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        FormAttivo.clear();
        CollegaFinestre();
        f0 = std::make_unique<F0>();
        f0->ImpostaTermine([this] { ++terminazioni; });
        f0->show();
        f0->MDIForm_Load();
    }

    void TearDown() override { f0.reset(); }

    void Entra()
    {
        ASSERT_NE(f0->Benvenuto(), nullptr);
        QTest::mouseClick(f0->Benvenuto()->Command1(), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    test::DatabaseSeminato seminato;
    test::MessaggiSimulati messaggi;
    std::unique_ptr<F0> f0;
    int terminazioni = 0;
};

// "ENTRA" opens the registry as the only child window; its "Chiudi" asks and ends the
// program. (Adding, deleting and reopening through the bars are walked in f0_test with a
// stand-in registry and end to end in percorso_utente_test.)
TEST_F(ComandiRegistroTest, EntraEChiudi)
{
    Entra();
    ASSERT_NE(IstanzaF1OP(), nullptr);
    EXPECT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->Anagrafica()->Finestra(), IstanzaF1OP());
    auto* chiudi = IstanzaF1OP()->findChild<QPushButton*>("bannulla");
    ASSERT_NE(chiudi, nullptr);
    messaggi.risposte = {RispostaNo, RispostaSi};
    QTest::mouseClick(chiudi, Qt::LeftButton);
    EXPECT_EQ(terminazioni, 0);
    QTest::mouseClick(chiudi, Qt::LeftButton);
    EXPECT_EQ(terminazioni, 1);
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "Vuoi chiudere il programma?");
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Chiudi il programma");

    // With an unsaved edit the program ends only once the edit is dealt with.
    IstanzaF1OP()->Campo("OSINDI")->setText("VIA NUOVA");
    messaggi.mostrati.clear();
    messaggi.risposte = {RispostaSi, RispostaAnnulla, RispostaSi, RispostaNo};
    QTest::mouseClick(chiudi, Qt::LeftButton);
    EXPECT_EQ(terminazioni, 1);
    QTest::mouseClick(chiudi, Qt::LeftButton);
    EXPECT_EQ(terminazioni, 2);
    ASSERT_EQ(messaggi.mostrati.size(), 4u);
    EXPECT_EQ(messaggi.mostrati[1].testo, DomandaModifiche);
}

} // namespace
} // namespace quercino
