// The accountant's road through the whole program, offscreen, from the launch to the exit:
// a program folder with a copy of the seeded database, "ENTRA", a new company declarant
// typed in the registry (town completed from its first letters), saved; "Elabora foglio
// Excel / CSV" on the Help workbook, then on both Help CSV files at once; an annulment;
// a backup of the declarant, its deletion and its restore; the exit. Dialogs and messages
// are answered by the test doubles. The outputs are judged by outside tools: xmllint with
// the Agency's schema and XPath, the database read back through Qt's own SQLite driver,
// the sample files read as plain text.

#include "app/backup/FSalva.h"
#include "app/backup/RegistraFSalva.h"
#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/Messaggi.h"
#include "app/shell/Avvio.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "platform/db/Database.h"
#include "platform/grid/Grid.h"
#include "support/apertura_registrata.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>

using namespace quercino;

namespace {

const QString partitaIva = QStringLiteral("02830150799");   // check digit 9 is right
const QString ragioneSociale = QStringLiteral("STUDIO VERDI SRL");

using test::ValidoPerSchema;
using test::XPath;

QString Testo(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromLatin1(file.readAll());
}

// The first data row (row 4) of a Help CSV sample, split on ';'.
QStringList PrimaRigaDati(const QString& percorso)
{
    const QStringList righe = Testo(percorso).split(QLatin1Char('\n'));
    if (righe.size() < 4)
        return {};
    QString riga = righe[3];
    riga.remove(QLatin1Char('\r'));
    return riga.split(QLatin1Char(';'));
}

// One row of COPE read through Qt's SQLite driver on its own connection.
std::map<QString, QString> RigaCope(const QString& database, int* righe)
{
    std::map<QString, QString> valori;
    const QString nome = QStringLiteral("oracolo_percorso");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery conta(QStringLiteral("SELECT COUNT(*) FROM COPE"), db);
            *righe = conta.next() ? conta.value(0).toInt() : -1;
            QSqlQuery q(QStringLiteral("SELECT OCOD, OCF, OPIVA, ORAG, OSINDI, OSNUMC, OSCAP, OSCOM, OSPRO, "
                                       "OSPAESE, OPROG FROM COPE"),
                        db);
            if (q.next()) {
                for (int i = 0; i < 11; ++i)
                    valori[q.record().fieldName(i)] = q.value(i).toString();
            }
        } else {
            *righe = -1;
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return valori;
}

// Runs `azione` on the modal window of type W that the next step opens, once its event
// loop turns; `trovata` says whether it came.
template <typename W>
void QuandoSiApre(const std::function<void(W&)>& azione, bool* trovata)
{
    QTimer::singleShot(0, [azione, trovata] {
        W* finestra = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!finestra) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* candidata = qobject_cast<W*>(w); candidata && candidata->isVisible())
                    finestra = candidata;
            }
        }
        *trovata = finestra != nullptr;
        if (finestra)
            azione(*finestra);
    });
}

QAction* Azione(F0& f0, const QString& testo)
{
    for (QAction* azione : f0.Azioni()) {
        if (azione->text().trimmed() == testo)
            return azione;
    }
    return nullptr;
}

// "ENTRA" on the welcome window: the registry it opens, or null.
F1OP* Entra()
{
    F0* f0 = F0::Istanza();
    if (!f0)
        return nullptr;
    f0->Benvenuto()->Command1()->click();
    return IstanzaF1OP();
}

struct Sede {
    QString indirizzo, numero, cap, comune, provincia;
};
const Sede milano{"VIA GARIBALDI", "12", "20121", "MILANO", "MI"};
const Sede torino{"VIA PO", "3", "10121", "TORINO", "TO"};
const QString altraPartitaIva = QStringLiteral("07912340564");

// Types a declarant's tax code (leaving the field, so the VAT number follows), name and
// seat; an empty name leaves the name field alone.
void Compila(F1OP& registro, const QString& codiceFiscale, const QString& ragione, const Sede& sede)
{
    registro.Campo("OCF")->setText(codiceFiscale);
    registro.vOCF_LostFocus();
    if (!ragione.isEmpty())
        registro.Campo("ORAG")->setText(ragione);
    registro.Campo("OSINDI")->setText(sede.indirizzo);
    registro.Campo("OSNUMC")->setText(sede.numero);
    registro.Campo("OSCAP")->setText(sede.cap);
    registro.Campo("OSCOM")->setText(sede.comune);
    registro.Campo("OSPRO")->setText(sede.provincia);
}

// The grid row (from 1) of the declarant with code `codice`, 0 when absent.
int RigaDi(F1OP& registro, const QString& codice)
{
    for (int r = 1; r <= registro.Griglia().RowCount(); ++r) {
        if (registro.Griglia().CellText(r, "OCOD") == codice)
            return r;
    }
    return 0;
}

const std::function<void(FImpEX&)> sceltaCsv = [](FImpEX& importa) { importa.OpzioneCsv().click(); };

// Runs `passi` inside the program, launched as the user launches it; its exit code.
int NelProgramma(const std::function<void()>& passi)
{
    QTimer::singleShot(0, [passi] {
        passi();
        QCoreApplication::exit(0);
    });
    return EseguiProgramma(&Main);
}

