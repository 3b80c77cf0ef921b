// Two copies of the program on one registry, each a process with its own connection and the
// real registry window (copia_registro), importing or writing annulments in the ways of
// `modi`: no progressive number and no file name is given twice, and the stored progressive
// ends at the first number plus the files written. ProgressivoInvio is read by xmllint, the
// stored number on a third connection. QUERCINO_GIRI sets each copy's files per way (4);
// each way prints its figures.

#include "support/backup_di_prova.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "copia_in_processo.h"

#include <QDir>
#include <QSet>

#include <gtest/gtest.h>

#include <iostream>

using namespace quercino;

namespace {

using test::Copia;

// Each step: A, B or both (=) run a command, then wait; "*" repeats the steps that follow.
const std::pair<const char*, const char*> modi[] = {
    {"uno dopo l'altro, ricaricando prima di ogni file", "A %1 %2 ricarica; B %1 %2 ricarica"},
    {"finestre aperte, nello stesso momento", "= %1 %2"},
    {"uno dopo l'altro, finestre mai ricaricate", "A %1 %2; B %1 %2"},
    {"entrambe ricaricano, poi entrambe scrivono", "*; = ricarica; = %1 1"},
    {"ricaricando, poi partenze a caso tra 0 e 50 ms", "= %1 %2 ricarica ritardo 50"},
};

// A registry of one declarant (01, whose files can be written) and a CSV file of one issued
// invoice: where the copies connect to, and the file they import.
QString RegistroEFattura(test::DbBackend& backend, test::Backend tipo, const QTemporaryDir& cartella, QString& csv)
{
    QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
    for (const auto& [colonna, valore] : {std::pair{cope::OPIVA, "01234567890"}, {cope::OSNUMC, "1"}, {cope::OSCAP, "47121"}})
        soggetto[colonna] = valore;
    backend.db().insert(schema::COPE(), soggetto);
    csv = cartella.filePath("emesse.csv");
    EXPECT_TRUE(test::ScriviFile(csv, "FATTURE EMESSE\r\n\r\n\r\n10000000000;;ALFA SRL;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;15/01/2017;N1;1000;220;22\r\n"));
    return tipo == test::Backend::SqliteFile ? "sqlite:" + backend.sqlitePath() : backend.stringaConnessione();
}

class DueCopie : public ::testing::TestWithParam<std::tuple<test::Backend, const char*>> {};

TEST_P(DueCopie, OgniNumeroUnaVolta)
{
    const auto [tipo, azione] = GetParam();
    const int giri = qEnvironmentVariableIsSet("QUERCINO_GIRI") ? qEnvironmentVariableIntValue("QUERCINO_GIRI") : 4;
    test::DbBackend backend(tipo);
    QTemporaryDir cartella;
    QString csv;
    const QString origine = RegistroEFattura(backend, tipo, cartella, csv);
    Copia a({origine, csv}), b({origine, csv});
    int numeroModo = 0;
    for (const auto& [modo, passi] : modi) {
        backend.db().exec("UPDATE COPE SET OPROG = '00001'");
        const QString giro = cartella.filePath(QString::number(++numeroModo));
        for (Copia* c : {&a, &b}) {
            QDir().mkpath(giro + (c == &a ? "/a" : "/b"));
            for (const QString& comando : {"cartella " + giro + (c == &a ? "/a" : "/b"), QStringLiteral("ricarica")}) {
                c->Invia(comando);
                c->Attendi();
            }
        }
        QStringList elenco = QString(passi).replace("%1", azione).replace("%2", QString::number(giri)).split("; ");
        for (int volte = elenco.first() == "*" ? giri : 1; volte > 0; --volte) {
            for (const QString& passo : elenco.mid(elenco.first() == "*")) {
                const auto copie = passo[0] == 'A' ? std::vector{&a} : passo[0] == 'B' ? std::vector{&b} : std::vector{&a, &b};
                for (Copia* c : copie)
                    c->Invia(passo.mid(2));
                for (Copia* c : copie)
                    c->Attendi();
            }
        }
        QSet<QString> numeri, nomi;
        for (const QString copia : {"/a/", "/b/"}) {
            for (const QString& nome : QDir(giro + copia).entryList({"*.xml"}, QDir::Files)) {
                nomi << nome;
                numeri << test::XPath(giro + copia + nome, "string(//ProgressivoInvio)");
            }
        }
        const qsizetype file = QDir(giro + "/a").entryList({"*.xml"}).size() + QDir(giro + "/b").entryList({"*.xml"}).size();
        const QString finale = backend.apriAltraConnessione()->scalar("SELECT OPROG FROM COPE", {}, ColumnType::Text)->toString();
        std::cout << modo << ": " << file << " file, " << numeri.size() << " ProgressivoInvio diversi, " << nomi.size()
                  << " nomi diversi, OPROG finale " << finale.toStdString() << std::endl;
        EXPECT_EQ(file, 2 * giri) << modo;
        EXPECT_EQ(numeri.size(), file) << modo;
        EXPECT_EQ(nomi.size(), file) << modo;
        EXPECT_EQ(finale, QStringLiteral("%1").arg(1 + file, 5, 10, QLatin1Char('0'))) << modo;
    }
}

// Both copies add a declarant and propose the same free code: the first to save stores it,
// the second is refused with a message naming the first's declarant, whose row stays. Then
// one copy imports while the other shows the declarant as read before: a progressive typed
// there below the stored one is refused (the copy's answer to any question is Sì), and a
// save of other edits keeps the number the import stored.
class DueCopieRegistrano : public ::testing::TestWithParam<test::Backend> {};

TEST_P(DueCopieRegistrano, NessunSoggettoSostituitoNessunProgressivoAbbassato)
{
    test::DbBackend backend(GetParam());
    QTemporaryDir cartella;
    QString csv;
    const QString origine = RegistroEFattura(backend, GetParam(), cartella, csv);
    Copia a({origine, csv}), b({origine, csv});
    for (Copia* c : {&a, &b}) {
        EXPECT_EQ(c->Esegui("cartella " + cartella.path()), QStringList());
        EXPECT_EQ(c->Esegui("aggiungi"), QStringList());
        for (const QString campo : {"OCF 02345678901", "OPIVA 02345678901", "OSINDI VIA PO", "OSNUMC 2", "OSCOM TORINO",
                                    "OSPRO TO", "OSCAP 10121"})
            EXPECT_EQ(c->Esegui("digita " + campo), QStringList());
        EXPECT_EQ(c->Esegui(c == &a ? "digita ORAG ALFA SRL" : "digita ORAG BETA SRL"), QStringList());
    }
    EXPECT_EQ(a.Esegui("registra"), QStringList());
    EXPECT_EQ(b.Esegui("registra"),
              QStringList({"messaggio: Errore: Il codice 02 appartiene già al soggetto ALFA SRL: indicare un altro codice."}));

    for (const QString comando : {"ricarica", "scegli 01"}) {
        EXPECT_EQ(a.Esegui(comando), QStringList());
        EXPECT_EQ(b.Esegui(comando), QStringList());
    }
    EXPECT_EQ(b.Esegui("importa 4"), QStringList());
    EXPECT_EQ(a.Esegui("digita OPROG 3"), QStringList());
    EXPECT_EQ(a.Esegui("registra"),
              QStringList({"messaggio: Errore: Il progressivo indicato (00003) è inferiore a quello in archivio (00005): i "
                           "numeri più bassi possono essere già stati usati per file creati. Indicare un numero non "
                           "inferiore a 00005, oppure fare doppio click su \"Progressivo:\" per ricominciare la numerazione."}));
    for (const QString comando : {"digita OPROG 00001", "digita OSNUMC 9", "registra"})
        EXPECT_EQ(a.Esegui(comando), QStringList());

    QStringList archivio;
    for (const Row& r : backend.apriAltraConnessione()->query("SELECT OCOD, ORAG, OSNUMC, OPROG FROM COPE ORDER BY OCOD", {},
                                                             std::vector<ColumnType>(4, ColumnType::Text)))
        archivio << QStringList{r.text(0), r.text(1), r.text(2), r.text(3)}.join(' ');
    EXPECT_EQ(archivio, QStringList({"01 ROSSI SPA 9 00005", "02 ALFA SRL 2 00001"}));
}

INSTANTIATE_TEST_SUITE_P(Archivi, DueCopieRegistrano,
                         ::testing::Values(test::Backend::SqliteFile, test::Backend::OdbcSqlite, test::Backend::OdbcPostgres),
                         test::NomeParametroBackend());

INSTANTIATE_TEST_SUITE_P(Archivi, DueCopie,
                         ::testing::Combine(::testing::Values(test::Backend::SqliteFile, test::Backend::OdbcPostgres),
                                            ::testing::Values("importa", "annulla")),
                         [](const auto& caso) { return test::nomeBackend(std::get<0>(caso.param)) + "_" + std::get<1>(caso.param); });

} // namespace
