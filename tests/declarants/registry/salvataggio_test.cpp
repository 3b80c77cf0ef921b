// Saving a declarant through the real windows on the three back-ends: the main window's
// "Aggiungi", the code and the fields typed, "REGISTRA" clicked. A code that belongs to another
// declarant is refused with a message naming it, the focus on the code, and that declarant's
// row is left as it was (read on a second connection); so is a shown declarant whose code is
// changed to another's. A save never lowers the stored progressive: a number typed below it,
// whether it was read so or raised meanwhile by another copy of the program, is refused.

#include "app/core/Globals.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "declarants/registry/F1OP.h"
#include "platform/grid/Grid.h"
#include "support/backup_di_prova.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace quercino {
namespace {

class Salvataggio : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        Inserisci("01", "ROSSI SPA", "00003");
        Inserisci("02", "BIANCHI SRL", "00009");
        CollegaFinestre();
        f0 = std::make_unique<F0>();
        f0->ImpostaTermine([] {});
        f0->show();
        f0->MDIForm_Load();
        QTest::mouseClick(f0->Benvenuto()->Command1(), Qt::LeftButton);
        QCoreApplication::processEvents();
        f = IstanzaF1OP();
        ASSERT_NE(f, nullptr);
        // The welcome window hidden: the main window takes the keyboard again.
        QApplication::setActiveWindow(f0.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(f0.get()));
    }

    void TearDown() override
    {
        f0.reset();
        test::DbBackendTest::TearDown();
    }

    // A company that passes every entry check.
    void Inserisci(const QString& codice, const QString& nome, const QString& progressivo)
    {
        QVariantList riga = test::SoggettoCompleto(codice, nome);
        riga[cope::OPIVA] = riga[cope::OCF] = "0123456789" + codice.right(1);
        riga[cope::OSINDI] = "VIA ROMA";
        riga[cope::OSNUMC] = "1";
        riga[cope::OSCAP] = "00100";
        riga[cope::OPROG] = progressivo;
        db().insert(schema::COPE(), riga);
    }

    // COPE as another client sees it: "OCOD ORAG OSINDI OPROG" by code.
    QStringList Archivio()
    {
        QStringList righe;
        for (const Row& r : backend().apriAltraConnessione()->query("SELECT OCOD, ORAG, OSINDI, OPROG FROM COPE ORDER BY OCOD",
                                                                   {}, std::vector<ColumnType>(4, ColumnType::Text)))
            righe << QStringList{r.text(0), r.text(1), r.text(2), r.text(3)}.join(' ');
        return righe;
    }

    // The main window's tool-bar button of a command, clicked.
    void Clic(const QString& voce)
    {
        for (QAction* azione : f0->Azioni()) {
            if (azione->text().trimmed() != voce)
                continue;
            for (QToolBar* barra : f0->findChildren<QToolBar*>()) {
                if (QWidget* pulsante = barra->widgetForAction(azione); pulsante && pulsante->isVisible()) {
                    QTest::mouseClick(pulsante, Qt::LeftButton);
                    return;
                }
            }
        }
        ADD_FAILURE() << "nessun pulsante " << voce.toStdString();
    }

    // The text typed into a field over what it held, as the user does.
    void Digita(const QString& colonna, const QString& testo)
    {
        QLineEdit* campo = f->Campo(colonna);
        campo->setFocus();
        QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(campo, Qt::Key_Delete);
        QTest::keyClicks(campo, testo);
    }

    void Registra() { QTest::mouseClick(&f->PulsanteRegistra(), Qt::LeftButton); }

    void ScegliCodice(const QString& codice)
    {
        Grid& griglia = f->Griglia();
        for (int r = 1; r <= griglia.RowCount(); ++r)
            if (griglia.CellText(r, "OCOD") == codice)
                QTest::mouseClick(griglia.viewport(), Qt::LeftButton, {},
                                  griglia.visualRect(griglia.model()->index(r - 1, 0)).center());
        QCoreApplication::processEvents();
        ASSERT_EQ(f->Campo("OCOD")->text(), codice);
    }

    QString Fuoco() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "-"; }

    test::MessaggiSimulati messaggi;
    std::unique_ptr<F0> f0;
    F1OP* f = nullptr;
};