class PercorsoUtente : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programma.isValid());
        ASSERT_TRUE(pubblica.isValid());
        ASSERT_TRUE(lavoro.isValid());
        const QString seminato = QStringLiteral(QUERCINO_SEED_DATABASE);
        ASSERT_TRUE(QFileInfo::exists(seminato)) << "build quercino_program_folder first";
        ASSERT_TRUE(QDir(programma.path()).mkpath(QStringLiteral("DataBase")));
        ASSERT_TRUE(QFile::copy(seminato, Database()));
        QFile::setPermissions(Database(), QFile::ReadOwner | QFile::WriteOwner);
        QFile ini(programma.filePath(QStringLiteral("configurazione.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[opzioni]\r\nTipoDb=M\r\ndebug=0\r\n");
        ini.close();

        // The samples as the user would copy them out of Help: the workbook in one folder,
        // the CSV files in another, so that each import keeps its own log.
        ASSERT_TRUE(QDir(lavoro.path()).mkpath(QStringLiteral("excel")));
        ASSERT_TRUE(QDir(lavoro.path()).mkpath(QStringLiteral("csv")));
        ASSERT_TRUE(QDir(lavoro.path()).mkpath(QStringLiteral("backup")));
        const QString help = QStringLiteral(QUERCINO_PROGRAM_DIR "/Help/");
        for (const auto& [nome, cartella] : {std::pair{"DATI_FATTURE_BASE.xlsx", "excel"},
                                             std::pair{"DATI_FATTURE_EMESSE.csv", "csv"},
                                             std::pair{"DATI_FATTURE_RICEVUTE.csv", "csv"}}) {
            ASSERT_TRUE(QFile::copy(help + QLatin1String(nome), Lavoro(QLatin1String(cartella)) + QLatin1String(nome)))
                << nome << " missing from " << help.toStdString() << ": build quercino_esempi_help";
        }

        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        ChiudiConnessione();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        UltimaCartella.clear();
        RegistraF1OP();
        RegistraFSalva();
        RegistraFinestraImportazione();
    }

    void TearDown() override
    {
        ChiudiConnessione();
        qunsetenv("QUERCINO_HOME");
        qunsetenv("PUBLIC");
    }

    QString Database() const { return programma.filePath(QStringLiteral("DataBase/VEKO.sqlite")); }
    // How the checks read COPE back (the SQLite file, unless a test runs on another back-end).
    std::function<std::map<QString, QString>(int*)> leggiCope = [this](int* righe) {
        return RigaCope(Database(), righe);
    };
    QString Lavoro(const QString& cartella) const { return lavoro.filePath(cartella) + QLatin1Char('/'); }
    QString FileXml(const QString& cartella, int progressivo) const
    {
        return Lavoro(cartella) + QStringLiteral("IT%1_DF_%2.xml").arg(partitaIva).arg(progressivo, 5, 10, QLatin1Char('0'));
    }

    void Percorso();
    void PartitaIvaTroppoLunga();
    void DueSoggetti();
    void AnnullamentoDiUnNuovoSoggetto();
    void ApostrofiFinoAlRipristino();
    void PersonaFisicaConDichiarante();
    void NuovoSoggetto(F1OP& registro);
    void ImportaExcel(F1OP& registro);
    void ImportaCsv(F1OP& registro);
    void Annulla(F1OP& registro);
    void SalvaEliminaRipristina(F0& f0, F1OP& registro, const QString& nome);

    // "Elabora foglio Excel / CSV" on `ingressi`, the save dialogs answered with `uscite`;
    // `prepara` acts on the import window before "Importa". Says whether the window came.
    bool Elabora(F1OP& registro, const QStringList& ingressi, const QStringList& uscite,
                 const std::function<void(FImpEX&)>& prepara = {})
    {
        dialoghi.aperture = {ingressi};
        dialoghi.salvataggi.assign(uscite.begin(), uscite.end());
        bool trovata = false;
        QuandoSiApre<FImpEX>([prepara](FImpEX& importa) {
            if (prepara)
                prepara(importa);
            importa.PulsanteImporta().click();
            if (importa.isVisible())
                importa.done(QDialog::Rejected);
        }, &trovata);
        registro.PulsanteElabora().click();
        return trovata;
    }

    // An annulment of file `idFile` saved as `percorso`: "Si, Confermo", then the task
    // dialog's button `dopo` (1 opens the file, 2 the Agency's portal).
    void CreaAnnullamento(F1OP& registro, const QString& idFile, const QString& percorso, int dopo)
    {
        registro.OpzioneAnnullamento().click();
        auto* campo = registro.findChild<QLineEdit*>(QStringLiteral("IDFILE"));
        ASSERT_NE(campo, nullptr);
        campo->setText(idFile);
        dialoghi.salvataggi = {percorso};
        messaggi.risposteTask = {PrimoPulsanteTask, PrimoPulsanteTask + dopo};
        registro.PusCREA_Click();
    }

    QTemporaryDir programma;
    QTemporaryDir pubblica;
    QTemporaryDir lavoro;
    test::MessaggiSimulati messaggi;
    test::DialoghiSimulati dialoghi;
    test::AperturaRegistrata aperture;   // nothing leaves the test for a browser or viewer
    bool finito = false;
};

