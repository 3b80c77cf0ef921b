// Backup and restore on the three database back-ends. The writer against files written by
// hand from the format (a natural person with an accented letter, empty and null fields,
// plain and scrambled), values that would break a line or not survive scrambling, failures
// (nothing partial, an older file kept). The restore checked through a second connection:
// round trips of plain and scrambled files, the safety copies and their names, a restore
// that fails half-way or loses its connection, crafted, truncated and damaged files,
// backups of all declarants restored next to others, foreign line ends, control
// characters, the code-table merge and the field messages.

#include "app/backup/Ripristino.h"

#include "app/backup/FormatoBackup.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/ScriviBackup.h"
#include "app/core/Schema.h"
#include "support/backup_di_prova.h"
#include "support/golden.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QDateTime Adesso(QDate(2026, 3, 7), QTime(10, 20, 30));

using test::LeggiFile;
using test::StatoArchivio;

QByteArray Cope(const QString& codice, const QString& nome)
{
    return test::LineaBackup(schema::COPE(), {codice, nome});
}

// A natural person: no company name, accented first name, a description with outer blanks,
// OUCDTE left null; every other column empty text.
QVariantList PersonaFisica()
{
    QVariantList riga(cope::NumeroColonne, QStringLiteral(""));
    const std::pair<int, QVariant> valori[] = {
        {cope::OCOD, "12"},     {cope::ONOME, "NICOLÒ"},  {cope::OCOG, "D'ANGELO"},  {cope::OCF, "DNGNCL80A01H501X"},
        {cope::OSINDI, "VIA ROMA"}, {cope::OSNUMC, "5"},   {cope::OSCAP, "00100"},    {cope::OSCOM, "ROMA"},
        {cope::OSPRO, "RM"},    {cope::OSPAESE, "IT"},     {cope::OSPAESED, "ITALIA"}, {cope::OPF, 1},
        {cope::ODES, "  NICOLÒ D'ANGELO  "}, {cope::ORFPF, 0}, {cope::OUCDTE, QVariant()}, {cope::OPROG, "00007"}};
    for (const auto& [colonna, valore] : valori)
        riga[colonna] = valore;
    return riga;
}

class BackupERipristino : public test::BackupTest {
protected:
    void SetUp() override
    {
        test::BackupTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(programma_.isValid());
        db().insert(schema::CTAB(), {QStringLiteral("PAESE"), QStringLiteral("IT"), QStringLiteral("ITALIA")});
        db().insert(schema::CTAB(), {QStringLiteral("CARICA"), QStringLiteral("1"), QStringLiteral("RAPPRESENTANTE")});
    }

    QString Programma() const { return programma_.path(); }

    EsitoBackup Backup(const QString& percorso, const QString& codice, bool cripta)
    {
        ScrittoreBackup scrittore(db());
        scrittore.cripta = cripta;
        scrittore.avanza = [this] { ++avanzamenti_; };
        return scrittore.CreaBackup(percorso, codice);
    }

    // Restores a file holding `contenuto`.
    EsitoRipristino RipristinaTesto(const QByteArray& contenuto)
    {
        test::ScriviFile(File("b.VEKO"), contenuto);
        return Ripristina(File("b.VEKO"));
    }

    EsitoRipristino Ripristina(const QString& percorso, bool cripta = true)
    {
        Ripristino ripristino(db(), Programma());
        ripristino.cripta = cripta;
        ripristino.adesso = [] { return Adesso; };
        ripristino.avanza = [this] {
            ++avanzamenti_;
            if (guasto_)
                guasto_(avanzamenti_);
        };
        ripristino.segnalaCampo = [this](const QString& testo) { segnalati_ << testo; };
        return ripristino.Ripristina(percorso);
    }

    QStringList CopieNelProgramma() const
    {
        return QDir(Programma()).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir programma_;
    int avanzamenti_ = 0;
    std::function<void(int)> guasto_;   // called with the row number as each row is stored
    QStringList segnalati_;
};

} // namespace

