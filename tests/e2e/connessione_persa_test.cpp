// The server ends the program's connection to PostgreSQL (pg_terminate_backend from another
// connection) during an import started with the mouse from the registry window and the
// import window: before the first row, or at a rejected row in the middle of a sheet split
// into files. The user is told in words that the connection was lost, nothing crashes, and
// the files written agree with the progressive stored, read on another connection.
// Also: a failure thrown out of any event handler becomes a message at the windows' edge.

#include "app/core/ErroreDatabase.h"
#include "app/core/Globals.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
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

// 1200 counterparts, one row each: two files (999 blocks at most in one); the row
// `errata` (0: none) has a date that is not one.
QByteArray Righe(int errata)
{
    QByteArray csv = "FATTURE EMESSE\r\n\r\n\r\n";
    for (int i = 1; i <= 1200; ++i)
        csv += QStringLiteral("%1;;CLIENTE %2;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;%3;N%2;1000;220;22\r\n")
                   .arg(10000000000LL + i).arg(i).arg(i == errata ? "32/01/2017" : "15/01/2017").toUtf8();
    return csv;
}

class ConnessionePersa : public ::testing::TestWithParam<int> {};

TEST_P(ConnessionePersa, MessaggioEProgressiviCoerenti)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    QVariantList soggetto = test::rigaCope("01", "ROSSI SPA");
    for (const auto& [colonna, valore] : {std::pair{cope::OCF, "01234567890"}, {cope::OPIVA, "01234567890"}, {cope::OSINDI, "VIA ROMA"},
                                          {cope::OSNUMC, "1"}, {cope::OSCAP, "00100"}, {cope::OSCOM, "ROMA"}, {cope::OSPRO, "RM"},
                                          {cope::OPROG, "00005"}})
        soggetto[colonna] = valore;
    backend.db().insert(schema::COPE(), soggetto);
    Cnn = &backend.db();
    const auto processo = backend.db().scalar("SELECT pg_backend_pid()", {}, ColumnType::Integer);
    auto server = backend.apriAltraConnessione();
    const auto termina = [&] { server->exec("SELECT pg_terminate_backend(?)", {*processo}); };

    QTemporaryDir cartella;
    ASSERT_TRUE(test::ScriviFile(cartella.filePath("emesse.csv"), Righe(GetParam())));
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

        // The import's own message, then the registry's when it reloads the list.
        QStringList testi;
        for (const Messaggio& m : messaggi.mostrati)
            if (m.titolo != "Dati non validi")
                testi << m.testo.section("\r\n", 0, 0);
        EXPECT_EQ(testi, QStringList({"Importazione interrotta: " + MessaggioConnessionePersa, MessaggioConnessionePersa}));
        ASSERT_EQ(messaggi.task.size(), 1u);
        EXPECT_TRUE(messaggi.task[0].testo.contains(GetParam() ? "Foglio 1 FATTURE EMESSE" : "Nessun file XML è stato scritto."));

        // The registry window still works: the guard at the windows' edge turns an error
        // thrown by a handler into a message.
        const std::size_t mostrati = messaggi.mostrati.size();
        QTimer::singleShot(0, &registro, [] { throw DbError(0, "server closed the connection unexpectedly"); });
        QCoreApplication::processEvents();
        ASSERT_EQ(messaggi.mostrati.size(), mostrati + 1);
        EXPECT_EQ(messaggi.mostrati.back().testo,
                  "L'operazione è stata interrotta da un errore imprevisto:\r\n" + MessaggioConnessionePersa);
    }
    Cnn = nullptr;

    QStringList numeri;
    const QStringList file = QDir(cartella.path()).entryList({"*.xml"}, QDir::Files, QDir::Name);
    for (const QString& nome : file)
        numeri << test::XPath(cartella.filePath(nome), "string(//ProgressivoInvio)");
    EXPECT_EQ(numeri, GetParam() ? QStringList{"00005"} : QStringList{});
    const auto registrato = backend.apriAltraConnessione()->scalar("SELECT OPROG FROM COPE", {}, ColumnType::Text);
    EXPECT_EQ(registrato->toString(), QStringLiteral("%1").arg(5 + file.size(), 5, 10, QLatin1Char('0')));
}

// The connection lost before the first row, or at row 500 of the first file.
INSTANTIATE_TEST_SUITE_P(Righe, ConnessionePersa, ::testing::Values(0, 500));

} // namespace