void PercorsoUtente::NuovoSoggetto(F1OP& registro)
{
    // The empty registry opens on a new declarant.
    EXPECT_EQ(registro.Griglia().RowCount(), 0);
    EXPECT_EQ(registro.Campo("OCOD")->text(), "01");
    EXPECT_EQ(registro.Campo("OPROG")->text(), "00001");

    registro.Campo("OCF")->setText(partitaIva);
    registro.vOCF_LostFocus();
    // A company's tax code of eleven digits is its VAT number too.
    EXPECT_EQ(registro.Campo("OPIVA")->text(), partitaIva);
    registro.Campo("ORAG")->setText(QStringLiteral("Studio Verdi srl"));
    registro.Campo("OSINDI")->setText(QStringLiteral("Via Garibaldi"));
    registro.Campo("OSNUMC")->setText(QStringLiteral("12"));
    registro.Campo("OSCAP")->setText(QStringLiteral("20121"));

    // The town typed key by key, in lower case as people type, completes from the town
    // table, province included.
    QLineEdit* comune = registro.Campo("OSCOM");
    comune->setFocus();
    QTest::keyClicks(comune, QStringLiteral("mila"));
    registro.vOSCOM_LostFocus();
    EXPECT_EQ(comune->text(), "MILANO");
    EXPECT_EQ(registro.Campo("OSPRO")->text(), "MI");

    const std::size_t messaggiPrima = messaggi.mostrati.size();
    registro.PulsanteRegistra().click();
    EXPECT_EQ(messaggi.mostrati.size(), messaggiPrima) << "saving a valid declarant showed a message";
    EXPECT_EQ(registro.Griglia().RowCount(), 1);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(NomeOperatore, ragioneSociale);
}

void PercorsoUtente::ImportaExcel(F1OP& registro)
{
    const QString cartella = QStringLiteral("excel");
    messaggi.risposteTask = {PrimoPulsanteTask};   // "OK Chiudi" on the summary
    const std::size_t taskPrima = messaggi.task.size();
    const std::size_t richiestePrima = dialoghi.richieste.size();
    ASSERT_TRUE(Elabora(registro, {Lavoro(cartella) + QStringLiteral("DATI_FATTURE_BASE.xlsx")},
                        {FileXml(cartella, 1), FileXml(cartella, 2)}, [](FImpEX& importa) {
                            EXPECT_EQ(importa.Ragione().text(), ragioneSociale);
                            EXPECT_TRUE(importa.OpzioneExcel().isChecked());
                        }))
        << "\"Elabora foglio Excel / CSV\" opened no import window";

    // The open dialog, then one save dialog per sheet, each proposing the next number.
    ASSERT_EQ(dialoghi.richieste.size(), richiestePrima + 3);
    EXPECT_EQ(dialoghi.richieste[richiestePrima + 1].nomeFile, QFileInfo(FileXml(cartella, 1)).fileName());
    EXPECT_EQ(dialoghi.richieste[richiestePrima + 2].nomeFile, QFileInfo(FileXml(cartella, 2)).fileName());

    for (int n : {1, 2}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(QFileInfo::exists(FileXml(cartella, n)));
        EXPECT_TRUE(ValidoPerSchema(FileXml(cartella, n)));
        EXPECT_EQ(XPath(FileXml(cartella, n), "string(//*[local-name()='ProgressivoInvio'])"),
                  QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')));
    }
    // Issued invoices first, received second, both from the declarant typed above.
    EXPECT_EQ(XPath(FileXml(cartella, 1), "count(//*[local-name()='DTE'])"), "1");
    EXPECT_EQ(XPath(FileXml(cartella, 1),
                    "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='IdCodice'])"),
              partitaIva);
    EXPECT_EQ(XPath(FileXml(cartella, 2), "count(//*[local-name()='DTR'])"), "1");
    EXPECT_EQ(XPath(FileXml(cartella, 2),
                    "string(//*[local-name()='CessionarioCommittenteDTR']//*[local-name()='IdCodice'])"),
              partitaIva);

    // The summary names both files, and the log beside the workbook says the same.
    ASSERT_EQ(messaggi.task.size(), taskPrima + 1);
    const QString riepilogo = messaggi.task.back().testo;
    EXPECT_TRUE(riepilogo.contains(QFileInfo(FileXml(cartella, 1)).fileName())) << riepilogo.toStdString();
    EXPECT_TRUE(riepilogo.contains(QFileInfo(FileXml(cartella, 2)).fileName())) << riepilogo.toStdString();
    EXPECT_TRUE(riepilogo.contains(partitaIva + QLatin1Char(' ') + ragioneSociale));
    const QString log = Testo(Lavoro(cartella) + QStringLiteral("LOG_IMPORTAZIONE.TXT"));
    EXPECT_TRUE(log.contains(QStringLiteral("Soggetto: ") + partitaIva + QLatin1Char(' ') + ragioneSociale))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(" : 2\r\n"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("<< FINE LOG IMPORTAZIONE >>")));

    // The progressive rose in the window and in the database row.
    EXPECT_EQ(registro.Campo("OPROG")->text(), "00003");
    int righe = 0;
    EXPECT_EQ(RigaCope(Database(), &righe)["OPROG"], "00003");
}