TEST_P(BackupERipristino, PersonaFisicaInChiaroECriptata)
{
    db().insert(schema::COPE(), PersonaFisica());
    db().insert(schema::COPE(), test::rigaCope("13", "ALTRA SRL"));
    // The golden files pin the row as the file holds it: Windows-1252 ("¦" 0xA6, "Ò" 0xD2),
    // OUCDTE's null as an empty field, outer blanks trimmed; scrambled with key 7, the
    // character at position i of each field moves up by 7 + i, the separators never.
    for (const bool cripta : {false, true}) {
        const QString nome = cripta ? "persona_criptato.VEKO" : "persona_chiaro.VEKO";
        const EsitoBackup esito = Backup(File(nome), "12", cripta);
        ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
        EXPECT_EQ(esito.criptato, cripta);
        EXPECT_FALSE(esito.inChiaroPerValori);
        EXPECT_EQ(esito.righe, 1);
        EXPECT_GOLDEN(LeggiFile(File(nome)), "attesi/" + nome);
    }
    EXPECT_EQ(avanzamenti_, 2);
}

TEST_P(BackupERipristino, FileVuotoSostituitoEFallimentiSenzaFileParziali)
{
    // A code without rows: an empty file in place of the old one.
    const QString percorso = File("b.VEKO");
    ASSERT_TRUE(test::ScriviFile(percorso, "backup di ieri\r\n"));
    EsitoBackup esito = Backup(percorso, "99", true);
    ASSERT_TRUE(esito.riuscito);
    EXPECT_EQ(esito.righe, 0);
    EXPECT_TRUE(QFile::exists(percorso));
    EXPECT_EQ(LeggiFile(percorso), QByteArray());

    // The table is gone: the query fails, yesterday's file stays as it was.
    ASSERT_TRUE(test::ScriviFile(percorso, "backup di ieri\r\n"));
    db().exec("DROP TABLE COPE");
    esito = Backup(percorso, "01", true);
    EXPECT_FALSE(esito.riuscito);
    EXPECT_FALSE(esito.errore.isEmpty());
    EXPECT_FALSE(MessaggioBackupFallito(esito).isEmpty());
    EXPECT_EQ(LeggiFile(percorso), QByteArray("backup di ieri\r\n"));

    // A folder that cannot exist (its parent is a file): nothing is created.
    db().exec(schema::istruzioneCreazione(db(), schema::COPE()));
    esito = Backup(percorso + "/dentro.VEKO", "01", true);
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(QDir(cartella_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.VEKO"});
}

// Values that would break a line become blanks; a value that cannot survive scrambling
// ("ÿ", 255, cannot move up) leaves every line plain and says why; characters outside the
// code page become "?" and are said too.
TEST_P(BackupERipristino, ValoriCheNonPassanoComeSono)
{
    struct Caso {
        QString ragione, indirizzo;
        QList<QByteArray> attesi;   // parts of the file
        bool inChiaroPerValori, sostituiti;
    };
    const Caso casi[] = {
        {"ROSSI\r\nSPA", QString("VIA A") + QChar(0x00A6) + "B", {"\xA6" "ROSSI  SPA" "\xA6", "\xA6" "VIA A B" "\xA6"},
         false, false},
        {QString("ROSSI ") + QChar(0x00FF), "", {"\xA6" "ROSSI \xFF" "\xA6"}, true, false},
        {QString("KOV") + QChar(0x0151) + "CS", "", {"\xA6" "KOV?CS" "\xA6"}, true, true},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.attesi[0].toStdString());
        db().exec("DELETE FROM COPE");
        QVariantList riga = test::rigaCope("01", caso.ragione);
        riga[cope::ODES] = QString();
        riga[cope::OSINDI] = caso.indirizzo;
        db().insert(schema::COPE(), riga);
        db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI"));
        const EsitoBackup esito = Backup(File("b.VEKO"), QString(), !caso.ragione.startsWith("ROSSI\r"));
        ASSERT_TRUE(esito.riuscito);
        EXPECT_FALSE(esito.criptato);
        EXPECT_EQ(esito.inChiaroPerValori, caso.inChiaroPerValori);
        EXPECT_EQ(esito.caratteriSostituiti, caso.sostituiti);
        EXPECT_EQ(NoteBackup(esito).isEmpty(), !caso.inChiaroPerValori);
        const QByteArray byte = LeggiFile(File("b.VEKO"));
        for (const QByteArray& parte : caso.attesi)
            EXPECT_TRUE(byte.contains(parte));
        // Every line plain, the other declarant's too, and whole.
        EXPECT_TRUE(byte.contains("\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI" "\xA6"));
        EXPECT_EQ(byte.count('\xA6'), 2 * (cope::NumeroColonne + 1));
        EXPECT_EQ(byte.count('\n'), 2);
    }
}

TEST_P(BackupERipristino, AndataERitornoInChiaroECriptato)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    const QStringList originale = StatoDaFuori();
    ASSERT_TRUE(Backup(File("chiaro.VEKO"), "01", false).riuscito);
    ASSERT_TRUE(Backup(File("criptato.VEKO"), "01", true).riuscito);
    ASSERT_NE(LeggiFile(File("chiaro.VEKO")), LeggiFile(File("criptato.VEKO")));
    for (const char* nome : {"chiaro.VEKO", "criptato.VEKO"}) {
        SCOPED_TRACE(nome);
        db().exec("UPDATE COPE SET ORAG = ?, OSINDI = ?, OPF = ? WHERE OCOD = ?", {"CAMBIATO", "", 1, "01"});
        db().exec("DELETE FROM CTAB WHERE TIPO = 'CARICA'");
        const EsitoRipristino esito = Ripristina(File(nome));
        ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
        EXPECT_EQ(esito.righe, 1);
        EXPECT_EQ(esito.codici, QStringList{"01"});
        EXPECT_TRUE(segnalati_.isEmpty());
        db().insert(schema::CTAB(), {QStringLiteral("CARICA"), QStringLiteral("1"), QStringLiteral("RAPPRESENTANTE")});
        EXPECT_EQ(StatoDaFuori(), originale);
    }
    EXPECT_EQ(avanzamenti_, 4);  // one row each: two backups, two restores
}

