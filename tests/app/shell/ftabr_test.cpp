// The code-table lookup on the three database back-ends: listing one kind, searching
// without regard to case (quotes and wildcards are plain text), the sticky sort order,
// and the answer handed back on double click or left empty on close.

#include "app/shell/FTABR.h"

#include "support/db_backends.h"
#include "messaggi_registrati.h"
#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "app/shell/RicercaTabelle.h"
#include "platform/grid/Grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quercino;

namespace {

struct Voce {
    const char* tipo;
    const char* cod;
    const char* des;
};

// Codes and descriptions sort differently, and "it" hides in several places: in a code,
// at the start, middle and end of a description, and in lower case.
const Voce Tabella[] = {
    {"PAESE", "IT", "ITALIA"},
    {"PAESE", "FR", "FRANCIA"},
    {"PAESE", "GB", "REGNO UNITO"},
    {"PAESE", "HT", "Haiti"},
    {"PAESE", "DE", "GERMANIA"},
    {"PAESE", "CI", "COSTA D'AVORIO"},
    {"PAESE", "AT", "AUSTRIA"},
    {"PAESE", "ZZ", "SCONTO 50%"},
    {"CARICA", "1", "RAPPRESENTANTE LEGALE"},
    {"CARICA", "2", "ITALIANO TUTORE"},
    {"DIVISA", "EUR", "EURO"},
};

class Ricerca : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        for (const Voce& v : Tabella)
            db().insert(schema::CTAB(), {QString(v.tipo), QString(v.cod), QString(v.des)});
        TabellaRicerca = "PAESE";
        OrdineRicerca.clear();
        CodiceScelto = "VECCHIO";
        DescrizioneScelta = "VECCHIA";
    }

    // What the grid lists, as "COD DES" lines in its order.
    static QStringList Elenco(const FTABR& f)
    {
        QStringList righe;
        for (int r = 1; r <= f.igTAB().RowCount(); ++r)
            righe << f.igTAB().CellText(r, "COD") + " " + f.igTAB().CellText(r, "DES");
        return righe;
    }

    // The oracle: the same rows filtered and sorted here, from the test's own data.
    static QStringList Atteso(const QString& tipo, const QString& cerca, bool perCodice)
    {
        std::vector<Voce> scelte;
        for (const Voce& v : Tabella)
            if (tipo == v.tipo
                && (cerca.isEmpty() || QString(v.cod).contains(cerca, Qt::CaseInsensitive)
                    || QString(v.des).contains(cerca, Qt::CaseInsensitive)))
                scelte.push_back(v);
        std::sort(scelte.begin(), scelte.end(), [&](const Voce& a, const Voce& b) {
            const int c = perCodice ? qstrcmp(a.cod, b.cod) : qstrcmp(a.des, b.des);
            return c != 0 ? c < 0 : qstrcmp(perCodice ? a.des : a.cod, perCodice ? b.des : b.cod) < 0;
        });
        QStringList righe;
        for (const Voce& v : scelte)
            righe << QString(v.cod) + " " + v.des;
        return righe;
    }

    void Cerca(FTABR& f, const QString& testo)
    {
        f.ricerca()->setText(testo);
        QTest::mouseClick(f.Bcerca(), Qt::LeftButton);
    }

    test::MessaggiRegistrati messaggi;
};

} // namespace

