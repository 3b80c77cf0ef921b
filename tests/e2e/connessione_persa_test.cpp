// The server ends the program's connection to PostgreSQL (pg_terminate_backend from another
// connection) during an import started with the mouse from the registry window and the
// import window: before the first row, or at a rejected row (500) of the first of two files.
// The user is told that the connection was lost, nothing crashes, and the files written
// agree with the progressive stored (read on another connection). An error thrown by an
// event handler afterwards is shown by the application object.

#include "app/core/ErroreDatabase.h"
#include "app/core/Globals.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "support/backup_di_prova.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class ConnessionePersa : public ::testing::TestWithParam<int> {};

TEST_P(ConnessionePersa, MessaggioEFileComeIlProgressivo)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
    for (const auto& [colonna, valore] : {std::pair{cope::OPIVA, "01234567890"}, {cope::OSNUMC, "1"}, {cope::OSCAP, "47121"}})
        soggetto[colonna] = valore;
    soggetto[cope::OPROG] = "00005";
    backend.db().insert(schema::COPE(), soggetto);
    Cnn = &backend.db();
    const QVariant processo = *backend.db().scalar("SELECT pg_backend_pid()", {}, ColumnType::Integer);
    auto server = backend.apriAltraConnessione();
    const auto termina = [&] { server->exec("SELECT pg_terminate_backend(?)", {processo}); };
    QTemporaryDir cartella;
    QByteArray csv = "FATTURE EMESSE\r\n\r\n\r\n";
    for (int i = 1; i <= 1200; ++i)   // one counterpart each: two files, 999 at most in one
        csv += QStringLiteral("%1;;CLIENTE %2;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;%3;N%2;1000;220;22\r\n")
                   .arg(10000000000LL + i).arg(i).arg(i == GetParam() ? "32/01/2017" : "15/01/2017").toUtf8();
    ASSERT_TRUE(test::ScriviFile(cartella.filePath("emesse.csv"), csv));
    test::MessaggiSimulati messaggi;
    messaggi.mentreMostra = [&](const Messaggio& m) {
        if (m.titolo == "Dati non validi")
            termina();
    };
    test::DialoghiSimulati dialoghi;
    dialoghi.aperture = {{cartella.filePath("emesse.csv")}};
    dialoghi.salvataggi = {cartella.filePath("IT01234567890_DF_00005.xml")};
    RegistraFinestraImportazione();
    {
        F1OP registro;
        registro.show();
        QTimer::singleShot(0, [&] {
            auto* importa = qobject_cast<FImpEX*>(QApplication::activeModalWidget());
            ASSERT_NE(importa, nullptr);
            if (GetParam() == 0)
                termina();
            importa->OpzioneCsv().click();
            QTest::mouseClick(&importa->PulsanteImporta(), Qt::LeftButton);
        });
        QTest::mouseClick(&registro.PulsanteElabora(), Qt::LeftButton);
        QTimer::singleShot(0, &registro, [] { throw DbError(0, "server closed the connection unexpectedly"); });
        QCoreApplication::processEvents();
    }
    Cnn = nullptr;

    // The import's message, the registry's as it reloads the list, the application object's.
    QStringList titoli;
    for (const Messaggio& m : messaggi.mostrati) {
        titoli << m.titolo;
        EXPECT_TRUE(m.titolo == "Dati non validi" || m.testo.contains(MessaggioConnessionePersa)) << m.testo.toStdString();
    }
    EXPECT_EQ(titoli.mid(GetParam() ? 1 : 0), QStringList({"Errore", "Application Error", "Errore"}));
    EXPECT_EQ(messaggi.mostrati.at(GetParam() ? 1 : 0).testo, "Importazione interrotta: " + MessaggioConnessionePersa);
    ASSERT_EQ(messaggi.task.size(), 1u);
    EXPECT_TRUE(messaggi.task[0].testo.contains(GetParam() ? "File: IT01234567890_DF_00005.xml" : "Nessun file XML è stato scritto."));
    QStringList numeri;
    for (const QString& nome : QDir(cartella.path()).entryList({"*.xml"}))
        numeri << test::XPath(cartella.filePath(nome), "string(//ProgressivoInvio)");
    EXPECT_EQ(numeri, GetParam() ? QStringList{"00005"} : QStringList{});
    EXPECT_EQ(backend.apriAltraConnessione()->scalar("SELECT OPROG FROM COPE", {}, ColumnType::Text)->toString(),
              GetParam() ? "00006" : "00005");
}

INSTANTIATE_TEST_SUITE_P(Postgres, ConnessionePersa, ::testing::Values(0, 500));

} // namespace
