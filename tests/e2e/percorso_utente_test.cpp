// The accountant's road through the whole program, offscreen, from the launch to the exit,
// on each back-end (the seeded database of the program folder, SQLite and PostgreSQL
// through ODBC by connection string): "ENTRA", two company declarants typed in the
// registry (the town completed from its first letters) and the first one picked;
// "Elabora foglio Excel / CSV" on the Help workbook, then on both Help CSV files at once;
// an annulment; a backup of the declarant, its deletion and its restore; the exit; the
// next day's launch. Dialogs and messages are answered by the test doubles. What only this
// road can show is judged by outside tools: xmllint with the Agency's schema and XPath on
// every file, the sample files read as plain text, the database read back on another
// connection (Qt's own SQLite driver for the file).

#include "app/backup/FSalva.h"
#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/Avvio.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "platform/grid/Grid.h"
#include "support/apertura_registrata.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace quercino;
using test::Backend;
using test::ValidoPerSchema;
using test::XPath;

namespace {

const QString partitaIva = QStringLiteral("02830150799");   // check digit 9 is right
const QString ragioneSociale = QStringLiteral("STUDIO VERDI SRL");
const QString altraPartitaIva = QStringLiteral("07912340564");

// Runs `azione` on the modal window of type W that the next step opens; says whether it came.
template <typename W>
void QuandoSiApre(const std::function<void(W&)>& azione, bool* trovata)
{
    QTimer::singleShot(0, [azione, trovata] {
        W* finestra = qobject_cast<W*>(QApplication::activeModalWidget());
        *trovata = finestra != nullptr;
        if (finestra) {
            azione(*finestra);
            if (finestra->isVisible())
                finestra->done(QDialog::Rejected);
        }
    });
}

QAction* Azione(const QString& testo)
{
    for (QAction* azione : F0::Istanza()->Azioni()) {
        if (azione->text().trimmed() == testo)
            return azione;
    }
    return nullptr;
}

// The first data row (row 4) of a Help CSV sample, split on ';'.
QStringList PrimaRigaDati(const QString& percorso)
{
    const QList<QByteArray> righe = test::LeggiFile(percorso).split('\n');
    return righe.size() < 4 ? QStringList() : QString::fromLatin1(righe[3]).remove('\r').split(';');
}

class PercorsoUtente : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        QByteArray opzioni = "TipoDb=M\r\ndebug=0\r\n";
        ASSERT_TRUE(QDir(programma.path()).mkpath("DataBase"));
        if (GetParam() == Backend::SqliteFile) {
            ASSERT_TRUE(QFile::copy(QUERCINO_SEED_DATABASE, programma.filePath("DataBase/VEKO.sqlite")));
            QFile::setPermissions(programma.filePath("DataBase/VEKO.sqlite"), QFile::ReadOwner | QFile::WriteOwner);
        } else {
            backend = std::make_unique<test::DbBackend>(GetParam());
            backend->db().insert(schema::T_COMUNI(), {QStringLiteral("MILANO"), QStringLiteral("MI")});
            backend->db().insert(schema::T_COMUNI(), {QStringLiteral("TORINO"), QStringLiteral("TO")});
            backend->db().insert(schema::CTAB(), {QStringLiteral("PAESE"), QStringLiteral("IT"), QStringLiteral("ITALIA")});
            altra = backend->apriAltraConnessione();
            backend->chiudi();
            opzioni = "TipoDb=X\r\ndebug=0\r\nStrConn=" + backend_stringa().toUtf8() + "\r\n";
        }
        ASSERT_TRUE(test::ScriviFile(programma.filePath("configurazione.ini"), "[opzioni]\r\n" + opzioni));
        // The samples as the user would copy them out of Help: the workbook in one folder,
        // the CSV files in another, so that each import keeps its own log.
        for (const char* cartella : {"excel", "csv", "backup"})
            ASSERT_TRUE(QDir(lavoro.path()).mkpath(cartella));
        const QString help = QStringLiteral(QUERCINO_PROGRAM_DIR "/Help/");
        for (const auto& [nome, cartella] : {std::pair{"DATI_FATTURE_BASE.xlsx", "excel"},
                                             std::pair{"DATI_FATTURE_EMESSE.csv", "csv"},
                                             std::pair{"DATI_FATTURE_RICEVUTE.csv", "csv"}})
            ASSERT_TRUE(QFile::copy(help + nome, Lavoro(cartella) + nome)) << nome << ": build quercino_esempi_help";
        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        ChiudiConnessione();
        CodiceOperatore.clear();
        UltimaCartella.clear();
        CollegaFinestre();
    }

    void TearDown() override
    {
        ChiudiConnessione();
        qunsetenv("QUERCINO_HOME");
        qunsetenv("PUBLIC");
    }

    QString backend_stringa() const { return backend->stringaConnessione(); }
    QString Lavoro(const QString& cartella) const { return lavoro.filePath(cartella) + '/'; }
    QString FileXml(const QString& cartella, int n) const
    {
        return Lavoro(cartella) + QStringLiteral("IT%1_DF_%2.xml").arg(partitaIva).arg(n, 5, 10, QLatin1Char('0'));
    }

    // COPE read back on another connection, in code order: "OCOD|OCF|ORAG|OSCOM|OPROG".
    QStringList Cope()
    {
        const QString sql = "SELECT OCOD, OCF, ORAG, OSCOM, OPROG FROM COPE ORDER BY OCOD";
        QStringList righe;
        if (altra) {
            for (const Row& r : altra->query(sql, {}, std::vector<ColumnType>(5, ColumnType::Text)))
                righe << QStringList{r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)}.join('|');
            return righe;
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "oracolo");
            db.setDatabaseName(programma.filePath("DataBase/VEKO.sqlite"));
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            EXPECT_TRUE(db.open());
            QSqlQuery q(sql, db);
            while (q.next())
                righe << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                     q.value(3).toString(), q.value(4).toString()}.join('|');
        }
        QSqlDatabase::removeDatabase("oracolo");
        return righe;
    }

    // Types a company declarant: the tax code left (the VAT number follows), the town typed
    // key by key in lower case as people type, completed from the town table.
    void Compila(F1OP& registro, const QString& cf, const QString& ragione, const QString& comune)
    {
        registro.Campo("OCF")->setText(cf);
        registro.vOCF_LostFocus();
        EXPECT_EQ(registro.Campo("OPIVA")->text(), cf);
        registro.Campo("ORAG")->setText(ragione);
        registro.Campo("OSINDI")->setText("Via Garibaldi");
        registro.Campo("OSNUMC")->setText("12");
        registro.Campo("OSCAP")->setText("20121");
        QLineEdit* campo = registro.Campo("OSCOM");
        campo->setFocus();
        QTest::keyClicks(campo, comune.left(4).toLower());
        registro.vOSCOM_LostFocus();
        EXPECT_EQ(campo->text(), comune);
        EXPECT_FALSE(registro.Campo("OSPRO")->text().isEmpty());
        const std::size_t prima = messaggi.mostrati.size();
        registro.PulsanteRegistra().click();
        EXPECT_EQ(messaggi.mostrati.size(), prima) << "saving a valid declarant showed a message";
    }

    // "Elabora foglio Excel / CSV" on `ingressi`, the save dialogs answered with `uscite`.
    void Elabora(F1OP& registro, const QStringList& ingressi, const QStringList& uscite, bool csv)
    {
        dialoghi.aperture = {ingressi};
        dialoghi.salvataggi.assign(uscite.begin(), uscite.end());
        bool trovata = false;
        QuandoSiApre<FImpEX>([csv](FImpEX& importa) {
            EXPECT_EQ(importa.Ragione().text(), ragioneSociale);
            if (csv)
                importa.OpzioneCsv().click();
            importa.PulsanteImporta().click();
        }, &trovata);
        registro.PulsanteElabora().click();
        EXPECT_TRUE(trovata) << "\"Elabora foglio Excel / CSV\" opened no import window";
        for (const QString& uscita : uscite)
            EXPECT_TRUE(ValidoPerSchema(uscita));
    }

    void Percorso();
    void SalvaEliminaRipristina(F1OP& registro);

    QTemporaryDir programma, pubblica, lavoro;
    std::unique_ptr<test::DbBackend> backend;
    std::unique_ptr<Database> altra;
    test::MessaggiSimulati messaggi;
    test::DialoghiSimulati dialoghi;
    test::AperturaRegistrata aperture;   // nothing leaves the test for a browser or viewer
    bool finito = false;
};