void PercorsoUtente::ImportaCsv(F1OP& registro)
{
    const QString cartella = QStringLiteral("csv");
    const QString emesse = Lavoro(cartella) + QStringLiteral("DATI_FATTURE_EMESSE.csv");
    const QString ricevute = Lavoro(cartella) + QStringLiteral("DATI_FATTURE_RICEVUTE.csv");
    // "OK Chiudi" on the first summary, "Vai al Portale dell'Agenzia" on the second.
    messaggi.risposteTask = {PrimoPulsanteTask, PrimoPulsanteTask + 2};
    const qsizetype apertiPrima = aperture.aperti.size();
    const std::size_t taskPrima = messaggi.task.size();
    ASSERT_TRUE(Elabora(registro, {emesse, ricevute}, {FileXml(cartella, 3), FileXml(cartella, 4)},
                        [](FImpEX& importa) {
                            importa.OpzioneCsv().click();
                            EXPECT_EQ(importa.Separatore().text(), ";");
                        }));

    // One summary per input file.
    EXPECT_EQ(messaggi.task.size(), taskPrima + 2);
    ASSERT_EQ(aperture.aperti.size(), apertiPrima + 1);
    EXPECT_EQ(aperture.aperti.back().scheme(), "https");
    EXPECT_TRUE(aperture.aperti.back().path().startsWith("/portale/")) << aperture.aperti.back().toString().toStdString();
    for (int n : {3, 4}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(QFileInfo::exists(FileXml(cartella, n)));
        EXPECT_TRUE(ValidoPerSchema(FileXml(cartella, n)));
    }
    // The counterpart and amounts of the CSV's data row, read here as plain text.
    const QStringList rigaEmessa = PrimaRigaDati(emesse);
    ASSERT_GE(rigaEmessa.size(), 17);
    EXPECT_EQ(XPath(FileXml(cartella, 3),
                    "string(//*[local-name()='CessionarioCommittenteDTE']//*[local-name()='IdCodice'])"),
              rigaEmessa[0]);
    EXPECT_EQ(XPath(FileXml(cartella, 3), "string(//*[local-name()='ImponibileImporto'])"),
              QString(rigaEmessa[15]).replace(QLatin1Char(','), QLatin1Char('.')));
    EXPECT_EQ(XPath(FileXml(cartella, 3), "string(//*[local-name()='Imposta'])"),
              QString(rigaEmessa[16]).replace(QLatin1Char(','), QLatin1Char('.')));
    const QStringList rigaRicevuta = PrimaRigaDati(ricevute);
    ASSERT_GE(rigaRicevuta.size(), 1);
    EXPECT_EQ(XPath(FileXml(cartella, 4),
                    "string(//*[local-name()='CedentePrestatoreDTR']//*[local-name()='IdCodice'])"),
              rigaRicevuta[0]);

    const QString log = Testo(Lavoro(cartella) + QStringLiteral("LOG_IMPORTAZIONE.TXT"));
    // One log for the run: both inputs are in it, each with its own file.
    EXPECT_TRUE(log.contains(QStringLiteral("LOG ERRORI IMPORTAZIONE FILE ") + emesse)) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("LOG ERRORI IMPORTAZIONE FILE ") + ricevute)) << log.toStdString();
    EXPECT_TRUE(log.contains(QFileInfo(FileXml(cartella, 3)).fileName())) << log.toStdString();
    EXPECT_TRUE(log.contains(QFileInfo(FileXml(cartella, 4)).fileName())) << log.toStdString();
    EXPECT_EQ(registro.Campo("OPROG")->text(), "00005");
}

void PercorsoUtente::Annulla(F1OP& registro)
{
    const QString percorso = FileXml(QStringLiteral("csv"), 5);
    const qsizetype apertiPrima = aperture.aperti.size();
    CreaAnnullamento(registro, QStringLiteral("12345678"), percorso, 1);   // "Controlla il file creato"
    if (HasFatalFailure())
        return;
    ASSERT_EQ(aperture.aperti.size(), apertiPrima + 1);
    EXPECT_EQ(aperture.aperti.back(), QUrl::fromLocalFile(percorso));

    ASSERT_TRUE(QFileInfo::exists(percorso));
    EXPECT_TRUE(ValidoPerSchema(percorso));
    EXPECT_EQ(XPath(percorso, "string(//*[local-name()='ANN']/*[local-name()='IdFile'])"), "12345678");
    EXPECT_EQ(XPath(percorso, "string(//*[local-name()='ProgressivoInvio'])"), "00005");
    EXPECT_EQ(registro.Campo("OPROG")->text(), "00006");
    registro.OpzioneNuoviDati().click();
}

void PercorsoUtente::SalvaEliminaRipristina(F0& f0, F1OP& registro, const QString& nome)
{
    const QString backup = Lavoro(QStringLiteral("backup")) + QStringLiteral("studio.VEKO");
    int righe = 0;
    const auto salvata = leggiCope(&righe);
    ASSERT_EQ(righe, 1);

    // Backup of the current declarant.
    QAction* salva = Azione(f0, QStringLiteral("Salva Dati (singolo)"));
    ASSERT_NE(salva, nullptr);
    dialoghi.salvataggi = {backup};
    messaggi.risposte = {RispostaOk};
    bool trovata = false;
    QuandoSiApre<FSalva>([](FSalva& finestra) {
        finestra.bconferma_Click();
        if (finestra.isVisible())
            finestra.done(QDialog::Rejected);
    }, &trovata);
    salva->trigger();
    ASSERT_TRUE(trovata) << "\"Salva Dati (singolo)\" opened no backup window";
    ASSERT_TRUE(QFileInfo::exists(backup));
    EXPECT_GT(QFileInfo(backup).size(), 0);

    // Deletion, confirmed.
    QAction* elimina = Azione(f0, QStringLiteral("Elimina"));
    ASSERT_NE(elimina, nullptr);
    messaggi.risposte = {RispostaSi};
    const std::size_t prima = messaggi.mostrati.size();
    elimina->trigger();
    ASSERT_GT(messaggi.mostrati.size(), prima) << "\"Elimina\" asked nothing";
    EXPECT_TRUE(messaggi.mostrati[prima].testo.contains(nome)) << messaggi.mostrati[prima].testo.toStdString();
    leggiCope(&righe);
    EXPECT_EQ(righe, 0);
    EXPECT_EQ(registro.Griglia().RowCount(), 0);

    // Restore from the file just written.
    QAction* ripristina = Azione(f0, QStringLiteral("Ripristina Dati"));
    ASSERT_NE(ripristina, nullptr);
    dialoghi.aperture = {{backup}};
    messaggi.risposte = {RispostaOk};
    trovata = false;
    QuandoSiApre<FSalva>([nome](FSalva& finestra) {
        EXPECT_TRUE(finestra.Label2()->text().contains(nome)) << finestra.Label2()->text().toStdString();
        finestra.bconferma_Click();
        if (finestra.isVisible())
            finestra.done(QDialog::Rejected);
    }, &trovata);
    ripristina->trigger();
    ASSERT_TRUE(trovata) << "\"Ripristina Dati\" opened no restore window";
    const auto ripristinata = leggiCope(&righe);
    EXPECT_EQ(righe, 1);
    EXPECT_EQ(ripristinata, salvata);
    // The registry shows the restored declarant again.
    EXPECT_EQ(registro.Griglia().RowCount(), 1);
    EXPECT_EQ(registro.Campo("ORAG")->text(), nome);
    EXPECT_EQ(registro.Campo("OPROG")->text(), salvata.at("OPROG"));
}

