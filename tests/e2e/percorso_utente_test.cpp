// The accountant's road through the whole program, offscreen, from the launch to the exit,
// on each back-end (the seeded database of the program folder, SQLite and PostgreSQL
// through ODBC by connection string): "ENTRA", two company declarants typed in the
// registry (the town completed from its first letters) and the first one picked;
// "Elabora foglio Excel / CSV" on the Help workbook, then on both Help CSV files at once;
// an annulment; a backup of the declarant, its deletion and its restore; the exit; the
// next day's launch. Dialogs and messages are answered by the test doubles. What only this
// road can show is judged by outside tools: xmllint with the Agency's schema and XPath on
// every file, the sample files read as plain text, the database read back on another
// connection (Qt's own SQLite driver for the file). The steps and what each showed are in
// scenari/percorso.txt (see support/scenario.h), the same on every back-end.

#include "app/backup/FSalva.h"
#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/Avvio.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "declarants/import/FImpEX.h"
#include "declarants/registry/F1OP.h"
#include "platform/grid/Grid.h"
#include "support/apertura_registrata.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "support/servizi_in_scenario.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace quercino;
using test::Backend;
using test::Parole;

namespace {

// Runs `azione` on the modal window of type W that the next step opens; prints if none came.
template <typename W>
void QuandoSiApre(test::Scenario& s, const std::function<void(W&)>& azione)
{
    QTimer::singleShot(0, [&s, azione] {
        W* finestra = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!finestra)
            return s.Stampa("NESSUNA FINESTRA");
        azione(*finestra);
        if (finestra->isVisible())
            finestra->done(QDialog::Rejected);
    });
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
            opzioni = "TipoDb=X\r\ndebug=0\r\nStrConn=" + backend->stringaConnessione().toUtf8() + "\r\n";
        }
        ASSERT_TRUE(test::ScriviFile(programma.filePath("configurazione.ini"), "[opzioni]\r\n" + opzioni));
        // The samples as the user would copy them out of Help: the workbook in one folder,
        // the CSV files in another, so that each import keeps its own log.
        for (const char* cartella : {"excel", "csv", "backup"})
            ASSERT_TRUE(QDir(lavoro.path()).mkpath(cartella));
        for (const char* nome : {"excel/DATI_FATTURE_BASE.xlsx", "csv/DATI_FATTURE_EMESSE.csv", "csv/DATI_FATTURE_RICEVUTE.csv"})
            ASSERT_TRUE(QFile::copy(QUERCINO_PROGRAM_DIR "/Help/" + QFileInfo(nome).fileName(), lavoro.filePath(nome)))
                << nome << ": build quercino_esempi_help";
        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        ChiudiConnessione();
        CodiceOperatore.clear();
        UltimaCartella.clear();
        CollegaFinestre();
        s.Sostituisci(lavoro.path(), "<lavoro>");
        s.sostituzioni.emplace_back(QRegularExpression("_\\d{8}\\.VEKO"), "_<data>.VEKO");   // today's date
        s.dopoOgniPasso = [this] {
            for (; aperti < aperture.aperti.size(); ++aperti)
                s.Stampa("(apre " + aperture.aperti[aperti].toString() + ")");
        };
        Verbi();
    }

    void TearDown() override
    {
        ChiudiConnessione();
        qunsetenv("QUERCINO_HOME");
        qunsetenv("PUBLIC");
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

    void Azione(const QString& testo)
    {
        for (QAction* azione : F0::Istanza()->Azioni())
            if (azione->text().trimmed() == testo)
                return azione->trigger();
        s.Stampa("NESSUNA VOCE " + testo);
    }

    void Verbi()
    {
        s.verbi["entra"] = [this](const QString&) {
            F0::Istanza()->Benvenuto()->Command1()->click();
            registro = IstanzaF1OP();
            s.Stampa(registro ? "il registro" : "NESSUN REGISTRO");
        };
        // A company declarant: the tax code left (the VAT number follows), the town typed key by
        // key in lower case as people type, completed from the town table; then saved.
        s.verbi["compila"] = [this](const QString& a) {   // CF TOWN NAME
            const QStringList p = Parole(a, 2);
            registro->Campo("OCF")->setText(p[0]);
            registro->vOCF_LostFocus();
            for (const auto& [campo, valore] : {std::pair<const char*, QString>{"ORAG", p[2]}, {"OSINDI", "Via Garibaldi"},
                                                {"OSNUMC", "12"}, {"OSCAP", "20121"}})
                registro->Campo(campo)->setText(valore);
            registro->Campo("OSCOM")->setFocus();
            QTest::keyClicks(registro->Campo("OSCOM"), p[1].left(4).toLower());
            registro->vOSCOM_LostFocus();
            s.Stampa("OPIVA=" + registro->Campo("OPIVA")->text() + " OSCOM=" + registro->Campo("OSCOM")->text() + " OSPRO="
                     + registro->Campo("OSPRO")->text());
            registro->PulsanteRegistra().click();
        };
        s.verbi["voce"] = [this](const QString& a) { Azione(a); };
        s.verbi["scegli-dichiarante"] = [this](const QString& a) {   // the list's row of the code
            for (int r = 1; r <= registro->Griglia().RowCount(); ++r)
                if (registro->Griglia().CellText(r, "OCOD") == a)
                    registro->Griglia().SetCurrentCell(r, 1);
            s.Stampa("corrente " + CodiceOperatore + ", " + QString::number(registro->Griglia().RowCount()) + " nella lista");
        };
        // "Elabora foglio Excel / CSV" (the files chosen by "scegli", the names by "salva").
        s.verbi["elabora"] = [this](const QString& a) {   // excel|csv
            QuandoSiApre<FImpEX>(s, [this, a](FImpEX& importa) {
                s.Stampa("(importazione per " + importa.Ragione().text() + ")");
                if (a == "csv")
                    importa.OpzioneCsv().click();
                importa.PulsanteImporta().click();
            });
            registro->PulsanteElabora().click();
        };
        s.verbi["annullamento"] = [this](const QString& a) {
            registro->OpzioneAnnullamento().click();
            registro->findChild<QLineEdit*>("IDFILE")->setText(a);
            registro->PusCREA_Click();
            registro->OpzioneNuoviDati().click();
        };
        s.verbi["valido"] = [this](const QString& a) {
            for (const QString& nome : Parole(a))
                s.Stampa(nome + ": " + test::EsitoSchema(lavoro.filePath(nome)));
        };
        // XPath on a file written; "= FILE N": the value against field N of the first data row
        // (row 4) of a Help CSV sample, read here as plain text.
        s.verbi["xpath"] = [this](const QString& a) {   // FILE EXPR [= CSV N]
            const QString valore = test::XPath(lavoro.filePath(a.section(' ', 0, 0)), a.section(' ', 1).section(" = ", 0, 0));
            const QString csv = a.section(" = ", 1);
            const QString riga = QString::fromLatin1(test::LeggiFile(lavoro.filePath(csv.section(' ', 0, 0))).split('\n').value(3));
            const QString campo = QString(riga).remove('\r').split(';').value(csv.section(' ', 1).toInt() - 1).replace(',', '.');
            s.Stampa(valore + (csv.isEmpty() ? "" : campo == valore ? " (come nel CSV)" : " (nel CSV: " + campo + ")"));
        };
        s.verbi["cerca"] = [this](const QString& a) {   // FILE TEXT
            const bool trovato = test::LeggiFile(lavoro.filePath(a.section(' ', 0, 0))).contains(a.section(' ', 1).toLatin1());
            s.Stampa(trovato ? "trovato" : "NON TROVATO");
        };
        s.verbi["campo"] = [this](const QString& a) { s.Stampa(registro->Campo(a)->text()); };
        s.verbi["cope"] = [this](const QString&) { s.Stampa(Cope()); };
        s.verbi["salva-dati"] = [this](const QString&) {
            QuandoSiApre<FSalva>(s, [](FSalva& finestra) { finestra.bconferma_Click(); });
            Azione("Salva Dati (singolo)");
        };
        s.verbi["ripristina"] = [this](const QString&) {
            QuandoSiApre<FSalva>(s, [this](FSalva& finestra) {
                s.Stampa("(ripristino: " + finestra.Label2()->text() + ")");
                finestra.bconferma_Click();
            });
            Azione("Ripristina Dati");
            s.Stampa(QString::number(registro->Griglia().RowCount()) + " nella lista");
        };
        s.verbi["fine"] = [this](const QString&) { s.Stampa(finito ? "fine del programma" : "IL PROGRAMMA CONTINUA"); };
    }

    QTemporaryDir programma, pubblica, lavoro;
    std::unique_ptr<test::DbBackend> backend;
    std::unique_ptr<Database> altra;
    test::Scenario s;
    test::ServiziInScenario servizi{s, lavoro.path()};
    test::AperturaRegistrata aperture;   // nothing leaves the test for a browser or viewer
    qsizetype aperti = 0;
    F1OP* registro = nullptr;
    bool finito = false;
};

TEST_P(PercorsoUtente, DalSoggettoAiFileERitorno)
{
    QByteArray transcritto;
    QTimer::singleShot(0, [this, &transcritto] {
        F0::Istanza()->ImpostaTermine([this] {
            finito = true;
            QCoreApplication::exit(0);
        });
        transcritto = s.Esegui(test::Accanto(__FILE__, "scenari/percorso.txt"));
        if (!finito)   // whatever happened, the run ends here
            QCoreApplication::exit(0);
    });
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_GOLDEN(transcritto, "scenari/percorso.txt");
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
    EXPECT_EQ(Cope().value(0), "01|02830150799|STUDIO VERDI SRL|MILANO|00006");
}

INSTANTIATE_TEST_SUITE_P(DbBackends, PercorsoUtente,
                         ::testing::Values(Backend::SqliteFile, Backend::OdbcSqlite, Backend::OdbcPostgres),
                         test::NomeParametroBackend());

} // namespace