TEST_P(BackupERipristino, CopieDiSicurezzaMaiSovrascritte)
{
    // A declarant not stored yet needs no copy, and the user is told.
    EsitoRipristino esito = RipristinaTesto(Cope("05", "NUOVO SRL"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.note, "\r\nNessuna copia di sicurezza: nessuno dei soggetti del file era già presente.");
    EXPECT_TRUE(CopieNelProgramma().isEmpty());

    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    ASSERT_TRUE(Backup(File("b.VEKO"), "01", false).riuscito);
    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"PRIMA DEL RIPRISTINO", "01"});
    // First restore of the day: the plain name, scrambled like the window's box says.
    esito = Ripristina(File("b.VEKO"), true);
    const QString prima = Programma() + "/BFRR_01_20260307.VEKO";
    EXPECT_EQ(esito.copieSicurezza, QStringList{prima});
    EXPECT_EQ(esito.note, "\r\nCopia di sicurezza dei dati sostituiti:\r\n" + QDir::toNativeSeparators(prima));
    const FileBackupLetto copia = LeggiFileBackup(prima);
    EXPECT_TRUE(copia.intestazione.criptato);
    EXPECT_EQ(copia.righe.at(0).campi.at(3), "PRIMA DEL RIPRISTINO");
    const QByteArray primaCopia = LeggiFile(prima);
    // A second restore the same day keeps the first copy, the real original; a third in
    // the same second takes another name again.
    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"SECONDA VOLTA", "01"});
    esito = Ripristina(File("b.VEKO"), false);
    EXPECT_EQ(esito.copieSicurezza, QStringList{Programma() + "/BFRR_01_20260307_102030.VEKO"});
    EXPECT_EQ(LeggiFile(prima), primaCopia);
    EXPECT_TRUE(LeggiFile(esito.copieSicurezza.value(0)).startsWith("\xA6" "COPE" "\xA6" "01" "\xA6" "SECONDA VOLTA" "\xA6"));
    esito = Ripristina(File("b.VEKO"));
    EXPECT_EQ(esito.copieSicurezza, QStringList{Programma() + "/BFRR_01_20260307_102030_2.VEKO"});

    // The program folder is a file: no copy can be written, and nothing changes.
    const QStringList stato = StatoDaFuori();
    Ripristino ripristino(db(), File("b.VEKO"));
    esito = ripristino.Ripristina(File("b.VEKO"));
    EXPECT_FALSE(esito.riuscito);
    EXPECT_TRUE(esito.errore.startsWith("Impossibile scrivere la copia di sicurezza"));
    EXPECT_EQ(StatoDaFuori(), stato);
}

