// Backup and restore on the three database back-ends, as the steps of scenari/archivio.txt
// (see support/scenario.h) run on each, the state read through a second connection: the
// writer's files byte by byte (a natural person, plain and scrambled, values that would break
// a line or not survive scrambling), failures leaving nothing partial; round trips, the
// safety copies and their names, a restore that fails half-way, crafted, truncated and
// damaged files, backups of all declarants, foreign line ends, control characters, the
// code-table merge, the field messages and the progressive. Here also a connection the
// server drops in the middle of a restore.

#include "app/backup/Ripristino.h"

#include "app/backup/LeggiBackup.h"
#include "app/backup/ScriviBackup.h"
#include "app/core/Schema.h"
#include "support/backup_di_prova.h"
#include "support/casi.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QDateTime Adesso(QDate(2026, 3, 7), QTime(10, 20, 30));

QByteArray Cope(const QString& codice, const QString& nome)
{
    return test::LineaBackup(schema::COPE(), {codice, nome});
}

class Archivio : public test::BackupTest {
protected:
    void SetUp() override
    {
        test::BackupTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(programma_.isValid());
        s.Sostituisci(programma_.path(), "<programma>");
        s.Sostituisci(cartella_.path(), "<cartella>");
        // The system's words for a failed write follow the machine's language.
        s.sostituzioni.emplace_back(QRegularExpression("(sicurezza [^\\n]*): [^\\n]*"), "\\1: <motivo>");
        test::VerbiFile(s, [this](const QString& nome) { return File(nome); });
        // "soggetto CODICE NOME": a whole declarant (support/backup_di_prova.h).
        s.verbi["soggetto"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 1);
            db().insert(schema::COPE(), test::SoggettoCompleto(p[0], test::Decodifica(p[1])));
        };
        // "sql ISTRUZIONE" with the step's "<" lines as its values ("<NULL>" a null).
        s.verbi["sql"] = [this](const QString& a) {
            QVariantList valori;
            for (const QString& v : s.Dati())
                valori << (v == "<NULL>" ? QVariant() : QVariant(QStringLiteral("") + test::Decodifica(v)));
            db().exec(a, valori);
        };
        s.verbi["ricrea"] = [this](const QString&) {
            db().exec(schema::istruzioneCreazione(db(), schema::COPE()));
        };
        // "backup FILE CODICE|tutti chiaro|cripta"
        s.verbi["backup"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            ScrittoreBackup scrittore(db());
            scrittore.cripta = p[2] == "cripta";
            int avanzate = 0;
            scrittore.avanza = [&] { ++avanzate; };
            const EsitoBackup esito = scrittore.CreaBackup(File(p[0]), p[1] == "tutti" ? QString() : p[1]);
            if (!esito.riuscito) {
                // The database's own words differ by back-end: only that there are some.
                s.Stampa(QStringLiteral("non riuscito, motivo %1").arg(!MessaggioBackupFallito(esito).isEmpty()));
                return;
            }
            s.Stampa(QStringLiteral("%1 righe, %2 avanzate, %3%4%5")
                         .arg(esito.righe)
                         .arg(avanzate)
                         .arg(esito.criptato ? "criptato" : "in chiaro")
                         .arg(esito.inChiaroPerValori ? ", in chiaro per i valori" : "")
                         .arg(esito.caratteriSostituiti ? ", caratteri sostituiti" : ""));
            if (!NoteBackup(esito).isEmpty())
                s.Stampa(NoteBackup(esito));
        };
        // "ripristina FILE [chiaro] [guasto N] [senza-cartella]": the database fails at the
        // Nth row; without a program folder no safety copy can be written.
        s.verbi["ripristina"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            Ripristino ripristino(db(), p.contains("senza-cartella") ? File(p[0]) : programma_.path());
            ripristino.cripta = !p.contains("chiaro");
            ripristino.adesso = [] { return Adesso; };
            const int guasto = p.contains("guasto") ? p.value(p.indexOf("guasto") + 1).toInt() : 0;
            int avanzate = 0;
            ripristino.avanza = [&] {
                if (++avanzate == guasto)
                    throw DbError(0, QStringLiteral("connessione persa"));
            };
            ripristino.segnalaCampo = [this](const QString& testo) { s.Stampa("(segnalato) " + testo); };
            EsitoRipristino esito = ripristino.Ripristina(File(p[0]));
            if (!esito.riuscito) {
                s.Stampa(MessaggioRipristinoFallito(esito));
                return;
            }
            esito.codici.sort();
            s.Stampa(QStringLiteral("%1 righe, soggetti %2").arg(esito.righe).arg(esito.codici.join(' ')));
            if (!esito.note.isEmpty())
                s.Stampa(esito.note.mid(2));
        };
        // The rows as another client sees them now, against the last "fotografa".
        s.verbi["fotografa"] = [this](const QString&) { foto_ = StatoDaFuori(); };
        s.verbi["confronta"] = [this](const QString&) {
            const QStringList ora = StatoDaFuori();
            for (const QString& riga : foto_)
                if (!ora.contains(riga))
                    s.Stampa("- " + test::Codifica(riga));
            for (const QString& riga : ora)
                if (!foto_.contains(riga))
                    s.Stampa("+ " + test::Codifica(riga));
            if (ora == foto_)
                s.Stampa("(uguale)");
        };
        s.verbi["stato"] = [this](const QString& a) {
            for (const QString& riga : StatoDaFuori())
                if (riga.startsWith(a))
                    s.Stampa(test::Codifica(riga));
        };
        // The safety copies, each scrambled or not and with the name it holds; then removed.
        s.verbi["copie"] = [this](const QString&) {
            QDir cartella(programma_.path());
            for (const QString& copia : cartella.entryList(QDir::Files, QDir::Name)) {
                const FileBackupLetto letto = LeggiFileBackup(cartella.filePath(copia));
                s.Stampa(copia + (letto.intestazione.criptato ? ": criptata, " : ": in chiaro, ")
                         + letto.righe.at(0).campi.value(3));
                cartella.remove(copia);
            }
        };
        // "tronca DA A N": the first N bytes of a file in another; "tronca DA A ¦": up to
        // the last separator, the last value gone.
        s.verbi["tronca"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            const QByteArray byte = test::LeggiFile(File(p[0]));
            test::ScriviFile(File(p[1]), byte.left(p[2] == "¦" ? byte.lastIndexOf('\xA6') : p[2].toInt()));
        };
    }

    QTemporaryDir programma_;
    test::Scenario s;
    QStringList foto_;
};

} // namespace

