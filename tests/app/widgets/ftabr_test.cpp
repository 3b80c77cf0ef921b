// The code-table lookup. On the three back-ends, what reaches the database: one kind
// listed, searched without regard to case (quotes and wildcards are plain text), in the
// sticky sort order. On the SQLite file, the window: the answer handed back on double
// click or left empty on close, an empty search refused.

#include "app/widgets/FTABR.h"

#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "app/widgets/RicercaTabelle.h"
#include "platform/grid/Grid.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QApplication>
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
    {"PAESE", "IT", "ITALIA"},    {"PAESE", "FR", "FRANCIA"},        {"PAESE", "GB", "REGNO UNITO"},
    {"PAESE", "HT", "Haiti"},     {"PAESE", "DE", "GERMANIA"},       {"PAESE", "CI", "COSTA D'AVORIO"},
    {"PAESE", "AT", "AUSTRIA"},   {"PAESE", "ZZ", "SCONTO 50%"},     {"CARICA", "1", "RAPPRESENTANTE LEGALE"},
    {"CARICA", "2", "ITALIANO TUTORE"}, {"DIVISA", "EUR", "EURO"},
};

class Ricerca : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        if (HasFatalFailure())
            return;
        for (const Voce& v : Tabella)
            db().insert(schema::CTAB(), {QString(v.tipo), QString(v.cod), QString(v.des)});
        TabellaRicerca = "PAESE";
        OrdineRicerca.clear();
        CodiceScelto = "VECCHIO";
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
            if (tipo == v.tipo && (cerca.isEmpty() || QString(v.cod).contains(cerca, Qt::CaseInsensitive)
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

    static void Cerca(FTABR& f, const QString& testo)
    {
        f.ricerca()->setText(testo);
        QTest::mouseClick(f.Bcerca(), Qt::LeftButton);
    }

    test::MessaggiSimulati messaggi;
};

class RicercaFinestra : public Ricerca {};

} // namespace

TEST_P(Ricerca, ElencoPerDescrizioneERicercaSenzaMaiuscole)
{
    FTABR f;
    EXPECT_EQ(f.vtabella()->text(), "Ricerca Elenco PAESI");
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(OrdineRicerca, "DES");
    // Where "Haiti" goes depends on the back-end's collation; the upper-case rest must
    // come in plain order.
    QStringList elenco = Elenco(f);
    QStringList atteso = Atteso("PAESE", "", false);
    EXPECT_EQ(elenco.size(), atteso.size());
    EXPECT_EQ(elenco.removeAll("HT Haiti"), 1);
    atteso.removeAll("HT Haiti");
    EXPECT_EQ(elenco, atteso);

    OrdineRicerca = "COD";
    FTABR g;
    // A quote is a plain character, and so are the wildcards; other kinds never show.
    for (const char* testo : {"it", "d'avorio", "%", "_", "X' OR '1'='1", "tutore"}) {
        Cerca(g, testo);
        EXPECT_EQ(Elenco(g), Atteso("PAESE", testo, true)) << testo;
    }
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_P(Ricerca, OrdineCheResta)
{
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
    // Nothing but the two columns can reach the statement.
    OrdineRicerca = "DES; DROP TABLE CTAB";
    FTABR g;
    EXPECT_EQ(Elenco(g).size(), 8);
    EXPECT_EQ(Elenco(g).first(3), (QStringList{"AT AUSTRIA", "CI COSTA D'AVORIO", "FR FRANCIA"}));
    EXPECT_TRUE(messaggi.mostrati.empty());
}

QUERCINO_DB_BACKENDS(Ricerca);

TEST_P(RicercaFinestra, DoppioClickRestituisceChiudereNo)
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
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(CodiceScelto, "IT");
    EXPECT_EQ(DescrizioneScelta, "ITALIA");

    FTABR g;
    g.show();
    g.igTAB().SetCurrentCell(2);
    QTest::mouseClick(g.cmdChiudi(), Qt::LeftButton);
    EXPECT_EQ(g.result(), QDialog::Rejected);
    EXPECT_EQ(CodiceScelto, "");
    EXPECT_EQ(DescrizioneScelta, "");
    // A kind without a title of its own.
    TabellaRicerca = "NAZIONI";
    FTABR h;
    EXPECT_EQ(h.vtabella()->text(), " Ricerca NAZIONI");
    EXPECT_EQ(h.igTAB().RowCount(), 0);
}

QUERCINO_DB_SOLO_FILE(RicercaFinestra);

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