const QStringList Iniziale = {"01 ROSSI SPA VIA ROMA 00003", "02 BIANCHI SRL VIA ROMA 00009"};

TEST_P(Salvataggio, NuovoSoggettoSulCodiceDiUnAltro)
{
    ASSERT_EQ(Archivio(), Iniziale);
    Clic("Aggiungi all'elenco attivo");
    EXPECT_EQ(Fuoco(), "vOCOD");
    Digita("OCOD", "02");
    for (const auto& [colonna, valore] : {std::pair{"ORAG", "verdi snc"}, {"OCF", "01234567893"}, {"OPIVA", "01234567893"},
                                          {"OSINDI", "via po"}, {"OSNUMC", "3"}, {"OSCOM", "TORINO"}, {"OSPRO", "TO"},
                                          {"OSCAP", "10121"}, {"OPROG", "5"}})
        Digita(colonna, valore);
    Registra();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
    EXPECT_EQ(messaggi.mostrati[0].testo, "Il codice 02 appartiene già al soggetto BIANCHI SRL: indicare un altro codice.");
    EXPECT_EQ(Fuoco(), "vOCOD");
    EXPECT_EQ(f->Campo("ORAG")->text(), "VERDI SNC") << "the user's fields stay";
    EXPECT_EQ(Archivio(), Iniziale);

    // Another code: stored beside the other two.
    Digita("OCOD", "03");
    Registra();
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(Archivio(), Iniziale + QStringList{"03 VERDI SNC VIA PO 00005"});
}

TEST_P(Salvataggio, CodiceCambiatoInQuelloDiUnAltro)
{
    ScegliCodice("01");
    Digita("OCOD", "02");
    Digita("OSINDI", "via nuova");
    Registra();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "Il codice 02 appartiene già al soggetto BIANCHI SRL: indicare un altro codice.");
    EXPECT_EQ(Fuoco(), "vOCOD");
    EXPECT_EQ(Archivio(), Iniziale);
    // A code nobody has: a second row, the first as it was.
    Digita("OCOD", "04");
    Registra();
    EXPECT_EQ(Archivio(), Iniziale + QStringList{"04 ROSSI SPA VIA NUOVA 00003"});
}

// The progressive typed below the stored one: as read (00009 shown, 00005 typed) or raised
// since by another copy of the program (00010 typed over the 00009 shown, 00012 stored). Either
// is refused on the progressive's field; the other edits wait for a number that is not lower.
TEST_P(Salvataggio, ProgressivoMaiAbbassato)
{
    const QString atteso = "Il progressivo indicato (%1) è inferiore a quello in archivio (%2): i numeri più bassi possono "
                           "essere già stati usati per file creati. Indicare un numero non inferiore a %2, oppure fare "
                           "doppio click su \"Progressivo:\" per ricominciare la numerazione.";
    ScegliCodice("02");
    Digita("OSINDI", "via nuova");
    Digita("OPROG", "5");
    Registra();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, atteso.arg("00005", "00009"));
    EXPECT_EQ(Fuoco(), "vOPROG");
    EXPECT_EQ(Archivio(), Iniziale);

    backend().apriAltraConnessione()->exec("UPDATE COPE SET OPROG = '00012' WHERE OCOD = '02'");
    Digita("OPROG", "10");
    Registra();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, atteso.arg("00010", "00012"));
    EXPECT_EQ(Archivio(), QStringList({Iniziale[0], "02 BIANCHI SRL VIA ROMA 00012"}));

    // The number left as read: the other copy's stays, the address is saved.
    Digita("OPROG", "00009");
    Registra();
    EXPECT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(Archivio(), QStringList({Iniziale[0], "02 BIANCHI SRL VIA NUOVA 00012"}));
    EXPECT_EQ(f->Campo("OPROG")->text(), "00012");
}

QUERCINO_DB_BACKENDS(Salvataggio);

} // namespace
} // namespace quercino
