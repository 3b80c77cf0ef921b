// The restore on the three database back-ends, checked through a second connection:
// round trips of plain and scrambled files, the safety copies and their names, a restore
// that fails half-way, crafted files, backups of all declarants restored next to others,
// short lines and foreign line ends, the code-table merge and the field messages.

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

void Scrivi(const QString& percorso, const QByteArray& byte)
{
    ASSERT_TRUE(test::ScriviFile(percorso, byte));
}

class RipristinoTest : public test::BackupTest {
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
        return scrittore.CreaBackup(percorso, codice);
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

TEST_P(RipristinoTest, AndataERitornoInChiaroECriptato)
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
        db().exec("DELETE FROM CTAB");
        ASSERT_NE(StatoDaFuori(), originale);
        db().insert(schema::CTAB(), {QStringLiteral("PAESE"), QStringLiteral("IT"), QStringLiteral("ITALIA")});
        db().insert(schema::CTAB(), {QStringLiteral("CARICA"), QStringLiteral("1"), QStringLiteral("RAPPRESENTANTE")});

        const EsitoRipristino esito = Ripristina(File(nome));
        ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
        EXPECT_EQ(esito.righe, 1);
        EXPECT_EQ(esito.codici, QStringList{"01"});
        EXPECT_TRUE(segnalati_.isEmpty());
        EXPECT_EQ(StatoDaFuori(), originale);
    }
    EXPECT_EQ(avanzamenti_, 2);
}

TEST_P(RipristinoTest, CopiaDiSicurezzaPrimaENomiMaiSovrascritti)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    ASSERT_TRUE(Backup(File("b.VEKO"), "01", false).riuscito);
    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"PRIMA DEL RIPRISTINO", "01"});

    // First restore of the day: the plain name, scrambled like the window's box says.
    EsitoRipristino esito = Ripristina(File("b.VEKO"), true);
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    const QString prima = Programma() + "/BFRR_01_20260307.VEKO";
    EXPECT_EQ(esito.copieSicurezza, QStringList{prima});
    const FileBackupLetto copia = LeggiFileBackup(prima);
    EXPECT_TRUE(copia.intestazione.criptato);
    ASSERT_EQ(copia.righe.size(), 1u);
    EXPECT_EQ(copia.righe[0].campi[3], "PRIMA DEL RIPRISTINO");
    const QByteArray primaCopia = LeggiFile(prima);

    // A second restore the same day keeps the first copy, the real original.
    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"SECONDA VOLTA", "01"});
    esito = Ripristina(File("b.VEKO"), false);
    ASSERT_TRUE(esito.riuscito);
    const QString seconda = Programma() + "/BFRR_01_20260307_102030.VEKO";
    EXPECT_EQ(esito.copieSicurezza, QStringList{seconda});
    EXPECT_EQ(LeggiFile(prima), primaCopia);
    EXPECT_TRUE(LeggiFile(seconda).startsWith("\xA6" "COPE" "\xA6" "01" "\xA6" "SECONDA VOLTA" "\xA6"));

    // And a third in the same second.
    esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito);
    EXPECT_EQ(esito.copieSicurezza, QStringList{Programma() + "/BFRR_01_20260307_102030_2.VEKO"});
    EXPECT_EQ(CopieNelProgramma().size(), 3);
}

TEST_P(RipristinoTest, NessunaCopiaPerUnSoggettoNuovo)
{
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "05" "\xA6" "NUOVO SRL\r\n");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_TRUE(esito.copieSicurezza.isEmpty());
    EXPECT_TRUE(CopieNelProgramma().isEmpty());
}

TEST_P(RipristinoTest, CopiaImpossibileNienteCambia)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    const QStringList prima = StatoDaFuori();
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "01" "\xA6" "ALTRO NOME\r\n");
    // The program folder is a file: the safety copy cannot be written.
    Ripristino ripristino(db(), File("b.VEKO"));
    const EsitoRipristino esito = ripristino.Ripristina(File("b.VEKO"));
    EXPECT_FALSE(esito.riuscito);
    EXPECT_TRUE(esito.errore.startsWith("Impossibile scrivere la copia di sicurezza"));
    EXPECT_EQ(StatoDaFuori(), prima);
}