void PercorsoUtente::Percorso()
{
    F0* f0 = F0::Istanza();
    ASSERT_NE(f0, nullptr);
    f0->ImpostaTermine([this] {
        finito = true;
        QCoreApplication::exit(0);
    });
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr) << "\"ENTRA\" opened no registry";
    ASSERT_TRUE(messaggi.mostrati.empty());

    NuovoSoggetto(*registro);
    if (HasFatalFailure())
        return;
    ImportaExcel(*registro);
    if (HasFatalFailure())
        return;
    ImportaCsv(*registro);
    if (HasFatalFailure())
        return;
    Annulla(*registro);
    if (HasFatalFailure())
        return;
    SalvaEliminaRipristina(*f0, *registro, ragioneSociale);
    if (HasFatalFailure())
        return;

    // "Esci dal Programma", confirmed.
    QAction* esci = Azione(*f0, QStringLiteral("Esci dal Programma"));
    ASSERT_NE(esci, nullptr);
    messaggi.risposte = {RispostaSi};
    esci->trigger();
    EXPECT_TRUE(finito) << "\"Esci dal Programma\" did not end the run";
}

// The slip met at the keyboard: the VAT number, filled in from the tax code on leaving
// it, typed again into the same field ends up sixteen digits long. The declarant is
// saved, but no file may carry it: the import refuses before asking where to save, and the
// progressive stays where it was.
void PercorsoUtente::PartitaIvaTroppoLunga()
{
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr);
    Compila(*registro, partitaIva, ragioneSociale, milano);
    registro->Campo("OPIVA")->setText(QStringLiteral("0283002830150799"));
    registro->PulsanteRegistra().click();

    const QString cartella = QStringLiteral("excel");
    messaggi.risposte = {RispostaOk, RispostaOk, RispostaOk};
    const std::size_t messaggiPrima = messaggi.mostrati.size();
    ASSERT_TRUE(Elabora(*registro, {Lavoro(cartella) + QStringLiteral("DATI_FATTURE_BASE.xlsx")},
                        {FileXml(cartella, 1), FileXml(cartella, 2)}));

    const QStringList xml = QDir(Lavoro(cartella)).entryList({QStringLiteral("*.xml")}, QDir::Files);
    EXPECT_TRUE(xml.isEmpty()) << xml.join(' ').toStdString();
    EXPECT_GT(messaggi.mostrati.size(), messaggiPrima) << "the refusal was not told";
    if (messaggi.mostrati.size() > messaggiPrima) {
        EXPECT_TRUE(messaggi.mostrati[messaggiPrima].testo.contains(QStringLiteral("Partita Iva: 0283002830150799")))
            << messaggi.mostrati[messaggiPrima].testo.toStdString();
    }
    // Only the workbook was asked for: no save dialog.
    ASSERT_EQ(dialoghi.richieste.size(), 1u);
    EXPECT_TRUE(dialoghi.richieste[0].nomeFile.isEmpty());
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00001");
    int righe = 0;
    EXPECT_EQ(RigaCope(Database(), &righe)["OPROG"], "00001");
}