TEST_P(BackupERipristino, FallimentoAMetaLasciaTuttoComePrima)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    const QStringList prima = StatoDaFuori();
    // The database fails (a lost connection, say) at the fourth row, after 01 and 02 were
    // deleted, a code was merged, another added and a row stored.
    guasto_ = [](int riga) {
        if (riga == 4)
            throw DbError(0, QStringLiteral("connessione persa"));
    };
    const EsitoRipristino esito = RipristinaTesto(Cope("01", "NUOVA ROSSI")
                                                  + "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "ITALIA CAMBIATA\r\n"
                                                    "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n"
                                                  + Cope("02", "NUOVA BIANCHI"));
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(esito.errore, "connessione persa");
    EXPECT_TRUE(MessaggioRipristinoFallito(esito).contains("non sono stati modificati"));
    EXPECT_EQ(StatoDaFuori(), prima);
    // The safety copies were written before and stay.
    EXPECT_EQ(CopieNelProgramma(), (QStringList{"BFRR_01_20260307.VEKO", "BFRR_02_20260307.VEKO"}));
}

// Files refused before anything changes: a declarant twice, other tables however spelled,
// lines without code or kind, a file cut short (the first 70 bytes of a real backup, or
// its last value gone), a line with a value too many, empty files and files that are not
// backups.
TEST_P(BackupERipristino, FileCostruitiNonCancellanoNulla)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    const QStringList prima = StatoDaFuori();
    ASSERT_TRUE(Backup(File("intero.VEKO"), QString(), false).riuscito);
    const QByteArray intero = LeggiFile(File("intero.VEKO"));
    const QByteArray riga1 = Cope("01", "R");
    const std::pair<QByteArray, QString> casi[] = {
        {Cope("01", "NUOVA ROSSI") + "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n" + Cope("01", "DOPPIONE"),
         "Riga 3 del file: il soggetto obbligato \"01\" compare due volte nel file"},
        {intero.left(70), "Riga 1 del file: la riga è incompleta ("},
        {intero.left(intero.lastIndexOf('\xA6')),
         "Riga 2 del file: la riga è incompleta (32 valori invece di 33): il file di backUp è incompleto o danneggiato"},
        {riga1 + Cope("03", "").replace("\r\n", "\xA6" "IN PIU'\r\n"),
         "Riga 2 del file: la riga ha 34 valori invece di 33: il file di backUp è danneggiato"},
        {riga1 + "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR\r\n", "Riga 2 del file: la riga è incompleta (2 valori invece di 3)"},
        {riga1 + "\xA6" "T_COMUNI" "\xA6" "ROMA" "\xA6" "RM\r\n", "Riga 2 del file: "},
        {riga1 + "\xA6" "COPE WHERE 1=1 --" "\xA6" "01" "\xA6" "R\r\n", "Riga 2 del file: "},
        {riga1 + "\xA6" "cope" "\xA6" "02" "\xA6" "R\r\n", "Riga 2 del file: "},
        {riga1 + "\xA6" "\xA6" "02\r\n", "Riga 2 del file: "},
        {riga1 + Cope("", "SENZA CODICE"), "Riga 2 del file: manca il codice"},
        {riga1 + "\xA6" "CTAB" "\xA6" "TIPO TROPPO LUNGO" "\xA6" "X" "\xA6" "Y\r\n", "Riga 2 del file: "},
        {riga1 + "\xA6" "CTAB\r\n", "Riga 2 del file: "},
        {riga1 + "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" " " "\xA6" "VUOTO\r\n", "Riga 2 del file: "},
        {"", MessaggioNonBackup},
        {"\r\n", MessaggioNonBackup},
        {"\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "X\r\n", MessaggioNonBackup},
        {"\xA6" "COPE\r\n", MessaggioNonBackup},
    };
    for (const auto& [contenuto, errore] : casi) {
        SCOPED_TRACE(contenuto.toStdString());
        const EsitoRipristino esito = RipristinaTesto(contenuto);
        EXPECT_FALSE(esito.riuscito);
        EXPECT_TRUE(esito.errore.startsWith(errore)) << esito.errore.toStdString();
        EXPECT_EQ(StatoDaFuori(), prima);
    }
    EXPECT_TRUE(CopieNelProgramma().isEmpty());

    // A quote in the code: bound, it is only a code; the others stay.
    ASSERT_TRUE(RipristinaTesto(Cope("X' OR '1'='1", "INTRUSO")).riuscito);
    QStringList nuovo = StatoDaFuori();
    for (const QString& riga : prima)
        nuovo.removeOne(riga);
    ASSERT_EQ(nuovo.size(), 1);
    EXPECT_TRUE(nuovo[0].startsWith("COPE|X' OR '1'='1|INTRUSO|"));
}