TEST_P(Ricerca, ListsTheKindSortedByDescriptionAtFirst)
{
    FTABR f;
    EXPECT_EQ(f.windowTitle(), "Ricerca Tabelle");
    EXPECT_EQ(f.vtabella()->text(), "Ricerca Elenco PAESI");
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(DescrizioneScelta, "");
    EXPECT_EQ(OrdineRicerca, "DES");
    // Where "Haiti" goes depends on the back-end's collation; the upper-case rest must
    // come in plain order.
    const QStringList elenco = Elenco(f);
    EXPECT_EQ(elenco.size(), 8);
    QStringList maiuscole = Atteso("PAESE", "", false);
    EXPECT_EQ(QSet<QString>(elenco.begin(), elenco.end()),
              QSet<QString>(maiuscole.begin(), maiuscole.end()));
    maiuscole.removeAll("HT Haiti");
    QStringList senzaHaiti = elenco;
    senzaHaiti.removeAll("HT Haiti");
    EXPECT_EQ(senzaHaiti, maiuscole);

    ASSERT_EQ(f.igTAB().Model().ColumnCount(), 2);
    EXPECT_EQ(f.igTAB().Model().headerData(0, Qt::Horizontal).toString(), "Codice");
    EXPECT_EQ(f.igTAB().Model().headerData(1, Qt::Horizontal).toString(), "Descrizione");
    EXPECT_EQ(f.igTAB().Model().Column(0).width, 40);
    EXPECT_GE(f.igTAB().ColumnWidth("COD"), 40);
    EXPECT_EQ(f.igTAB().ColumnWidth("DES"), 750);
    EXPECT_EQ(f.igTAB().DefaultRowHeight(), 19);
    EXPECT_TRUE(f.igTAB().HeaderFont().bold());
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_P(Ricerca, FindsItInCodesAndDescriptionsWhateverTheCase)
{
    OrdineRicerca = "COD";
    FTABR f;
    Cerca(f, "it");
    EXPECT_EQ(Elenco(f), Atteso("PAESE", "it", true));
    EXPECT_EQ(Elenco(f).size(), 3);  // IT ITALIA, GB REGNO UNITO, HT Haiti
    EXPECT_FALSE(Elenco(f).contains("CI COSTA D'AVORIO"));

    // A quote is a plain character, and so are the wildcards.
    Cerca(f, "d'avorio");
    EXPECT_EQ(Elenco(f), (QStringList{"CI COSTA D'AVORIO"}));
    Cerca(f, "%");
    EXPECT_EQ(Elenco(f), (QStringList{"ZZ SCONTO 50%"}));
    Cerca(f, "_");
    EXPECT_TRUE(Elenco(f).isEmpty());
    Cerca(f, "X' OR '1'='1");
    EXPECT_TRUE(Elenco(f).isEmpty());
    EXPECT_TRUE(messaggi.mostrati.empty());
    // Another kind's rows never show.
    Cerca(f, "tutore");
    EXPECT_TRUE(Elenco(f).isEmpty());
}

TEST_P(Ricerca, EachSearchAppliesOnceAndResetListsAllAgain)
{
    FTABR f;
    const QStringList tutti = Elenco(f);
    Cerca(f, "IT");
    const QStringList trovati = Elenco(f);
    EXPECT_EQ(trovati.size(), 3);
    // The pending text was used up, but pressing again searches again.
    QTest::mouseClick(f.Bcerca(), Qt::LeftButton);
    EXPECT_EQ(Elenco(f), trovati);
    f.CaricaTabella();
    EXPECT_EQ(Elenco(f), tutti);
    Cerca(f, "IT");
    QTest::mouseClick(f.BAnnullaCerca(), Qt::LeftButton);
    EXPECT_EQ(Elenco(f), tutti);
    EXPECT_EQ(f.ricerca()->text(), "IT");
}

TEST_P(Ricerca, AnEmptySearchIsAFieldErrorAndKeepsTheList)
{
    FTABR f;
    Cerca(f, "fra");
    const QStringList prima = Elenco(f);
    Cerca(f, "");
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
    EXPECT_EQ(messaggi.mostrati[0].testo,
              "Indicare un valore da cercare all'interno della tabella");
    EXPECT_EQ(Elenco(f), prima);
    Cerca(f, "   ");
    EXPECT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(Elenco(f), prima);
}

TEST_P(Ricerca, TheSortOrderIsSticky)
{
    {
        FTABR f;
        EXPECT_EQ(OrdineRicerca, "DES");
    }
    OrdineRicerca = "COD";  // as the role lookup sets it
    TabellaRicerca = "CARICA";
    {
        FTABR f;
        EXPECT_EQ(f.vtabella()->text(), "Ricerca Elenco CODICI DI CARICA");
        EXPECT_EQ(Elenco(f), Atteso("CARICA", "", true));
    }
    TabellaRicerca = "PAESE";
    FTABR f;
    EXPECT_EQ(OrdineRicerca, "COD");
    EXPECT_EQ(Elenco(f), Atteso("PAESE", "", true));
    EXPECT_EQ(Elenco(f).first(), "AT AUSTRIA");

    // Nothing but the two columns can reach the statement.
    OrdineRicerca = "DES; DROP TABLE CTAB";
    FTABR g;
    EXPECT_EQ(Elenco(g).size(), 8);
    EXPECT_EQ(Elenco(g).first(), "AT AUSTRIA");
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_P(Ricerca, DoubleClickHandsBackCodeAndDescription)
{
    OrdineRicerca = "COD";
    FTABR f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    Cerca(f, "it");
    const int riga = Elenco(f).indexOf("IT ITALIA");
    ASSERT_GE(riga, 0);
    QTableView& view = f.igTAB();
    const QPoint punto = view.visualRect(view.model()->index(riga, 1)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, punto);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(CodiceScelto, "IT");
    EXPECT_EQ(DescrizioneScelta, "ITALIA");
}

TEST_P(Ricerca, ClosingHandsBackNothing)
{
    FTABR f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.igTAB().SetCurrentCell(2);
    QTest::mouseClick(f.cmdChiudi(), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(DescrizioneScelta, "");

    // No current row: a double click elsewhere chooses nothing and the window stays.
    FTABR g;
    g.igTAB_DblClick();
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(g.result(), 0);
}

TEST_P(Ricerca, AKindWithoutATitleOfItsOwn)
{
    TabellaRicerca = "DIVISA";
    {
        FTABR f;
        EXPECT_EQ(f.vtabella()->text(), "Ricerca Elenco DIVISE");
        EXPECT_EQ(Elenco(f), (QStringList{"EUR EURO"}));
    }
    TabellaRicerca = "NAZIONI";
    FTABR f;
    EXPECT_EQ(f.vtabella()->text(), " Ricerca NAZIONI");
    EXPECT_EQ(f.igTAB().RowCount(), 0);
}

QUERCINO_DB_BACKENDS(Ricerca);

TEST(RicercaSenzaDatabase, ReportsTheMissingConnectionAndListsNothing)
{
    test::MessaggiRegistrati messaggi;
    Database* prima = Cnn;
    Cnn = nullptr;
    TabellaRicerca = "PAESE";
    FTABR f;
    Cnn = prima;
    EXPECT_EQ(f.igTAB().RowCount(), 0);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
}

TEST(RicercaSenzaDatabase, TitlesAndSortColumns)
{
    EXPECT_EQ(TitoloRicerca("PAESE"), "Ricerca Elenco PAESI");
    EXPECT_EQ(TitoloRicerca("CARICA"), "Ricerca Elenco CODICI DI CARICA");
    EXPECT_EQ(TitoloRicerca("DIVISA"), "Ricerca Elenco DIVISE");
    EXPECT_EQ(TitoloRicerca("paese"), " Ricerca paese");
    EXPECT_EQ(TitoloRicerca(""), " Ricerca ");
    EXPECT_EQ(OrdineValido(""), "DES");
    EXPECT_EQ(OrdineValido("COD"), "COD");
    EXPECT_EQ(OrdineValido(" cod "), "COD");
    EXPECT_EQ(OrdineValido("DES"), "DES");
    EXPECT_EQ(OrdineValido("COD, (SELECT 1)"), "DES");
}

TEST(RicercaSenzaDatabase, MostraFTABRRunsAFreshModalWindowUntilItCloses)
{
    test::MessaggiRegistrati messaggi;
    Database* prima = Cnn;
    Cnn = nullptr;
    TabellaRicerca = "PAESE";
    CodiceScelto = "IT";
    QString modale;
    bool modaleVista = false;
    QTimer::singleShot(0, [&] {
        if (auto* f = qobject_cast<FTABR*>(QApplication::activeModalWidget())) {
            modaleVista = true;
            modale = f->windowTitle();
            f->cmdChiudi()->click();
        }
    });
    MostraFTABR();
    Cnn = prima;
    EXPECT_TRUE(modaleVista);
    EXPECT_EQ(modale, "Ricerca Tabelle");
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