// Two declarants: the one picked in the list is the one whose files are written and whose
// progressive rises; the other keeps its own; the window stays on the one picked.
void PercorsoUtente::DueSoggetti()
{
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr);
    NuovoSoggetto(*registro);
    if (HasFatalFailure())
        return;

    QAction* aggiungi = Azione(*F0::Istanza(), QStringLiteral("Aggiungi"));
    ASSERT_NE(aggiungi, nullptr);
    aggiungi->trigger();
    EXPECT_EQ(registro->Campo("OCOD")->text(), "02");
    EXPECT_EQ(registro->Campo("OCF")->text(), "");
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00001");
    Compila(*registro, altraPartitaIva, QStringLiteral("BIANCHI SPA"), torino);
    registro->PulsanteRegistra().click();
    ASSERT_EQ(registro->Griglia().RowCount(), 2);
    EXPECT_EQ(CodiceOperatore, "02");

    // Back to the first one in the list.
    const int rigaVerdi = RigaDi(*registro, "01");
    ASSERT_GT(rigaVerdi, 0);
    registro->Griglia().SetCurrentCell(rigaVerdi, 1);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(registro->Campo("ORAG")->text(), ragioneSociale);

    const QString cartella = QStringLiteral("excel");
    messaggi.risposteTask = {PrimoPulsanteTask};
    ASSERT_TRUE(Elabora(*registro, {Lavoro(cartella) + QStringLiteral("DATI_FATTURE_BASE.xlsx")},
                        {FileXml(cartella, 1), FileXml(cartella, 2)},
                        [](FImpEX& importa) { EXPECT_EQ(importa.Ragione().text(), ragioneSociale); }));
    ASSERT_TRUE(QFileInfo::exists(FileXml(cartella, 2)));
    EXPECT_EQ(XPath(FileXml(cartella, 1),
                    "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='IdCodice'])"),
              partitaIva);

    // Now the second one, further down the list: after its import the window still shows it.
    const int rigaBianchi = RigaDi(*registro, "02");
    ASSERT_GT(rigaBianchi, 0);
    registro->Griglia().SetCurrentCell(rigaBianchi, 1);
    EXPECT_EQ(CodiceOperatore, "02");
    const QString csv = Lavoro(QStringLiteral("csv")) + QStringLiteral("DATI_FATTURE_EMESSE.csv");
    const QString fileBianchi = Lavoro(QStringLiteral("csv")) + QStringLiteral("IT") + altraPartitaIva
                                + QStringLiteral("_DF_00001.xml");
    messaggi.risposteTask = {PrimoPulsanteTask};
    const std::size_t richiestePrima = dialoghi.richieste.size();
    ASSERT_TRUE(Elabora(*registro, {csv}, {fileBianchi}, [](FImpEX& importa) {
        EXPECT_EQ(importa.Ragione().text(), "BIANCHI SPA");
        importa.OpzioneCsv().click();
    }));
    ASSERT_EQ(dialoghi.richieste.size(), richiestePrima + 2);
    EXPECT_EQ(dialoghi.richieste.back().nomeFile, QFileInfo(fileBianchi).fileName());
    ASSERT_TRUE(QFileInfo::exists(fileBianchi));
    EXPECT_TRUE(ValidoPerSchema(fileBianchi));
    EXPECT_EQ(XPath(fileBianchi, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='IdCodice'])"),
              altraPartitaIva);
    EXPECT_EQ(CodiceOperatore, "02");
    EXPECT_EQ(registro->Campo("ORAG")->text(), "BIANCHI SPA");
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00002");
    EXPECT_EQ(registro->Griglia().CurrentRow(), rigaBianchi);

    // Read back per code: each declarant's number rose by its own files only.
    const QString nome = QStringLiteral("oracolo_due");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(Database());
        ASSERT_TRUE(db.open());
        QSqlQuery q(QStringLiteral("SELECT OCOD, OPROG, OCF FROM COPE ORDER BY OCOD"), db);
        std::vector<QStringList> righe;
        while (q.next())
            righe.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
        ASSERT_EQ(righe.size(), 2u);
        EXPECT_EQ(righe[0], (QStringList{"01", "00003", partitaIva}));
        EXPECT_EQ(righe[1], (QStringList{"02", "00002", altraPartitaIva}));
    }
    QSqlDatabase::removeDatabase(nome);
}

// An annulment written for a declarant added but not yet saved: the number it used is
// shown raised in the window, and the declarant that was current before keeps its own
// stored number (its next file must not reuse one already sent).
void PercorsoUtente::AnnullamentoDiUnNuovoSoggetto()
{
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr);
    NuovoSoggetto(*registro);
    if (HasFatalFailure())
        return;
    registro->Campo("OPROG")->setText(QStringLiteral("00041"));
    registro->PulsanteRegistra().click();
    int righe = 0;
    ASSERT_EQ(RigaCope(Database(), &righe)["OPROG"], "00041");

    QAction* aggiungi = Azione(*F0::Istanza(), QStringLiteral("Aggiungi"));
    ASSERT_NE(aggiungi, nullptr);
    aggiungi->trigger();
    Compila(*registro, altraPartitaIva, QStringLiteral("BIANCHI SPA"), torino);
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00001");

    const QString percorso = Lavoro(QStringLiteral("csv")) + QStringLiteral("IT") + altraPartitaIva
                             + QStringLiteral("_DF_00001.xml");
    CreaAnnullamento(*registro, QStringLiteral("87654321"), percorso, 2);

    ASSERT_TRUE(QFileInfo::exists(percorso));
    EXPECT_TRUE(ValidoPerSchema(percorso));
    EXPECT_EQ(registro->Campo("OPROG")->text(), "00002");
    // The stored declarant is untouched, and the unsaved one has no row.
    const auto riga = RigaCope(Database(), &righe);
    EXPECT_EQ(righe, 1);
    EXPECT_EQ(riga.at("OCF"), partitaIva);
    EXPECT_EQ(riga.at("OPROG"), "00041");
}