// The server ends the connection in the middle of a restore, as a stopped server or a
// dropped network would: the user is told so in words, and nothing changed.
TEST(RipristinoSenzaConnessione, LoDiceENienteCambia)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    Database& db = backend.db();
    db.insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    const QStringList prima = StatoArchivio(*backend.apriAltraConnessione());
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
    EXPECT_EQ(StatoArchivio(*backend.apriAltraConnessione()), prima);
}

TEST_P(BackupERipristino, TuttiISoggettiAccantoAdAltri)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    db().insert(schema::COPE(), test::SoggettoCompleto("03", "VERDI SNC"));
    const QStringList originale = StatoDaFuori();
    ASSERT_TRUE(Backup(File("tutti.VEKO"), QString(), true).riuscito);
    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"CAMBIATO", "01"});
    db().exec("DELETE FROM COPE WHERE OCOD = ?", {"02"});
    db().insert(schema::COPE(), test::SoggettoCompleto("04", "NERI SAS"));

    const EsitoRipristino esito = Ripristina(File("tutti.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    QStringList codici = esito.codici;
    codici.sort();
    EXPECT_EQ(codici, (QStringList{"01", "02", "03"}));
    // 01, 02 and 03 as they were, 04 untouched; a safety copy of each that was stored.
    QStringList stato = StatoDaFuori();
    EXPECT_EQ(stato.removeIf([](const QString& riga) { return riga.startsWith("COPE|04|NERI SAS|"); }), 1);
    EXPECT_EQ(stato, originale);
    EXPECT_EQ(CopieNelProgramma(), (QStringList{"BFRR_01_20260307.VEKO", "BFRR_03_20260307.VEKO"}));
}

TEST_P(BackupERipristino, FineRigaDiAltriSistemiCaratteriDiControlloEFusioneDeiCodici)
{
    // LF, a lone CR, a blank line, a table in two parts and a last line without an end; a
    // NUL, a tab and other control characters in a name, stored alike by every back-end.
    const EsitoRipristino esito = RipristinaTesto(Cope("09", QString::fromLatin1("BRE\0VE\tSRL\x01", 11)).replace("\r\n", "\n")
                                                  + "   \r"
                                                    "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "ITALIA (REPUBBLICA)\r\n"
                                                    "\xA6" "CTAB" "\xA6" "ITT" "\xA6" "A1" "\xA6" "ABCDEFGHIJKLMNO/QRSTUVWX\r\n"
                                                  + Cope("10", "ALTRA").replace("\r\n", "\r")
                                                  + "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "SM" "\xA6");
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.righe, 5);
    auto altra = backend().apriAltraConnessione();
    const std::vector<Row> righe = altra->select(schema::COPE(), " WHERE OCOD = ?", {"09"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].text(cope::ORAG), "BREVE SRL");
    // Empty values: empty texts and 0, never null.
    for (int c = 0; c < cope::NumeroColonne; ++c)
        EXPECT_FALSE(righe[0].isNull(c)) << c;
    EXPECT_EQ(righe[0].value(cope::OPF), QVariant(0));
    EXPECT_EQ(altra->select(schema::COPE()).size(), 2u);
    // The code table merged: changed, added, kept; an empty description merges as such;
    // ITT descriptions reshaped.
    QStringList codici;
    for (const Row& r : altra->select(schema::CTAB()))
        codici << r.text(ctab::TIPO) + "|" + r.text(ctab::COD) + "|" + (r.isNull(ctab::DES) ? "<NULL>" : r.text(ctab::DES));
    codici.sort();
    EXPECT_EQ(codici, (QStringList{"CARICA|1|RAPPRESENTANTE", "ITT|A1|ABCDEFGHIJK" + QString(10, ' ') + "MNO/QRSTUVW",
                                   "PAESE|IT|ITALIA (REPUBBLICA)", "PAESE|SM|"}));
}

TEST_P(BackupERipristino, ErroriDiCampoSegnalatiRigaRipristinata)
{
    QStringList valori{"01", "ROSSI"};
    valori.resize(cope::NumeroColonne);
    valori[cope::OPF] = "SI";
    valori[cope::OPROG] = "00009";
    const EsitoRipristino esito = RipristinaTesto(test::LineaBackup(schema::COPE(), valori));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(segnalati_, QStringList{
        "Errore: COPE registrazione: indice 15 valore SI Errore: Valore numerico non valido per la colonna OPF"});
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].value(cope::OPF), QVariant(0));
    EXPECT_EQ(righe[0].text(cope::OPROG), "00009");
}