void PercorsoUtente::Percorso()
{
    F0::Istanza()->ImpostaTermine([this] {
        finito = true;
        QCoreApplication::exit(0);
    });
    F0::Istanza()->Benvenuto()->Command1()->click();
    F1OP* registro = IstanzaF1OP();
    ASSERT_NE(registro, nullptr) << "\"ENTRA\" opened no registry";
    Compila(*registro, partitaIva, "Studio Verdi srl", "MILANO");
    Azione("Aggiungi")->trigger();
    Compila(*registro, altraPartitaIva, "Bianchi spa", "TORINO");
    // The first one picked in the list is the one whose files are written.
    for (int r = 1; r <= registro->Griglia().RowCount(); ++r) {
        if (registro->Griglia().CellText(r, "OCOD") == "01")
            registro->Griglia().SetCurrentCell(r, 1);
    }
    ASSERT_EQ(CodiceOperatore, "01");

    // The Help workbook: one file per sheet, each proposing the next number.
    messaggi.risposteTask = {PrimoPulsanteTask};   // "OK Chiudi" on the summary
    Elabora(*registro, {Lavoro("excel") + "DATI_FATTURE_BASE.xlsx"}, {FileXml("excel", 1), FileXml("excel", 2)}, false);
    EXPECT_EQ(dialoghi.richieste.back().nomeFile, QFileInfo(FileXml("excel", 2)).fileName());
    EXPECT_EQ(XPath(FileXml("excel", 1), "string(//ProgressivoInvio)"), "00001");
    EXPECT_EQ(XPath(FileXml("excel", 1), "string(//CedentePrestatoreDTE//IdCodice)"), partitaIva);
    EXPECT_EQ(XPath(FileXml("excel", 2), "string(//CessionarioCommittenteDTR//IdCodice)"), partitaIva);
    EXPECT_TRUE(test::LeggiFile(Lavoro("excel") + "LOG_IMPORTAZIONE.TXT").contains("Soggetto: " + partitaIva.toLatin1()));

    // Both CSV files at once: one summary each, the second's "Vai al Portale dell'Agenzia".
    const QString emesse = Lavoro("csv") + "DATI_FATTURE_EMESSE.csv", ricevute = Lavoro("csv") + "DATI_FATTURE_RICEVUTE.csv";
    messaggi.risposteTask = {PrimoPulsanteTask, PrimoPulsanteTask + 2};
    Elabora(*registro, {emesse, ricevute}, {FileXml("csv", 3), FileXml("csv", 4)}, true);
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0].scheme(), "https");
    // The counterparts and amounts of the CSV's data rows, read here as plain text.
    const QStringList rigaEmessa = PrimaRigaDati(emesse);
    ASSERT_GE(rigaEmessa.size(), 17);
    EXPECT_EQ(XPath(FileXml("csv", 3), "string(//CessionarioCommittenteDTE//IdCodice)"), rigaEmessa[0]);
    EXPECT_EQ(XPath(FileXml("csv", 3), "string(//ImponibileImporto)"), QString(rigaEmessa[15]).replace(',', '.'));
    EXPECT_EQ(XPath(FileXml("csv", 4), "string(//CedentePrestatoreDTR//IdCodice)"), PrimaRigaDati(ricevute).value(0));

    // An annulment, then "Controlla il file creato".
    registro->OpzioneAnnullamento().click();
    registro->findChild<QLineEdit*>("IDFILE")->setText("12345678");
    dialoghi.salvataggi = {FileXml("csv", 5)};
    messaggi.risposteTask = {PrimoPulsanteTask, PrimoPulsanteTask + 1};
    registro->PusCREA_Click();
    EXPECT_TRUE(ValidoPerSchema(FileXml("csv", 5)));
    EXPECT_EQ(XPath(FileXml("csv", 5), "string(//ANN/IdFile)"), "12345678");
    EXPECT_EQ(aperture.aperti.value(1), QUrl::fromLocalFile(FileXml("csv", 5)));
    registro->OpzioneNuoviDati().click();
    // Each file raised the picked declarant's number, in the window and in the table.
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00006");
    EXPECT_EQ(Cope(), (QStringList{"01|" + partitaIva + "|" + ragioneSociale + "|MILANO|00006",
                                   "02|" + altraPartitaIva + "|BIANCHI SPA|TORINO|00001"}));

    SalvaEliminaRipristina(*registro);
    if (HasFatalFailure())
        return;
    // "Esci dal Programma", confirmed.
    messaggi.risposte = {RispostaSi};
    Azione("Esci dal Programma")->trigger();
    EXPECT_TRUE(finito) << "\"Esci dal Programma\" did not end the run";
}