// Apostrophes, common in Italian names and towns, through the whole road: saved, written
// in the file, backed up, deleted and restored unchanged.
void PercorsoUtente::ApostrofiFinoAlRipristino()
{
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr);
    Compila(*registro, partitaIva, QStringLiteral("L'OFFICINA DI D'ANGELO SRL"),
            {"VIA DELL'ORTO", "1", "37041", "", ""});
    QLineEdit* comune = registro->Campo("OSCOM");
    comune->setFocus();
    QTest::keyClicks(comune, QStringLiteral("ALBAREDO D"));
    registro->vOSCOM_LostFocus();
    EXPECT_EQ(comune->text(), "ALBAREDO D'ADIGE");
    EXPECT_EQ(registro->Campo("OSPRO")->text(), "VR");
    registro->PulsanteRegistra().click();
    ASSERT_EQ(registro->Griglia().RowCount(), 1);

    const QString cartella = QStringLiteral("csv");
    const QString uscita = FileXml(cartella, 1);
    messaggi.risposteTask = {PrimoPulsanteTask};
    ASSERT_TRUE(Elabora(*registro, {Lavoro(cartella) + QStringLiteral("DATI_FATTURE_EMESSE.csv")}, {uscita}, sceltaCsv));
    ASSERT_TRUE(QFileInfo::exists(uscita));
    EXPECT_TRUE(ValidoPerSchema(uscita));
    EXPECT_EQ(XPath(uscita, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='Denominazione'])"),
              "L'OFFICINA DI D'ANGELO SRL");
    EXPECT_EQ(XPath(uscita, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='Comune'])"),
              "ALBAREDO D'ADIGE");

    SalvaEliminaRipristina(*F0::Istanza(), *registro, QStringLiteral("L'OFFICINA DI D'ANGELO SRL"));
}

// A natural person with a signer and a fiscal representative: every page of the registry
// reaches the files.
void PercorsoUtente::PersonaFisicaConDichiarante()
{
    F1OP* registro = Entra();
    ASSERT_NE(registro, nullptr);
    registro->CasellaPersonaFisica()->click();
    EXPECT_TRUE(registro->CornicePersonaFisica().isVisible());
    const QString cf = QStringLiteral("RSSMRA80A01H501U");   // Mario Rossi, Rome, 1/1/1980
    Compila(*registro, cf, QString(), {"VIA ROMA", "1", "00100", "ROMA", "RM"});
    const std::size_t messaggiPrima = messaggi.mostrati.size();
    registro->Campo("OPIVA")->setText(partitaIva);
    registro->Campo("OCOG")->setText(QStringLiteral("Rossi"));
    registro->Campo("ONOME")->setText(QStringLiteral("Mario"));
    registro->Campo("ODICPIVA")->setText(QStringLiteral("VRDLGU70B02F205V"));
    registro->Campo("ODICCARICA")->setText(QStringLiteral("1"));
    registro->Campo("ORFPIVA")->setText(QStringLiteral("07912340564"));
    registro->Campo("ORFRAG")->setText(QStringLiteral("BIANCHI SPA"));
    registro->PulsanteRegistra().click();
    EXPECT_EQ(messaggi.mostrati.size(), messaggiPrima)
        << (messaggi.mostrati.empty() ? std::string() : messaggi.mostrati.back().testo.toStdString());
    ASSERT_EQ(registro->Griglia().RowCount(), 1);

    const QString cartella = QStringLiteral("excel");
    messaggi.risposteTask = {PrimoPulsanteTask};
    ASSERT_TRUE(Elabora(*registro, {Lavoro(cartella) + QStringLiteral("DATI_FATTURE_BASE.xlsx")},
                        {FileXml(cartella, 1), FileXml(cartella, 2)}));
    for (int n : {1, 2}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(QFileInfo::exists(FileXml(cartella, n)));
        EXPECT_TRUE(ValidoPerSchema(FileXml(cartella, n)));
        const QString file = FileXml(cartella, n);
        EXPECT_EQ(XPath(file, "string(//*[local-name()='Dichiarante']/*[local-name()='CodiceFiscale'])"),
                  "VRDLGU70B02F205V");
        EXPECT_EQ(XPath(file, "string(//*[local-name()='Dichiarante']/*[local-name()='Carica'])"), "1");
    }
    const QString emesse = FileXml(cartella, 1);
    EXPECT_EQ(XPath(emesse, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='CodiceFiscale'])"), cf);
    EXPECT_EQ(XPath(emesse, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='Nome'])"), "MARIO");
    EXPECT_EQ(XPath(emesse, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='Cognome'])"), "ROSSI");
    EXPECT_EQ(XPath(emesse, "string(//*[local-name()='CedentePrestatoreDTE']//*[local-name()='RappresentanteFiscale']"
                            "//*[local-name()='IdCodice'])"),
              "07912340564");
}

} // namespace

TEST_F(PercorsoUtente, PersonaFisicaConDichiaranteERappresentante)
{
    EXPECT_EQ(NelProgramma([this] { PersonaFisicaConDichiarante(); }), 0);
}

TEST_F(PercorsoUtente, ApostrofiDalRegistroAlRipristino)
{
    EXPECT_EQ(NelProgramma([this] { ApostrofiFinoAlRipristino(); }), 0);
}

TEST_F(PercorsoUtente, AnnullamentoDiUnNuovoSoggettoNonToccaGliAltri)
{
    EXPECT_EQ(NelProgramma([this] { AnnullamentoDiUnNuovoSoggetto(); }), 0);
}

TEST_F(PercorsoUtente, DueSoggettiIlFileEDelSelezionato)
{
    EXPECT_EQ(NelProgramma([this] { DueSoggetti(); }), 0);
}

TEST_F(PercorsoUtente, PartitaIvaTroppoLungaNessunFile)
{
    EXPECT_EQ(NelProgramma([this] { PartitaIvaTroppoLunga(); }), 0);
}