TEST_P(Archivio, Passi)
{
    EXPECT_SCENARIO(s, "scenari/archivio.txt");
}

QUERCINO_DB_BACKENDS(Archivio);

// The server ends the connection in the middle of a restore, as a stopped server or a
// dropped network would: the user is told so in words, and nothing changed.
TEST(RipristinoSenzaConnessione, LoDiceENienteCambia)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    Database& db = backend.db();
    db.insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    const QStringList prima = test::StatoArchivio(*backend.apriAltraConnessione());
    const auto processo = db.scalar(QStringLiteral("SELECT pg_backend_pid()"), {}, ColumnType::Integer);
    ASSERT_TRUE(processo.has_value());
    QTemporaryDir cartella;
    const QString file = cartella.filePath("b.VEKO");
    ASSERT_TRUE(test::ScriviFile(file, Cope("01", "NUOVA") + Cope("02", "ALTRA")));
    auto server = backend.apriAltraConnessione();
    Ripristino ripristino(db, cartella.path());
    ripristino.avanza = [&] { server->exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {*processo}); };
    const EsitoRipristino esito = ripristino.Ripristina(file);
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(MessaggioRipristinoFallito(esito), "Ripristino non riuscito: la connessione al database è stata persa"
                                                 "\r\nI dati presenti non sono stati modificati.");
    EXPECT_EQ(test::StatoArchivio(*backend.apriAltraConnessione()), prima);
}