TEST_P(BackupERipristino, UnBackupVecchioNonAbbassaIlProgressivo)
{
    auto progressivo = [this] {
        const auto valore = backend().apriAltraConnessione()->scalar("SELECT OPROG FROM COPE WHERE OCOD = '01'", {},
                                                                     ColumnType::Text);
        return valore ? valore->toString() : QStringLiteral("<manca>");
    };
    QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
    soggetto[cope::OPROG] = QStringLiteral("00005");
    db().insert(schema::COPE(), soggetto);
    ASSERT_TRUE(Backup(File("vecchio.VEKO"), "01", false).riuscito);
    // Files 00005 and 00006 were sent after the backup: restoring it keeps 00007; a higher
    // number in the file (another machine's) is kept; a new declarant takes the file's.
    const std::pair<const char*, const char*> casi[] = {{"00007", "00007"}, {"00003", "00005"}, {nullptr, "00005"}};
    for (const auto& [memorizzato, atteso] : casi) {
        if (memorizzato)
            db().exec("UPDATE COPE SET OPROG = ?, ORAG = ? WHERE OCOD = ?", {memorizzato, "CAMBIATO", "01"});
        else
            db().exec("DELETE FROM COPE");
        ASSERT_TRUE(Ripristina(File("vecchio.VEKO")).riuscito);
        EXPECT_EQ(progressivo(), atteso);
        EXPECT_TRUE(StatoDaFuori().join('\n').contains("ROSSI SPA"));
    }
}

QUERCINO_DB_BACKENDS(BackupERipristino);