TEST_F(PercorsoUtente, DalSoggettoAiFileERitorno)
{
    QTimer::singleShot(0, [this] {
        Percorso();
        // Whatever happened, the run ends here.
        if (!finito)
            QCoreApplication::exit(0);
    });
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_EQ(Cnn, nullptr);

    // After the exit the database holds the declarant as typed, with the next number.
    int righe = 0;
    auto riga = RigaCope(Database(), &righe);
    EXPECT_EQ(righe, 1);
    EXPECT_EQ(riga["OCOD"], "01");
    EXPECT_EQ(riga["OCF"], partitaIva);
    EXPECT_EQ(riga["OPIVA"], partitaIva);
    EXPECT_EQ(riga["ORAG"], ragioneSociale);
    EXPECT_EQ(riga["OSINDI"], "VIA GARIBALDI");
    EXPECT_EQ(riga["OSNUMC"], "12");
    EXPECT_EQ(riga["OSCAP"], "20121");
    EXPECT_EQ(riga["OSCOM"], "MILANO");
    EXPECT_EQ(riga["OSPRO"], "MI");
    EXPECT_EQ(riga["OSPAESE"], "IT");
    EXPECT_EQ(riga["OPROG"], "00006");

    // The next day: a new run finds the declarant and goes on from its number.
    CodiceOperatore.clear();
    NomeOperatore.clear();
    UltimaCartella.clear();
    QString mostrato;
    QString progressivo;
    QTimer::singleShot(0, [&] {
        if (F0* f0 = F0::Istanza()) {
            f0->Benvenuto()->Command1()->click();
            if (F1OP* registro = IstanzaF1OP()) {
                mostrato = registro->Campo("ORAG")->text();
                progressivo = registro->Campo("OPROG")->text();
            }
        }
        QCoreApplication::exit(0);
    });
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_EQ(mostrato, ragioneSociale);
    EXPECT_EQ(progressivo, "00006");
    EXPECT_EQ(CodiceOperatore, "01");
}

namespace {

// The same road on the ODBC back-ends, the program connected by connection string: the
// declarant saved, a CSV import, an annulment, backup, deletion and restore, read back
// through another connection to the same database.
class PercorsoSuOdbc : public PercorsoUtente, public ::testing::WithParamInterface<test::Backend> {};

TEST_P(PercorsoSuOdbc, SoggettoFileERipristino)
{
    test::DbBackend backend(GetParam());
    {
        QFile ini(programma.filePath(QStringLiteral("configurazione.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[opzioni]\r\nTipoDb=X\r\ndebug=0\r\nStrConn=" + backend.stringaConnessione().toUtf8() + "\r\n");
    }
    std::unique_ptr<quercino::Database> altra = backend.apriAltraConnessione();
    backend.chiudi();
    leggiCope = [&altra](int* righe) {
        std::map<QString, QString> valori;
        const QStringList colonne{"OCOD", "OCF", "OPIVA", "ORAG", "OSINDI", "OSNUMC", "OSCAP", "OSCOM", "OSPRO",
                                  "OSPAESE", "OPROG"};
        const std::vector<ColumnType> tipi(colonne.size(), ColumnType::Text);
        const auto lette = altra->query("SELECT " + colonne.join(", ") + " FROM COPE", {}, tipi);
        *righe = static_cast<int>(lette.size());
        if (!lette.empty()) {
            for (int i = 0; i < colonne.size(); ++i)
                valori[colonne[i]] = lette[0].text(i);
        }
        return valori;
    };

    EXPECT_EQ(NelProgramma([&] {
        F1OP* registro = Entra();
        ASSERT_NE(registro, nullptr);
        Compila(*registro, partitaIva, ragioneSociale, milano);
        registro->PulsanteRegistra().click();
        ASSERT_EQ(registro->Griglia().RowCount(), 1);
        EXPECT_EQ(CodiceOperatore, "01");

        const QString uscita = FileXml(QStringLiteral("csv"), 1);
        messaggi.risposteTask = {PrimoPulsanteTask};
        ASSERT_TRUE(Elabora(*registro, {Lavoro(QStringLiteral("csv")) + QStringLiteral("DATI_FATTURE_EMESSE.csv")},
                            {uscita}, sceltaCsv));
        ASSERT_TRUE(QFileInfo::exists(uscita));
        EXPECT_TRUE(ValidoPerSchema(uscita));
        int righe = 0;
        EXPECT_EQ(leggiCope(&righe)["OPROG"], "00002");
        EXPECT_EQ(registro->Campo("OPROG")->text(), "00002");

        const QString annullamento = FileXml(QStringLiteral("csv"), 2);
        CreaAnnullamento(*registro, QStringLiteral("12345678"), annullamento, 2);
        ASSERT_TRUE(QFileInfo::exists(annullamento));
        EXPECT_TRUE(ValidoPerSchema(annullamento));
        EXPECT_EQ(leggiCope(&righe)["OPROG"], "00003");
        registro->OpzioneNuoviDati().click();

        SalvaEliminaRipristina(*F0::Istanza(), *registro, ragioneSociale);
    }), 0);

    int righe = 0;
    auto riga = leggiCope(&righe);
    EXPECT_EQ(righe, 1);
    EXPECT_EQ(riga["OCOD"], "01");
    EXPECT_EQ(riga["ORAG"], ragioneSociale);
    EXPECT_EQ(riga["OSCOM"], "MILANO");
    EXPECT_EQ(riga["OPROG"], "00003");
}

INSTANTIATE_TEST_SUITE_P(Odbc, PercorsoSuOdbc,
                         ::testing::Values(test::Backend::OdbcSqlite, test::Backend::OdbcPostgres),
                         test::NomeParametroBackend());

} // namespace