TEST_P(RipristinoTest, FallimentoAMetaLasciaTuttoComePrima)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    const QStringList prima = StatoDaFuori();
    // The database fails (a lost connection, say) at the fourth row, after 01 and 02 were
    // deleted, a code was merged, another added and a row stored.
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "01" "\xA6" "NUOVA ROSSI\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "ITALIA CAMBIATA\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n"
                           "\xA6" "COPE" "\xA6" "02" "\xA6" "NUOVA BIANCHI\r\n");
    guasto_ = [](int riga) {
        if (riga == 4)
            throw DbError(0, QStringLiteral("connessione persa"));
    };
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    EXPECT_FALSE(esito.riuscito);
    EXPECT_FALSE(esito.errore.isEmpty());
    EXPECT_TRUE(MessaggioRipristinoFallito(esito).contains("non sono stati modificati"));
    EXPECT_EQ(StatoDaFuori(), prima);
    EXPECT_EQ(esito.errore, "connessione persa");
    // The safety copies were written before and stay.
    EXPECT_EQ(CopieNelProgramma(), (QStringList{"BFRR_01_20260307.VEKO", "BFRR_02_20260307.VEKO"}));
}

TEST_P(RipristinoTest, SoggettoDueVolteRifiutatoPrimaDiCambiare)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    const QStringList prima = StatoDaFuori();
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "01" "\xA6" "NUOVA ROSSI\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n"
                           "\xA6" "COPE" "\xA6" "01" "\xA6" "DOPPIONE\r\n");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(esito.errore, "Riga 3 del file: il soggetto obbligato \"01\" compare due volte nel file");
    EXPECT_EQ(StatoDaFuori(), prima);
    EXPECT_TRUE(CopieNelProgramma().isEmpty());
}

