// Nation and role codes typed by hand into the registry's boxes, through the real window on
// the three back-ends: leaving the box with Tab looks the code up in the code table and puts
// its description beside it, or shows the code's error (the description emptied, the focus
// kept on the code). The descriptions take no typing, and what REGISTRA stores is read back
// on a second connection.

#include "app/core/Globals.h"
#include "declarants/registry/F1OP.h"
#include "support/backup_di_prova.h"
#include "support/casi.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace quercino {
namespace {

class CodiciDigitati : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        for (const auto& [tipo, codice, descrizione] :
             {std::tuple{"PAESE", "IT", "ITALIA"}, {"PAESE", "FR", "FRANCIA"}, {"PAESE", "DE", "GERMANIA"},
              {"CARICA", "1", "RAPPRESENTANTE LEGALE"}, {"CARICA", "7", "EREDE"},
              {"CARICA", "15", "COMMISSARIO LIQUIDATORE DI UNA PUBBLICA AMMINISTRAZIONE"}})
            db().insert(schema::CTAB(), {tipo, codice, descrizione});
        QVariantList riga = test::SoggettoCompleto("01", "ROSSI SPA");
        riga[cope::OPIVA] = "01234567890";
        riga[cope::OSNUMC] = "1";
        riga[cope::OSCAP] = "47121";
        riga[cope::ODICPIVA] = "RSSMRA80A01H501U";
        riga[cope::ODICCARICA] = "1";
        riga[cope::ODICCARICAD] = "RAPPRESENTANTE LEGALE";
        riga[cope::OSOPAESE] = "IT";
        riga[cope::OSOPAESED] = "ITALIA";
        db().insert(schema::COPE(), riga);
        messaggi.finestraVera = true;
        Apri();
    }

    void TearDown() override
    {
        finestra.reset();
        test::DbBackendTest::TearDown();
    }

    void Apri()
    {
        finestra = std::make_unique<F1OP>();
        f = finestra.get();
        f->resize(900, 700);
        f->show();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f));
        ASSERT_EQ(f->Campo("OCOD")->text(), "01");
    }

    // The box shown on its page, its text replaced by `testo` typed key by key, then Tab.
    void DigitaELascia(const QString& colonna, const QString& testo)
    {
        // The window active again after the last message box, as the window manager gives
        // it back (the offscreen platform gives it to none).
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f));
        QLineEdit* campo = f->Campo(colonna);
        for (int i = 0; i < f->Pagine().count(); ++i)
            if (f->Pagine().widget(i)->isAncestorOf(campo))
                f->Pagine().setCurrentIndex(i);
        campo->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(campo, Qt::Key_Delete);
        QTest::keyClicks(campo, testo);
        QTest::keyClick(campo, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    // The stored row's code and description columns, as another client reads them.
    QString Archiviato(const QString& colonna)
    {
        const QString sql = "SELECT " + colonna + ", " + colonna + "D FROM COPE WHERE OCOD = '01'";
        const auto righe = backend().apriAltraConnessione()->query(sql, {}, {ColumnType::Text, ColumnType::Text});
        return righe.size() == 1 ? righe[0].text(0) + " " + righe[0].text(1) : "(nessuna riga)";
    }

    // The window's focus widget: the one that has the focus whenever the window is active.
    QString Fuoco() const { return f->focusWidget() ? f->focusWidget()->objectName() : "-"; }

    test::MessaggiSimulati messaggi;
    std::unique_ptr<F1OP> finestra;
    F1OP* f = nullptr;
};

TEST_P(CodiciDigitati, DescrizioneDalCodiceOErrore)
{
    for (const test::Caso& c : test::Casi(__FILE__, "casi/codici_digitati.tsv")) {
        f->Lista();
        messaggi.mostrati.clear();
        const QString colonna = c[0];
        DigitaELascia(colonna, c[1]);
        EXPECT_EQ(f->Campo(colonna)->text(), c[2]) << c;
        EXPECT_EQ(f->Campo(colonna + "D")->text(), c[3]) << c;
        if (c[4].isEmpty()) {
            EXPECT_TRUE(messaggi.mostrati.empty()) << c << ": " << messaggi.mostrati.front().testo.toStdString();
            EXPECT_NE(Fuoco(), "v" + colonna) << c;
        } else {
            ASSERT_EQ(messaggi.mostrati.size(), 1u) << c;
            EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore") << c;
            EXPECT_EQ(messaggi.mostrati[0].testo.trimmed(), c[4]) << c;
            EXPECT_EQ(Fuoco(), "v" + colonna) << c << ": the code stays to be mended";
        }
        EXPECT_TRUE(f->Campo(colonna + "D")->isReadOnly()) << c;
    }
}

// What the boxes show is what REGISTRA stores, code and description together.
TEST_P(CodiciDigitati, RegistraCodiceEDescrizione)
{
    ASSERT_EQ(Archiviato("OSPAESE"), "IT ITALIA");
    DigitaELascia("OSPAESE", "fr");
    DigitaELascia("OSOPAESE", "de");
    DigitaELascia("ODICCARICA", "7");
    // A description typed into takes nothing: it follows its code only.
    QLineEdit* descrizione = f->Campo("ODICCARICAD");
    descrizione->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(descrizione, "ALTRO");
    EXPECT_EQ(descrizione->text(), "EREDE");
    QTest::mouseClick(&f->PulsanteRegistra(), Qt::LeftButton);
    EXPECT_TRUE(messaggi.mostrati.empty()) << messaggi.mostrati.front().testo.toStdString();
    EXPECT_EQ(Archiviato("OSPAESE"), "FR FRANCIA");
    EXPECT_EQ(Archiviato("OSOPAESE"), "DE GERMANIA");
    EXPECT_EQ(Archiviato("ODICCARICA"), "7 EREDE");
}

QUERCINO_DB_BACKENDS(CodiciDigitati);

} // namespace
} // namespace quercino
