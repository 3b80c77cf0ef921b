// Another copy of the program holds the archive (reads and writes locked, as a long restore
// does) while the user imports two CSV files at once from the registry window, the longest
// wait lowered to 2 seconds: the wait window shows once, the import stops with the Italian
// message of the limit, and after it no wait starts again, neither for the second file nor
// for the registry's list reloaded after the import. The next command, the archive free, is
// an operation of its own: it writes both files without a wait. What the user saw, in
// order, is compared whole; the archive is read on another connection.

#include "app/core/Globals.h"
#include "app/shell/AttesaArchivio.h"
#include "app/shell/FWaitF.h"
#include "attesa_vista.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "support/backup_di_prova.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class LimiteAttesa : public test::DbBackendTest {};

// The lock another copy would hold: every read and write of COPE waits for it.
void BloccaArchivio(Database& altra)
{
    if (altra.dialect() == Database::Dialect::PostgreSQL) {
        altra.begin();
        altra.exec("LOCK TABLE COPE IN ACCESS EXCLUSIVE MODE");
    } else {
        altra.exec("BEGIN EXCLUSIVE");
    }
}

void LiberaArchivio(Database& altra)
{
    if (altra.dialect() == Database::Dialect::PostgreSQL)
        altra.rollback();
    else
        altra.exec("ROLLBACK");
}

TEST_P(LimiteAttesa, UnaSolaAttesaPoiLOperazioneFinisce)
{
    QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
    for (const auto& [colonna, valore] : {std::pair{cope::OPIVA, "01234567890"}, {cope::OSNUMC, "1"}, {cope::OSCAP, "47121"},
                                          {cope::OPROG, "00005"}})
        soggetto[colonna] = valore;
    db().insert(schema::COPE(), soggetto);
    QTemporaryDir cartella;
    const QByteArray riga = "10000000000;;ALFA SRL;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;15/01/2017;N1;1000;220;22\r\n";
    ASSERT_TRUE(test::ScriviFile(cartella.filePath("emesse.csv"), "FATTURE EMESSE\r\n\r\n\r\n" + riga));
    ASSERT_TRUE(test::ScriviFile(cartella.filePath("altre.csv"), "FATTURE EMESSE\r\n\r\n\r\n" + riga));
    auto altra = backend().apriAltraConnessione();

    // What the user sees, in order: each wait window once, as it first shows, and each box.
    QStringList visto;
    QPointer<FWaitF> attesaVista;
    QTimer guarda;
    guarda.setInterval(20);
    QObject::connect(&guarda, &QTimer::timeout, [&] {
        if (const QString attesa = NuovaAttesa(attesaVista); !attesa.isEmpty())
            visto << "attesa: " + attesa;
    });
    test::MessaggiSimulati messaggi;
    messaggi.mentreMostra = [&](const Messaggio& m) { visto << m.titolo + ": " + QString(m.testo).replace("\r\n", " "); };
    test::DialoghiSimulati dialoghi;
    RegistraFinestraImportazione();
    CollegaAttesaArchivio();
    const auto limitePrima = Database::lockWaitLimit();
    Database::setLockWaitLimit(std::chrono::seconds(2));
    {
        F1OP registro;
        registro.show();
        // "Elabora foglio Excel / CSV" clicked, both files chosen and imported; with
        // `bloccato` the archive is locked once the import window shows.
        const auto importa = [&](bool bloccato) {
            registro.OpzioneNuoviDati().click();
            registro.findChild<QLineEdit*>("IDFILE")->setText("123456");
            dialoghi.aperture = {{cartella.filePath("emesse.csv"), cartella.filePath("altre.csv")}};
            dialoghi.salvataggi = {cartella.filePath("IT01234567890_DF_00005.xml"),
                                   cartella.filePath("IT01234567890_DF_00006.xml")};
            QTimer::singleShot(0, [&, bloccato] {
                auto* finestra = qobject_cast<FImpEX*>(QApplication::activeModalWidget());
                ASSERT_NE(finestra, nullptr);
                if (bloccato)
                    BloccaArchivio(*altra);
                finestra->OpzioneCsv().click();
                QTest::mouseClick(&finestra->PulsanteImporta(), Qt::LeftButton);
            });
            guarda.start();
            QTest::mouseClick(&registro.PulsanteElabora(), Qt::LeftButton);
            guarda.stop();
        };
        importa(true);
        LiberaArchivio(*altra);
        EXPECT_EQ(visto, QStringList({"attesa: Un'altra postazione sta usando l'archivio (ad esempio per un ripristino dei "
                                      "dati in corso).",
                                      "Errore: Importazione interrotta: L'archivio è bloccato da un'altra postazione da "
                                      "oltre 2 secondi (ad esempio per un ripristino dei dati in corso): riprovare al "
                                      "termine dell'operazione."}));
        ASSERT_EQ(messaggi.task.size(), 1u);
        EXPECT_TRUE(messaggi.task[0].testo.contains("INTERROTTA ALLA RIGA 4")) << messaggi.task[0].testo.toStdString();
        EXPECT_EQ(altra->scalar("SELECT OPROG FROM COPE WHERE OCOD = '01'", {}, ColumnType::Text)->toString(), "00005");
        EXPECT_EQ(QDir(cartella.path()).entryList({"*.xml"}, QDir::Files), QStringList());

        // The next command is an operation of its own: the archive free, nothing waits.
        visto.clear();
        importa(false);
        EXPECT_EQ(visto, QStringList());
        EXPECT_EQ(messaggi.task.size(), 3u);
    }
    Database::setLockWaitLimit(limitePrima);
    Database::setLockWaitObserver({});
    EXPECT_EQ(altra->scalar("SELECT OPROG FROM COPE WHERE OCOD = '01'", {}, ColumnType::Text)->toString(), "00007");
    EXPECT_EQ(QDir(cartella.path()).entryList({"*.xml"}, QDir::Files),
              QStringList({"IT01234567890_DF_00005.xml", "IT01234567890_DF_00006.xml"}));
}

QUERCINO_DB_BACKENDS(LimiteAttesa);

} // namespace