TEST_P(RipristinoTest, FileCostruitiNonCancellanoNulla)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    const QStringList prima = StatoDaFuori();

    // A quote in the code: bound, it is only a code; the others stay.
    Scrivi(File("apice.VEKO"), "\xA6" "COPE" "\xA6" "X' OR '1'='1" "\xA6" "INTRUSO\r\n");
    EsitoRipristino esito = Ripristina(File("apice.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    QStringList nuovo = StatoArchivio(db());
    for (const QString& riga : prima)
        nuovo.removeOne(riga);
    ASSERT_EQ(nuovo.size(), 1);
    EXPECT_TRUE(nuovo[0].startsWith("COPE|X' OR '1'='1|INTRUSO|"));
    db().exec("DELETE FROM COPE WHERE OCOD = ?", {"X' OR '1'='1"});
    ASSERT_EQ(StatoDaFuori(), prima);

    // Other tables' names, however spelled, are refused before anything changes.
    const QList<QByteArray> altre{
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "T_COMUNI" "\xA6" "ROMA" "\xA6" "RM\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "COPE WHERE 1=1 --" "\xA6" "01" "\xA6" "R\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "cope" "\xA6" "02" "\xA6" "R\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "\xA6" "02\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "COPE" "\xA6" "\xA6" "SENZA CODICE\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "CTAB" "\xA6" "TIPO TROPPO LUNGO" "\xA6" "X" "\xA6" "Y\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "CTAB\r\n",
        "\xA6" "COPE" "\xA6" "01" "\xA6" "R\r\n" "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" " " "\xA6" "VUOTO\r\n",
    };
    for (const QByteArray& contenuto : altre) {
        SCOPED_TRACE(contenuto.toStdString());
        Scrivi(File("altra.VEKO"), contenuto);
        esito = Ripristina(File("altra.VEKO"));
        EXPECT_FALSE(esito.riuscito);
        EXPECT_TRUE(esito.errore.startsWith("Riga 2 del file: ")) << esito.errore.toStdString();
        EXPECT_EQ(StatoDaFuori(), prima);
    }

    // Empty files and files that are not backups.
    for (const QByteArray& contenuto : {QByteArray(), QByteArray("\r\n"), QByteArray("\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "X\r\n"),
                                        QByteArray("\xA6" "COPE\r\n")}) {
        Scrivi(File("vuoto.VEKO"), contenuto);
        esito = Ripristina(File("vuoto.VEKO"));
        EXPECT_FALSE(esito.riuscito);
        EXPECT_EQ(esito.errore, MessaggioNonBackup);
        EXPECT_EQ(StatoDaFuori(), prima);
    }
    EXPECT_TRUE(CopieNelProgramma().isEmpty());
}

TEST_P(RipristinoTest, TuttiISoggettiAccantoAdAltri)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::SoggettoCompleto("02", "BIANCHI SRL"));
    db().insert(schema::COPE(), test::SoggettoCompleto("03", "VERDI SNC"));
    const QStringList originale = StatoDaFuori();
    ASSERT_TRUE(Backup(File("tutti.VEKO"), QString(), true).riuscito);

    db().exec("UPDATE COPE SET ORAG = ? WHERE OCOD = ?", {"CAMBIATO", "01"});
    db().exec("DELETE FROM COPE WHERE OCOD = ?", {"02"});
    db().exec("UPDATE COPE SET OSCOM = ? WHERE OCOD = ?", {"", "03"});
    db().insert(schema::COPE(), test::SoggettoCompleto("04", "NERI SAS"));

    const EsitoRipristino esito = Ripristina(File("tutti.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.righe, 3);
    QStringList codici = esito.codici;
    codici.sort();
    EXPECT_EQ(codici, (QStringList{"01", "02", "03"}));
    // 01, 02 and 03 as they were, 04 untouched.
    QStringList stato = StatoDaFuori();
    const std::vector<Row> quarto = db().select(schema::COPE(), " WHERE OCOD = ?", {"04"});
    ASSERT_EQ(quarto.size(), 1u);
    EXPECT_EQ(quarto[0].text(cope::ORAG), "NERI SAS");
    stato.removeIf([](const QString& riga) { return riga.startsWith("COPE|04|"); });
    EXPECT_EQ(stato, originale);
    // A safety copy of each declarant that was stored; 02 was not.
    EXPECT_EQ(CopieNelProgramma(), (QStringList{"BFRR_01_20260307.VEKO", "BFRR_03_20260307.VEKO"}));
}

TEST_P(RipristinoTest, UnaTabellaInDuePartiNonPerdeRighe)
{
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n"
                           "\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI\r\n");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.righe, 3);
    EXPECT_EQ(db().select(schema::COPE()).size(), 2u);
}

TEST_P(RipristinoTest, RigheCorteEFineRigaDiAltriSistemi)
{
    // LF, a lone CR, a blank line and a last line without an end.
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "09" "\xA6" "BREVE\n"
                           "   \r"
                           "\xA6" "COPE" "\xA6" "10" "\xA6" "ALTRA\r"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "SM");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.righe, 3);
    auto altra = backend().apriAltraConnessione();
    const std::vector<Row> righe = altra->select(schema::COPE(), " WHERE OCOD = ?", {"09"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].text(cope::ORAG), "BREVE");
    // Missing values: empty texts and 0, never null.
    for (int c = 0; c < cope::NumeroColonne; ++c)
        EXPECT_FALSE(righe[0].isNull(c)) << schema::COPE().columns[static_cast<std::size_t>(c)].name.toStdString();
    EXPECT_EQ(righe[0].value(cope::OPF), QVariant(0));
    EXPECT_EQ(righe[0].text(cope::OPROG), "");
    EXPECT_EQ(altra->select(schema::COPE(), " WHERE OCOD = ?", {"10"}).size(), 1u);
    // A code-table line without a description merges an empty one.
    const std::vector<Row> sm = altra->select(schema::CTAB(), " WHERE COD = ?", {"SM"});
    ASSERT_EQ(sm.size(), 1u);
    EXPECT_FALSE(sm[0].isNull(ctab::DES));
}