void PercorsoUtente::SalvaEliminaRipristina(F1OP& registro)
{
    const QStringList salvata = Cope();
    const QString backup = Lavoro("backup") + "studio.VEKO";
    dialoghi.salvataggi = {backup};
    messaggi.risposte = {RispostaOk};
    bool trovata = false;
    QuandoSiApre<FSalva>([](FSalva& finestra) { finestra.bconferma_Click(); }, &trovata);
    Azione("Salva Dati (singolo)")->trigger();
    ASSERT_TRUE(trovata) << "\"Salva Dati (singolo)\" opened no backup window";

    messaggi.risposte = {RispostaSi};
    Azione("Elimina")->trigger();
    EXPECT_EQ(Cope(), salvata.mid(1));

    dialoghi.aperture = {{backup}};
    messaggi.risposte = {RispostaOk};
    QuandoSiApre<FSalva>([](FSalva& finestra) {
        EXPECT_TRUE(finestra.Label2()->text().contains(ragioneSociale));
        finestra.bconferma_Click();
    }, &trovata);
    Azione("Ripristina Dati")->trigger();
    ASSERT_TRUE(trovata) << "\"Ripristina Dati\" opened no restore window";
    EXPECT_EQ(Cope(), salvata);
    EXPECT_EQ(registro.Griglia().RowCount(), 2);
}

} // namespace

TEST_P(PercorsoUtente, DalSoggettoAiFileERitorno)
{
    QTimer::singleShot(0, [this] {
        Percorso();
        if (!finito)   // whatever happened, the run ends here
            QCoreApplication::exit(0);
    });
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_EQ(Cnn, nullptr);

    // The next day: a new run finds the declarants and goes on from the number.
    CodiceOperatore.clear();
    QString progressivo;
    QTimer::singleShot(0, [&] {
        F0::Istanza()->Benvenuto()->Command1()->click();
        if (F1OP* registro = IstanzaF1OP())
            progressivo = registro->Campo("ORAG")->text() + " " + registro->Campo("OPROG")->text();
        QCoreApplication::exit(0);
    });
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_EQ(progressivo, "BIANCHI SPA 00001");   // the list shows names in order
    EXPECT_EQ(Cope().value(0), "01|" + partitaIva + "|" + ragioneSociale + "|MILANO|00006");
}

INSTANTIATE_TEST_SUITE_P(DbBackends, PercorsoUtente,
                         ::testing::Values(Backend::SqliteFile, Backend::OdbcSqlite, Backend::OdbcPostgres),
                         test::NomeParametroBackend());
