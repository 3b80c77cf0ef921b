// The code-table lookup, as the steps of scenari/ricerca.txt (see support/scenario.h) run
// on the three back-ends: one kind listed, searched without regard to case (quotes and
// wildcards are plain text), in the sticky sort order; the answer handed back on double
// click or left empty on close. Here also the lookup without a database.

#include "app/widgets/FTABR.h"

#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "app/widgets/RicercaTabelle.h"
#include "platform/grid/Grid.h"
#include "support/db_backends.h"
#include "support/servizi_in_scenario.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class Ricerca : public test::DbBackendTest {
protected:
    // What the grid lists, as "COD DES" lines in its order. Where "Haiti" goes by description
    // depends on the back-end's collation: it is said apart, the upper-case rest in order.
    void Elenco()
    {
        QStringList righe;
        for (int r = 1; r <= f->igTAB().RowCount(); ++r)
            righe << f->igTAB().CellText(r, "COD") + " " + f->igTAB().CellText(r, "DES");
        const bool haiti = OrdineRicerca != "COD" && righe.removeAll("HT Haiti") == 1;
        s.Stampa(QStringLiteral("%1 righe%2: %3").arg(f->igTAB().RowCount()).arg(haiti ? " (e Haiti)" : "")
                     .arg(righe.join(", ")));
    }

    void Verbi()
    {
        // "voci" with "<" lines "TIPO|COD|DES".
        s.verbi["voci"] = [this](const QString&) {
            for (const QString& riga : s.Dati()) {
                const QStringList v = riga.split('|');
                db().insert(schema::CTAB(), {v[0], v[1], v[2]});
            }
        };
        s.verbi["tabella"] = [](const QString& a) { TabellaRicerca = a; };
        s.verbi["ordine"] = [](const QString& a) { OrdineRicerca = a; };
        // A new window: its title, the order and answer it starts from, its list.
        s.verbi["apri"] = [this](const QString&) {
            CodiceScelto = "VECCHIO";
            f = std::make_unique<FTABR>();
            s.Stampa(f->vtabella()->text() + "; ordine " + OrdineRicerca + "; scelto \"" + CodiceScelto + "\"");
            Elenco();
        };
        s.verbi["cerca"] = [this](const QString& a) {
            f->ricerca()->setText(a);
            QTest::mouseClick(f->Bcerca(), Qt::LeftButton);
            Elenco();
        };
        // A click then a double click on a row, or "Chiudi" on a current row.
        s.verbi["doppio-click"] = [this](const QString& a) {
            f->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
            int riga = 0;
            while (riga < f->igTAB().RowCount() && f->igTAB().CellText(riga + 1, "COD") != a)
                ++riga;
            QTableView& vista = f->igTAB();
            const QPoint punto = vista.visualRect(vista.model()->index(riga, 1)).center();
            QTest::mouseClick(vista.viewport(), Qt::LeftButton, {}, punto);
            QTest::mouseDClick(vista.viewport(), Qt::LeftButton, {}, punto);
            Risultato();
        };
        s.verbi["chiudi"] = [this](const QString& a) {
            f->show();
            f->igTAB().SetCurrentCell(a.toInt());
            QTest::mouseClick(f->cmdChiudi(), Qt::LeftButton);
            Risultato();
        };
    }

    void Risultato()
    {
        s.Stampa(QStringLiteral("%1; scelto \"%2\" \"%3\"")
                     .arg(f->result() == QDialog::Accepted ? "accettata" : "rifiutata", CodiceScelto,
                          DescrizioneScelta));
    }

    test::Scenario s;
    test::ServiziInScenario servizi{s};
    std::unique_ptr<FTABR> f;
};

} // namespace

TEST_P(Ricerca, Passi)
{
    Verbi();
    OrdineRicerca.clear();
    EXPECT_SCENARIO(s, "scenari/ricerca.txt");
}

QUERCINO_DB_BACKENDS(Ricerca);

TEST(RicercaSenzaDatabase, ErroreEFinestraModaleChiusa)
{
    test::MessaggiSimulati messaggi;
    Database* prima = Cnn;
    Cnn = nullptr;
    TabellaRicerca = "PAESE";
    CodiceScelto = "IT";
    int righe = -1;
    QTimer::singleShot(0, [&] {
        if (auto* f = qobject_cast<FTABR*>(QApplication::activeModalWidget())) {
            righe = f->igTAB().RowCount();
            f->cmdChiudi()->click();
        }
    });
    MostraFTABR();
    Cnn = prima;
    EXPECT_EQ(righe, 0);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(OrdineValido(" cod "), "COD");
    EXPECT_EQ(OrdineValido("COD, (SELECT 1)"), "DES");
}
