// The registry inside the main window: "ENTRA" opens it as the only child window, and the
// dispatcher's commands 701 (add), 702 (delete) and 802 (open the registry) act on it.

#include "declarants/registry/F1OP.h"

#include "support/database_seminato.h"
#include "app/core/Globals.h"
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
        RegistraF1OP();
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

    int Righe()
    {
        return seminato.db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt();
    }

    test::DatabaseSeminato seminato;
    test::MessaggiSimulati messaggi;
    std::unique_ptr<F0> f0;
    int terminazioni = 0;
};

TEST_F(ComandiRegistroTest, EntraApreIlRegistroComeUnicaFinestraFiglia)
{
    Entra();
    ASSERT_NE(IstanzaF1OP(), nullptr);
    EXPECT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->NomeFinestraAttiva(), "F1OP");
    EXPECT_EQ(f0->Anagrafica(), IstanzaF1OP());
    EXPECT_EQ(IstanzaF1OP()->Campo("OCOD")->text(), "01");
}

TEST_F(ComandiRegistroTest, AggiungiRegistraEdElimina)
{
    Entra();
    F1OP* f = IstanzaF1OP();
    ASSERT_NE(f, nullptr);

    // No declarant chosen yet: 702 is refused, 701 works.
    CommandBars_Execute(*f0, 702, "Elimina");
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, TestoSenzaSoggetto);
    messaggi.mostrati.clear();

    f->Campo("ORAG")->setText("DELTA SRL");
    CommandBars_Execute(*f0, 701, "Aggiungi");
    EXPECT_EQ(f->Campo("ORAG")->text(), "");
    EXPECT_EQ(f->Campo("OCOD")->text(), "01");

    f->Campo("ORAG")->setText("DELTA SRL");
    f->Campo("OCF")->setText("01234567890");
    f->Campo("OPIVA")->setText("01234567890");
    f->Campo("OSINDI")->setText("VIA PO");
    f->Campo("OSNUMC")->setText("2");
    f->Campo("OSCOM")->setText("TORINO");
    f->Campo("OSPRO")->setText("TO");
    f->Campo("OSCAP")->setText("10121");
    QTest::mouseClick(&f->PulsanteRegistra(), Qt::LeftButton);
    EXPECT_EQ(Righe(), 1);
    EXPECT_EQ(CodiceOperatore, "01");

    messaggi.risposte = {RispostaNo};
    CommandBars_Execute(*f0, 702, "Elimina");
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "Confermi l'Eliminazione del soggetto: \r\nDELTA SRL?");
    EXPECT_EQ(Righe(), 1);

    messaggi.risposte = {RispostaSi};
    CommandBars_Execute(*f0, 702, "Elimina");
    EXPECT_EQ(Righe(), 0);
    EXPECT_EQ(CodiceOperatore, "");
    EXPECT_EQ(f->Griglia().RowCount(), 0);
}

TEST_F(ComandiRegistroTest, Comando802RiapreIlRegistroChiuso)
{
    seminato.db().insert(schema::COPE(), test::rigaCope("01", "ALFA SRL"));
    f0->resize(1100, 850);
    QCoreApplication::processEvents();
    Entra();
    ASSERT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    QMdiSubWindow* figlia = f0->AreaFinestre()->subWindowList().front();
    figlia->close();
    EXPECT_TRUE(figlia->isHidden());
    EXPECT_EQ(CodiceOperatore, "01");

    CommandBars_Execute(*f0, 802, " SOGGETTI OBBLIGATI  ");
    EXPECT_FALSE(figlia->isHidden());
    EXPECT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->NomeFinestraAttiva(), "F1OP");
}

} // namespace
} // namespace quercino

namespace quercino {
namespace {

TEST_F(ComandiRegistroTest, ChiudiChiedeEPoiTermina)
{
    Entra();
    auto* chiudi = IstanzaF1OP()->findChild<QPushButton*>("bannulla");
    ASSERT_NE(chiudi, nullptr);
    messaggi.risposte = {RispostaNo};
    QTest::mouseClick(chiudi, Qt::LeftButton);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "Vuoi chiudere il programma?");
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Chiudi il programma");
    EXPECT_EQ(terminazioni, 0);
    messaggi.risposte = {RispostaSi};
    QTest::mouseClick(chiudi, Qt::LeftButton);
    EXPECT_EQ(terminazioni, 1);
}

} // namespace
} // namespace quercino