TEST_P(RipristinoTest, FusioneDellaTabellaDeiCodici)
{
    Scrivi(File("b.VEKO"), "\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT" "\xA6" "ITALIA (REPUBBLICA)\r\n"
                           "\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "FR" "\xA6" "FRANCIA\r\n"
                           "\xA6" "CTAB" "\xA6" "ITT" "\xA6" "A1" "\xA6" "ABCDEFGHIJKLMNO/QRSTUVWX\r\n");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    auto altra = backend().apriAltraConnessione();
    const auto descrizione = [&](const char* tipo, const char* cod) {
        const auto righe = altra->select(schema::CTAB(), " WHERE TIPO = ? AND COD = ?", {tipo, cod});
        return righe.size() == 1 ? righe[0].text(ctab::DES) : QStringLiteral("<%1 righe>").arg(righe.size());
    };
    EXPECT_EQ(descrizione("PAESE", "IT"), "ITALIA (REPUBBLICA)");
    EXPECT_EQ(descrizione("PAESE", "FR"), "FRANCIA");
    EXPECT_EQ(descrizione("CARICA", "1"), "RAPPRESENTANTE");
    EXPECT_EQ(descrizione("ITT", "A1"), "ABCDEFGHIJK" + QString(10, ' ') + "MNO/QRSTUVW");
    EXPECT_EQ(altra->select(schema::CTAB()).size(), 4u);
}

TEST_P(RipristinoTest, ErroriDiCampoSegnalatiRigaRipristinata)
{
    Scrivi(File("b.VEKO"), QByteArray("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI") + QByteArray(12, '\xA6')
                               + "SI" + QByteArray(19, '\xA6') + "00009" "\xA6" "IN PIU'\r\n");
    const EsitoRipristino esito = Ripristina(File("b.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    ASSERT_EQ(segnalati_.size(), 2);
    EXPECT_EQ(segnalati_[0], "Errore: COPE registrazione: indice 15 valore SI Errore: Valore numerico non valido per la colonna OPF");
    EXPECT_EQ(segnalati_[1], "Errore: COPE registrazione: indice 35 valore IN PIU' Errore: Elemento oltre l'ultima colonna della tabella");
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].value(cope::OPF), QVariant(0));
    EXPECT_EQ(righe[0].text(cope::OPROG), "00009");
}

TEST_P(RipristinoTest, UnBackupVecchioNonAbbassaIlProgressivo)
{
    auto progressivoDaFuori = [this](const char* codice) {
        auto altra = backend().apriAltraConnessione();
        const auto valore = altra->scalar(QStringLiteral("SELECT OPROG FROM COPE WHERE OCOD = ?"),
                                          {QString::fromLatin1(codice)}, ColumnType::Text);
        return valore ? valore->toString() : QStringLiteral("<manca>");
    };
    QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
    soggetto[cope::OPROG] = QStringLiteral("00005");
    db().insert(schema::COPE(), soggetto);
    ASSERT_TRUE(Backup(File("vecchio.VEKO"), "01", false).riuscito);

    // Files 00005 and 00006 were sent after the backup: restoring it keeps 00007, and the
    // rest of the record comes back from the file.
    db().exec("UPDATE COPE SET OPROG = ?, ORAG = ? WHERE OCOD = ?", {"00007", "CAMBIATO", "01"});
    ASSERT_TRUE(Ripristina(File("vecchio.VEKO")).riuscito);
    EXPECT_EQ(progressivoDaFuori("01"), QStringLiteral("00007"));
    EXPECT_TRUE(StatoDaFuori().join('\n').contains(QStringLiteral("ROSSI SPA")));

    // A backup with a higher number than the stored one (another machine's) keeps its own.
    db().exec("UPDATE COPE SET OPROG = ? WHERE OCOD = ?", {"00003", "01"});
    ASSERT_TRUE(Ripristina(File("vecchio.VEKO")).riuscito);
    EXPECT_EQ(progressivoDaFuori("01"), QStringLiteral("00005"));

    // A declarant not stored yet takes the file's number as it is.
    db().exec("DELETE FROM COPE");
    ASSERT_TRUE(Ripristina(File("vecchio.VEKO")).riuscito);
    EXPECT_EQ(progressivoDaFuori("01"), QStringLiteral("00005"));
}

QUERCINO_DB_BACKENDS(RipristinoTest);
