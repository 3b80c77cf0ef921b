// Two copies of the program on one registry, each a process with its own connection
// (copia_registro) and the real registry window, importing or writing annulments in the
// ways of `modi`: no progressive number and no file name is ever given twice, and the stored
// progressive ends at the first number plus the files written. ProgressivoInvio is read by
// xmllint, the stored number by a third connection. QUERCINO_GIRI sets the rounds of each
// copy (4 by default); each mode prints its figures.

#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

using namespace quercino;

namespace {

class Copia {
public:
    Copia(const QString& connessione, const QString& csv)
    {
        processo_.start(QUERCINO_COPIA_REGISTRO, {connessione, csv});
        Attendi();
    }
    ~Copia()
    {
        processo_.closeWriteChannel();
        processo_.waitForFinished(30000);
    }
    void Invia(const QString& comando) { processo_.write((comando + "\n").toUtf8()); }
    // The lines up to "fatto" (or "pronto"); each one is a message nobody expected.
    void Attendi()
    {
        for (;;) {
            while (!processo_.canReadLine())
                ASSERT_TRUE(processo_.waitForReadyRead(120000)) << "la copia non risponde: " << processo_.readAllStandardError().toStdString();
            const QString linea = QString::fromUtf8(processo_.readLine()).trimmed();
            if (linea == "fatto" || linea == "pronto")
                return;
            ADD_FAILURE() << linea.toStdString();
        }
    }

private:
    QProcess processo_;
};

// How the two copies work, each writing `giri` files (A's commands, then B's, "=" both at once).
const std::pair<const char*, const char*> modi[] = {
    {"uno dopo l'altro, ricaricando prima di ogni file", "A: %1 %2 ricarica; B: %1 %2 ricarica"},
    {"finestre aperte, nello stesso momento", "=: %1 %2"},
    {"uno dopo l'altro, finestre mai ricaricate", "A: %1 %2; B: %1 %2"},
    {"entrambe ricaricano, poi entrambe scrivono", "=: ricarica, %1 1"},
    {"partenze a caso tra 0 e 50 ms", "=: %1 %2 ritardo 50"},
};

class DueCopie : public ::testing::TestWithParam<std::tuple<test::Backend, const char*>> {};

TEST_P(DueCopie, OgniNumeroUnaVolta)
{
    const auto [tipo, azione] = GetParam();
    const int giri = qEnvironmentVariableIsSet("QUERCINO_GIRI") ? qEnvironmentVariableIntValue("QUERCINO_GIRI") : 4;
    test::DbBackend backend(tipo);
    QVariantList soggetto = test::rigaCope("01", "ROSSI SPA");
    for (const auto& [colonna, valore] : {std::pair{cope::OCF, "01234567890"}, {cope::OPIVA, "01234567890"}, {cope::OSINDI, "VIA ROMA"},
                                          {cope::OSNUMC, "1"}, {cope::OSCAP, "00100"}, {cope::OSCOM, "ROMA"}, {cope::OSPRO, "RM"}})
        soggetto[colonna] = valore;
    backend.db().insert(schema::COPE(), soggetto);
    QTemporaryDir cartella;
    const QString csv = cartella.filePath("emesse.csv");
    ASSERT_TRUE(test::ScriviFile(csv, "FATTURE EMESSE\r\n\r\n\r\n10000000000;;ALFA SRL;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;15/01/2017;N1;1000;220;22\r\n"));
    const QString connessione = tipo == test::Backend::SqliteFile ? "sqlite:" + backend.sqlitePath() : backend.stringaConnessione();
    Copia a(connessione, csv), b(connessione, csv);
    for (std::size_t m = 0; m < std::size(modi); ++m) {
        const auto [modo, comandi] = modi[m];
        backend.db().exec("UPDATE COPE SET OPROG = '00001'");
        const QString giro = QDir(cartella.path()).filePath(QString::number(m));
        for (Copia* c : {&a, &b}) {
            QDir().mkpath(giro + (c == &a ? "/a" : "/b"));
            c->Invia("cartella " + giro + (c == &a ? "/a" : "/b"));
            c->Invia("ricarica");
            c->Attendi();
            c->Attendi();
        }
        for (const QString& passo : QString(comandi).replace("%1", azione).replace("%2", QString::number(giri)).split("; ")) {
            for (int ripeti = 0; ripeti < (passo.contains("ricarica,") ? giri : 1); ++ripeti) {
                for (const QString& comando : passo.mid(3).split(", ")) {
                    for (Copia* c : passo.startsWith("A") ? std::vector{&a} : passo.startsWith("B") ? std::vector{&b} : std::vector{&a, &b})
                        c->Invia(comando);
                    for (Copia* c : passo.startsWith("A") ? std::vector{&a} : passo.startsWith("B") ? std::vector{&b} : std::vector{&a, &b})
                        c->Attendi();
                }
            }
        }
        QSet<QString> numeri, nomi;
        int file = 0;
        for (const char* copia : {"/a", "/b"}) {
            for (const QString& nome : QDir(giro + copia).entryList({"*.xml"}, QDir::Files)) {
                ++file;
                nomi << nome;
                numeri << test::XPath(giro + copia + "/" + nome, "string(//ProgressivoInvio)");
            }
        }
        const QString finale = backend.apriAltraConnessione()->scalar("SELECT OPROG FROM COPE", {}, ColumnType::Text)->toString();
        std::cout << modo << ": " << file << " file, " << numeri.size() << " ProgressivoInvio diversi, " << nomi.size()
                  << " nomi diversi, OPROG finale " << finale.toStdString() << std::endl;
        EXPECT_EQ(file, 2 * giri) << modo;
        EXPECT_EQ(numeri.size(), file) << modo;
        EXPECT_EQ(nomi.size(), file) << modo;
        EXPECT_EQ(finale, QStringLiteral("%1").arg(1 + file, 5, 10, QLatin1Char('0'))) << modo;
    }
}

INSTANTIATE_TEST_SUITE_P(Archivi, DueCopie,
                         ::testing::Combine(::testing::Values(test::Backend::SqliteFile, test::Backend::OdbcPostgres),
                                            ::testing::Values("importa", "annulla")));

} // namespace
