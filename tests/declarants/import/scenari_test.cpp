// The import in scenario files (scenari/*.txt, see support/scenario.h): input files made by
// the steps (workbooks written by libxlsxwriter, as Excel stores typed cells; CSV files
// byte for byte; the Help samples the build writes; the same workbooks written again by
// LibreOffice, Gnumeric and SheetJS in their formats), imported as the user would, with
// every message box, summary and dialog printed in order, the files written judged by
// xmllint (the Agency's schema and XPath) and the log read back. The expected texts were
// checked by hand once against the layout.

#include "import_fixture.h"

#include "declarants/import/ConvertiData.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/Importazione.h"
#include "declarants/import/LeggiRiga.h"
#include "declarants/import/SelezioneImportazione.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsWorkbook.h"
#include "support/campi_riga.h"
#include "support/produttori_cartelle.h"
#include "support/pulsanti_in_vista.h"
#include "support/scenario.h"
#include "support/servizi_in_scenario.h"
#include "support/servizi_simulati.h"

#include "app/core/PulisciTesto.h"
#include "platform/text/ControlCharacters.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

using namespace import_fixture;
using namespace quercino::importazione;
using quercino::datifattura::RigaFattura;
using quercino::datifattura::TipoComunicazione;
using quercino::test::Parole;

namespace {

// The fields of a line separated by `separatore`, double quotes around a field keeping
// separators (two of them a quote), as a spreadsheet program reads it.
std::vector<std::string> Campi(const QString& riga, QChar separatore = ';')
{
    std::vector<std::string> campi(1);
    bool virgolette = false;
    const QByteArray testo = riga.toUtf8();
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        if (c == '"' && virgolette && i + 1 < testo.size() && testo[i + 1] == '"')
            campi.back() += testo[++i];
        else if (c == '"')
            virgolette = !virgolette;
        else if (c == separatore && !virgolette)
            campi.emplace_back();
        else
            campi.back() += c;
    }
    campi.resize(std::max<std::size_t>(campi.size(), 34));
    return campi;
}

// Rows 4 on of a worksheet, its 34 columns joined by ';'.
QStringList Colonne(const QString& percorso, int foglio)
{
    const auto cartella = quercino::sheets::ApriCartella(percorso);
    auto lettore = cartella->ApriFoglio(foglio, 34);
    QStringList righe;
    quercino::sheets::SheetRow riga;
    std::int32_t attesa = 4;
    while (lettore->Prossima(riga)) {
        if (riga.Numero < 4)
            continue;
        // Rows are consecutive: a row missing from one file would shift the comparison.
        EXPECT_EQ(riga.Numero, attesa++);
        riga.Celle.resize(34);
        righe << QStringList(riga.Celle.begin(), riga.Celle.end()).join(';');
    }
    return righe;
}

// The values of a row read by LeggiRiga that differ from an empty row's.
QString Descrizione(RigaFattura r)
{
    QStringList parti;
    for (const auto& [nome, valore] : quercino::test::CampiDiTesto(r))
        if (!valore->isEmpty())
            parti << nome + "=" + *valore;
    for (const auto& [nome, data] : {std::pair{"Data", r.Data}, {"DataRegistrazione", r.DataRegistrazione}})
        if (data.isValid())
            parti << nome + QStringLiteral("=") + data.toString(Qt::ISODate);
    parti << QStringLiteral("Imponibile=%1 Imposta=%2 Aliquota=%3").arg(r.Imponibile).arg(r.Imposta).arg(r.Aliquota);
    if (r.Detraibile)
        parti << QStringLiteral("Detraibile=%1").arg(*r.Detraibile);
    return parti.join(' ');
}

class ScenariImportazione : public ::testing::TestWithParam<const char*>, private SegnalazioniRiga {
protected:
    void TearDown() override { qputenv("HOME", casa); }

    void SetUp() override
    {
        s.Sostituisci(a.dir.path(), "<cartella>");
        s.dopoOgniPasso = [this] {
            for (; aperti < a.aperture.aperti.size(); ++aperti)
                s.Stampa("(apre " + a.aperture.aperti[aperti].toString() + ")");
        };
        VerbiDeiFile();
        VerbiDellImportazione();
        VerbiDellaFinestra();
    }

    // Answers of LeggiRiga's reports: OK, unless the step said "annulla" (the first report).
    bool SegnalaErrore(const QString& etichetta, const QString& valore) override
    {
        s.Stampa(etichetta + " | " + valore);
        return !std::exchange(annullaRiga, false);
    }
    bool RigaSenzaValori() override
    {
        s.Stampa("<riga senza valori>");
        return !std::exchange(annullaRiga, false);
    }

    void VerbiDeiFile()
    {
        // A workbook as a user makes it: rows 4 on of "Emesse", then, after a line "--", of
        // "Ricevute"; "d3=TEXT" puts another heading than "NOME" in D3. A name ending in .xlsb
        // makes it in Excel's binary format.
        s.verbi["cartella"] = [this](const QString& arg) {
            Righe righe[2];
            int foglio = 0;
            for (const QString& riga : s.Dati())
                riga == "--" ? void(++foglio) : righe[foglio].push_back(Campi(riga));
            const QString d3 = arg.section(" d3=", 1);
            const QString nome = arg.section(' ', 0, 0);
            (nome.endsWith(".xlsb") ? ScriviCartellaXlsb : ScriviCartella)(a.File(nome), righe[0], righe[1],
                                                                            d3.isEmpty() ? "NOME" : d3.toUtf8().constData());
        };
        // A text file of the input lines, ending in CRLF, LF or CR as the step says.
        s.verbi["file"] = [this](const QString& arg) {
            const QString fine = arg.section(' ', 1) == "LF" ? "\n" : arg.section(' ', 1) == "CR" ? "\r" : "\r\n";
            ScriviFile(a.File(arg.section(' ', 0, 0)), (s.Dati().join(fine) + fine).toUtf8());
        };
        s.verbi["copia"] = [this](const QString& arg) {   // a file of the source tree or of the program folder
            const QString origine = arg.startsWith("Help/") ? QUERCINO_PROGRAM_DIR "/" + arg : quercino::test::Accanto(__FILE__, arg);
            ASSERT_TRUE(QFile::copy(origine, a.File(QFileInfo(arg).fileName()))) << origine.toStdString();
        };
        // The members of a zip file stored without compression, rewritten by Python's zipfile,
        // so that a byte of a sheet can be changed where it stands.
        s.verbi["senza-compressione"] = [this](const QString& arg) {
            const QString file = a.File(arg);
            ASSERT_EQ(sheets_fixture::Esegui("/usr/bin/python3",
                               {"-c", "import sys, zipfile\n"
                                      "d = {i.filename: zipfile.ZipFile(sys.argv[1]).read(i) for i in zipfile.ZipFile(sys.argv[1]).infolist()}\n"
                                      "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_STORED) as z:\n"
                                      "    [z.writestr(n, v) for n, v in d.items()]\n"
                                      "print('ok')\n",
                                file}),
                      "ok\n");
        };
        // FILE OLD NEW: the first bytes OLD of the file become NEW (of the same length), the
        // member's CRC left as it was.
        s.verbi["altera"] = [this](const QString& arg) {
            const QStringList p = Parole(arg);
            QByteArray dati = LeggiFile(a.File(p[0]));
            const qsizetype dove = dati.indexOf(p[1].toUtf8());
            ASSERT_GE(dove, 0);
            ASSERT_EQ(p[1].size(), p[2].size());
            dati.replace(dove, p[2].size(), p[2].toUtf8());
            ScriviFile(a.File(p[0]), dati);
        };
        s.verbi["xls"] = [this](const QString& arg) {   // the signature of an Excel 97-2003 file, nothing after it
            ScriviFile(a.File(arg), QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\0'));
        };
        // One issued row for each of 1000 counterparts, one more than a file may hold; in a
        // workbook, a received one too.
        s.verbi["mille"] = [this](const QString& arg) {
            Righe righe;
            for (int i = 0; i < 1000; ++i)
                righe.push_back(Campi(QStringLiteral("%1;;Alfa srl;;;Via Roma;1;100;Roma;RM;IT;;TD01;15/01/2017;N%2;1000;220;22")
                                          .arg(10000000000LL + i)
                                          .arg(i)));
            if (arg.endsWith(".csv"))
                return ScriviCsv(a.File(arg), "FATTURE EMESSE", righe);
            ScriviCartella(a.File(arg), righe, {Campi("98765432109;;Beta spa;;;;;;;;IT;;TD01;10/02/2017;F-9;200;44;22;;;;;12/02/2017")});
        };
        s.verbi["cartelle"] = [this](const QString& arg) {
            for (const QString& nome : Parole(arg))
                ASSERT_TRUE(QDir(a.dir.path()).mkpath(nome));
        };
        s.verbi["elenco"] = [this](const QString& arg) {
            s.Stampa(QDir(a.File(arg)).entryList(QDir::Files, QDir::Name).join("  "));
        };
        s.verbi["leggi"] = [this](const QString& arg) { s.Stampa(QString::fromUtf8(LeggiFile(a.File(arg)))); };
        s.verbi["uguali"] = [this](const QString& arg) {
            const QStringList f = Parole(arg);
            s.Stampa(LeggiFile(a.File(f[0])) == LeggiFile(a.File(f[1])) && !LeggiFile(a.File(f[0])).isEmpty() ? "uguali" : "DIVERSI");
        };
        s.verbi["valido"] = [this](const QString& arg) {
            for (const QString& nome : Parole(arg))
                s.Stampa(nome + ": " + quercino::test::EsitoSchema(a.File(nome)).section('\n', 0, 0));
        };
        s.verbi["xpath"] = [this](const QString& arg) { s.Stampa(XPath(a.File(arg.section(' ', 0, 0)), arg.section(' ', 1))); };
        // Column 34 of an annotated CSV file (which the import does not use) says which reports
        // each line must give ("label|value", several joined by " && "): the log's report
        // lines must be exactly those, in order.
        s.verbi["annotazioni"] = [this](const QString& arg) {
            QStringList attese;
            const QStringList linee = QString::fromUtf8(LeggiFile(a.File(arg))).split('\n');
            for (qsizetype i = 3; i < linee.size(); ++i) {
                const QStringList campi = linee[i].trimmed().split(';');
                if (campi.size() < 34 || campi[14].isEmpty())
                    break;
                for (const QString& r : campi[33].split(" && ", Qt::SkipEmptyParts))
                    attese << QStringLiteral("Riga %1 Colonna: %2  Valore: %3  - Riga NON ELABORATA")
                                  .arg(i + 1)
                                  .arg(r.section('|', 0, 0), r.section('|', 1));
            }
            const QStringList segnalate = RigheLog(log->Percorso()).filter(QRegularExpression("^Riga "));
            s.Stampa(segnalate == attese ? QStringLiteral("%1 segnalazioni, come annotate").arg(attese.size())
                                         : "DIVERSE DALLE ANNOTATE:\n" + segnalate.join('\n'));
        };
        s.verbi["log"] = [this](const QString& arg) { s.Stampa(RigheLog(arg.isEmpty() ? log->Percorso() : a.File(arg))); };
        // A workbook written again by another program, with a profile or set-up of its own,
        // and what the copy is: for .xls the version its reader finds, otherwise whether the
        // program names itself in the copy's properties (so it was rewritten, not copied).
        // "calc FILE [FORMAT]": LibreOffice Calc, as .xlsx or as the format named (soffice's
        // --convert-to, a filter after a colon), into the folder "calc".
        s.verbi["calc"] = [this](const QString& arg) {
            const QString file = arg.section(' ', 0, 0);
            const QString formato = arg.section(' ', 1).isEmpty() ? "xlsx" : arg.section(' ', 1);
            QDir(a.dir.path()).mkpath("calc");
            const QString salvato = QDir(a.dir.path()).relativeFilePath(produttori::DaCalc(a.File(file), formato, a.File("calc")));
            s.Stampa(salvato.endsWith(".xls") ? QStringLiteral("scritta da LibreOffice: %1, %2").arg(salvato, Scritta(salvato, "LibreOffice"))
                                              : QStringLiteral("scritta da LibreOffice: %1 %2, %3 %4")
                                                    .arg(salvato, Scritta(salvato, "LibreOffice"), file, Scritta(file, "LibreOffice")));
        };
        // "gnumeric FILE EXPORTER OUTPUT": Gnumeric's ssconvert with one of its exporters.
        s.verbi["gnumeric"] = [this](const QString& arg) {
            const QStringList p = Parole(arg);
            QDir(a.dir.path()).mkpath(QFileInfo(p[2]).path());
            produttori::DaGnumeric(a.File(p[0]), p[1], a.File(p[2]));
            s.Stampa(QStringLiteral("scritta da Gnumeric: %1, %2").arg(p[2], Scritta(p[2], "gnumeric")));
        };
        // "sheetjs FILE BOOK_TYPE OUTPUT": SheetJS 0.18.5 in one of its book types.
        s.verbi["sheetjs"] = [this](const QString& arg) {
            const QStringList p = Parole(arg);
            QDir(a.dir.path()).mkpath(QFileInfo(p[2]).path());
            produttori::DaSheetJs(a.File(p[0]), p[1], a.File(p[2]));
            s.Stampa(QStringLiteral("scritta da SheetJS: %1, %2").arg(p[2], Scritta(p[2], "SheetJS")));
        };
        s.verbi["colonne"] = [this](const QString& arg) { s.Stampa(Colonne(a.File(arg.section(' ', 0, 0)), arg.section(' ', 1).toInt())); };
        s.verbi["stesse-colonne"] = [this](const QString& arg) {
            const QStringList f = Parole(arg);
            for (int foglio : {1, 2})
                s.Stampa(QStringLiteral("foglio %1: %2").arg(foglio).arg(Colonne(a.File(f[0]), foglio) == Colonne(a.File(f[1]), foglio) ? "uguali" : "DIVERSE"));
        };
    }

    // What a workbook written by `programma` is: for .xls the version its reader finds;
    // otherwise "si" when the program names itself in the file's properties, "no" if not.
    QString Scritta(const QString& nome, const QString& programma)
    {
        if (nome.endsWith(".xls")) {
            const auto cartella = quercino::sheets::ApriCartella(a.File(nome));
            const auto* letta = dynamic_cast<const quercino::sheets::XlsWorkbook*>(cartella.get());
            return letta ? QStringLiteral("Excel %1").arg(letta->Versione() == 8 ? "97-2003" : "5.0/95") : QStringLiteral("non .xls");
        }
        QProcess p;
        p.start("unzip", {"-p", a.File(nome), nome.endsWith(".ods") ? "meta.xml" : "docProps/app.xml"});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).contains(programma, Qt::CaseInsensitive) ? "si" : "no";
    }

    void VerbiDellImportazione()
    {
        s.verbi["importa"] = [this](const QString& arg) {   // FILE excel|csv [SEPARATOR]
            const QStringList p = Parole(arg);
            const EsitoImportazione e = importazione->Importa(a.File(p[0]), p[1] == "csv" ? TipoFile::Csv : TipoFile::Excel,
                                                              p.value(2, ";"));
            QStringList file;
            for (const QString& f : e.FileScritti)
                file << QFileInfo(f).fileName();
            s.Stampa(QStringLiteral("riepilogo %1, file: %2, righe %3 + %4%5")
                         .arg(e.Riepilogo ? "si" : "no", file.join(' '))
                         .arg(e.Dati.Emesse.Righe)
                         .arg(e.Dati.Ricevute.Righe)
                         .arg(e.Dati.Emesse.InterrottaAllaRiga ? QStringLiteral(", emesse fermate alla riga %1").arg(e.Dati.Emesse.InterrottaAllaRiga) : ""));
        };
        s.verbi["seleziona"] = [this](const QString& arg) {   // excel|csv SEPARATOR
            const auto esiti = SelIMPORTA(arg.startsWith("csv") ? TipoFile::Csv : TipoFile::Excel, arg.section(' ', 1), a.dichiarante);
            s.Stampa(QStringLiteral("%1 file importati").arg(esiti.size()));
        };
        s.verbi["dichiarante"] = [this](const QString&) {
            s.Stampa(QStringLiteral("progressivo %1, alzato %2 volte").arg(a.dichiarante.dati.OPROG).arg(a.dichiarante.aumenti));
        };
        s.verbi["progressivo"] = [this](const QString& arg) { a.dichiarante.dati.OPROG = arg.toInt(); };
        // The progressive fails once N were taken: "errore-progressivo N TEXT".
        s.verbi["errore-progressivo"] = [this](const QString& arg) {
            a.dichiarante.erroreDopo = a.dichiarante.aumenti + arg.section(' ', 0, 0).toInt();
            a.dichiarante.erroreProgressivo = arg.section(' ', 1);
        };
        s.verbi["ultima-riga"] = [this](const QString& arg) { importazione->ImpostaUltimaRiga(arg.toInt()); };
        // A new selection (a new log), in the test's folder or another.
        s.verbi["cartella-del-log"] = [this](const QString& arg) { Log(arg.isEmpty() ? a.dir.path() : a.File(arg)); };
        // The globals the import leaves: the last folder ("si": set it first), the last
        // answer, the summary's text.
        s.verbi["globali"] = [this](const QString& arg) {
            if (!arg.isEmpty())
                quercino::UltimaCartella = a.dir.path();
            const auto& task = servizi.messaggi.task;
            s.Stampa("UltimaCartella " + quercino::UltimaCartella + ", Risposta " + quercino::Risposta + ", TestoMessaggio "
                     + (!task.empty() && task.back().testo == quercino::TestoMessaggio ? "il riepilogo" : quercino::TestoMessaggio));
        };
        s.verbi["data"] = [this](const QString& arg) {
            const DataLetta d = ConvertiData(arg == "(vuoto)" ? QString() : QString(arg).remove('"'));
            s.Stampa(d.esito == DataLetta::Esito::Valida ? d.data.toString(Qt::ISODate) : d.esito == DataLetta::Esito::Vuota ? "vuota" : "non valida");
        };
        // One line read by LeggiRiga (issued, or "dtr" received; "annulla": Cancel at the
        // first report; "seguito": the line continues the one read before).
        s.verbi["riga"] = [this](const QString& arg) {
            const QString opzioni = arg.section(' ', 0, 0);
            annullaRiga = opzioni.contains("annulla");
            std::vector<QString> colonne;
            for (const std::string& c : Campi(arg.section(' ', 1)))
                colonne.push_back(QString::fromStdString(c));
            const std::vector<QString> prima = colonne;
            RigaFattura letta;
            const EsitoLettura e = LeggiRiga(colonne, opzioni.contains("dtr") ? TipoComunicazione::DTR : TipoComunicazione::DTE, *this,
                                             opzioni.contains("seguito") ? &precedente : nullptr, letta);
            QStringList cambiate;
            for (std::size_t c = 0; c < colonne.size(); ++c)
                if (colonne[c] != prima[c])
                    cambiate << QStringLiteral("%1=%2").arg(c + 1).arg(colonne[c]);
            s.Stampa(QString(e.Interrompi ? "interrotta: " : !e.RigaValida ? "rifiutata: " : "valida: ") + Descrizione(letta));
            if (!cambiate.isEmpty())
                s.Stampa("colonne " + cambiate.join(' '));
            if (e.RigaValida)
                precedente = letta;
        };
    }

    // The import window: the kind chosen (in bold), what is shown and enabled, the file and
    // row last read, and the imports done.
    QString StatoFinestra() const
    {
        QStringList opzioni;
        for (const QRadioButton* o : {&finestra->OpzioneExcel(), &finestra->OpzioneCsv()})
            opzioni << (o->isChecked() ? "(x) " : "( ) ") + o->text() + (o->font().bold() ? " in grassetto" : "");
        QStringList esiti;
        for (const EsitoImportazione& e : finestra->Esiti())
            esiti << QFileInfo(e.FileScritti.value(0)).fileName();
        const auto attivo = [](const QWidget& w) { return w.isEnabled() ? "attivo" : "bloccato"; };
        return QStringLiteral("%1, %2; avanzamento %3, Importa %4, Annulla %5; file %6, riga %7; importazioni: %8")
            .arg(finestra->isVisible() ? "aperta" : finestra->result() == QDialog::Accepted ? "chiusa (accettata)" : "chiusa",
                 opzioni.join(", "), finestra->Avanzamento().isVisible() ? "visibile" : "nascosto",
                 attivo(finestra->PulsanteImporta()), attivo(finestra->PulsanteAnnulla()),
                 QFileInfo(finestra->NomeFile().text()).fileName(), finestra->RigaLetta().text(), esiti.join(' '));
    }

    void VerbiDellaFinestra()
    {
        VerbiDellaFinestraInBreve();
        s.verbi["finestra"] = [this](const QString&) {
            finestra = std::make_unique<quercino::FImpEX>(a.dichiarante);
            finestra->show();
            s.Stampa(StatoFinestra());
        };
        s.verbi["opzione"] = [this](const QString& arg) {
            (arg == "csv" ? finestra->OpzioneCsv() : finestra->OpzioneExcel()).click();
            s.Stampa(StatoFinestra());
        };
        s.verbi["separatore"] = [this](const QString& arg) { finestra->Separatore().setText(arg); };
        // "Importa" clicked: the window as the import finds it each time it asks for the
        // declarant, and whether a timer due at once fired before the import ended (the
        // window keeps processing events); then the window.
        s.verbi["importa-dalla-finestra"] = [this](const QString&) {
            QString durante = "nessuna richiesta del dichiarante";
            a.dichiarante.osserva = [&] { durante = StatoFinestra(); };
            timer = "non scattato";
            QTimer::singleShot(0, finestra.get(), [this] { timer = "scattato durante l'importazione"; });
            finestra->PulsanteImporta().click();
            a.dichiarante.osserva = nullptr;
            s.Stampa("timer " + timer + "; durante: " + durante);
            s.Stampa("dopo: " + StatoFinestra());
        };
        // The user's home as the dialogs see it: a folder of the test, with or without
        // "Documents", in a run where no folder was used yet.
        s.verbi["casa"] = [this](const QString& arg) {
            const QString casa = a.File(arg);
            QDir().mkpath(arg == "con-documenti" ? casa + "/Documents" : casa);
            qputenv("HOME", QFile::encodeName(casa));
            qunsetenv("XDG_CONFIG_HOME");
            quercino::UltimaCartella.clear();
        };
        s.verbi["cartella-dialogo"] = [this](const QString&) { s.Stampa(servizi.dialoghi.richieste.back().cartella); };
        // The window as during an import, on the usual screens; its title whole beside a
        // title bar's icon and three buttons (4 x 24 pixels and margins).
        s.verbi["in-vista"] = [this](const QString&) {
            finestra = std::make_unique<quercino::FImpEX>(a.dichiarante);
            finestra->Avanzamento().show();
            finestra->show();
            QCoreApplication::processEvents();
            QFont titolo = finestra->font();
            titolo.setBold(true);
            s.Stampa(quercino::test::FinestraSuGliSchermi(*finestra) + ", titolo intero: "
                     + (QFontMetrics(titolo).horizontalAdvance(finestra->windowTitle()) + 4 * 24 + 16 <= finestra->width() ? "si" : "no"));
        };
        s.verbi["manuale"] = [this](const QString& arg) {   // the manual's paragraph that begins so
            for (const QString& paragrafo : QString::fromUtf8(LeggiFile(QUERCINO_SOURCE_DIR "/tools/manuale/Manuale.txt")).split('\n'))
                if (paragrafo.startsWith(arg))
                    s.Stampa(paragrafo);
        };
        // A name and a path of any length never widen the window past the screen (both are
        // elided): "Annulla" and the separator stay in sight.
        s.verbi["nomi-lunghi"] = [this](const QString&) {
            quercino::NomeOperatore = QString(296, QLatin1Char('A'));
            finestra = std::make_unique<quercino::FImpEX>(a.dichiarante);
            finestra->show();
            finestra->NomeFile().setText(a.File(QString(250, QLatin1Char('c')) + "/fatture.xlsx"));
            finestra->Avanzamento().show();
            QCoreApplication::processEvents();
            const bool entro = finestra->frameGeometry().width() <= finestra->screen()->availableGeometry().width();
            bool visibili = true;
            for (const QWidget* w : std::initializer_list<const QWidget*>{&finestra->PulsanteAnnulla(), &finestra->Separatore()})
                visibili = visibili && finestra->rect().contains(QRect(w->mapTo(finestra.get(), QPoint()), w->size()));
            s.Stampa(QStringLiteral("entro lo schermo: %1, Annulla e separatore visibili: %2")
                         .arg(entro ? "si" : "no", visibili ? "si" : "no"));
        };
    }

    // The import window run for one workbook in a line: the dialogs answered as a user who
    // keeps the proposed names would, in the folder named.
    class DialoghiInCartella final : public quercino::ServizioDialoghi {
    public:
        DialoghiInCartella(QString file, QString cartella) : file_(std::move(file)), cartella_(std::move(cartella)) {}
        QString ChiediSalvataggio(const quercino::RichiestaFile& r) override { return QDir(cartella_).filePath(r.nomeFile); }
        QStringList ChiediApertura(const quercino::RichiestaFile&, bool) override { return {std::exchange(file_, QString())}; }

    private:
        QString file_, cartella_;
    };

    void VerbiDellaFinestraInBreve()
    {
        // "dalla-finestra FILE FOLDER": the window's button pressed for FILE (a workbook) by a
        // declarant whose next file is number 1; the files written into FOLDER, and every
        // message shown other than the summary, by its title and first line.
        s.verbi["dalla-finestra"] = [this](const QString& arg) {
            const QStringList p = Parole(arg);
            QDir(a.dir.path()).mkpath(p[1]);
            a.dichiarante.dati.OPROG = 1;
            QStringList messaggi;
            {
                quercino::test::MessaggiSimulati risposte;
                DialoghiInCartella dialoghi(a.File(p[0]), a.File(p[1]));
                quercino::ImpostaServizioDialoghi(&dialoghi);
                quercino::FImpEX f(a.dichiarante);
                f.show();
                f.PulsanteImporta().click();
                for (const quercino::Messaggio& m : risposte.mostrati)
                    messaggi << "[" + m.titolo + "] " + m.testo.section("\r\n", 0, 0);
                if (risposte.task.size() != 1)
                    messaggi << QStringLiteral("%1 riepiloghi").arg(risposte.task.size());
            }
            quercino::ImpostaServizioMessaggi(&servizi);
            quercino::ImpostaServizioDialoghi(&servizi);
            const QStringList scritti = QDir(a.File(p[1])).entryList({"*.xml"}, QDir::Files, QDir::Name);
            s.Stampa(QStringLiteral("%1: %2 file %3").arg(p[0]).arg(scritti.size()).arg(scritti.join(' ')));
            s.Stampa(messaggi);
        };
        // "stessi-file FOLDER REFERENCE": the files of FOLDER byte for byte those of the
        // reference folder, name by name, and each valid for the Agency's schema.
        s.verbi["stessi-file"] = [this](const QString& arg) {
            const QStringList p = Parole(arg);
            const QStringList nomi = QDir(a.File(p[0])).entryList({"*.xml"}, QDir::Files, QDir::Name);
            QStringList diversi, percorsi;
            for (const QString& nome : nomi) {
                percorsi << a.File(p[0] + "/" + nome);
                if (LeggiFile(percorsi.back()) != LeggiFile(a.File(p[1] + "/" + nome)))
                    diversi << nome;
            }
            if (nomi != QDir(a.File(p[1])).entryList({"*.xml"}, QDir::Files, QDir::Name))
                diversi << "(altri nomi)";
            const bool validi = !percorsi.isEmpty() && quercino::test::ValidoPerSchema(percorsi);
            s.Stampa(QStringLiteral("%1: %2, %3").arg(p[0], diversi.isEmpty() ? QStringLiteral("uguali a %1").arg(p[1]) : "DIVERSI: " + diversi.join(' '),
                                                      validi ? "validi per lo schema" : "NON validi per lo schema"));
        };
    }

    void Log(const QString& cartella)
    {
        importazione.reset();
        log = std::make_unique<LogImportazione>(cartella);
        importazione = std::make_unique<Importazione>(a.dichiarante, *log);
    }

    Ambiente a;
    quercino::test::Scenario s;
    quercino::test::ServiziInScenario servizi{s, a.dir.path()};
    std::unique_ptr<LogImportazione> log = std::make_unique<LogImportazione>(a.dir.path());
    std::unique_ptr<Importazione> importazione = std::make_unique<Importazione>(a.dichiarante, *log);
    qsizetype aperti = 0;
    bool annullaRiga = false;
    RigaFattura precedente;
    std::unique_ptr<quercino::FImpEX> finestra;
    QString timer;
    const QByteArray casa = qgetenv("HOME");   // put back at the end ("casa" changes it)
};

QUERCINO_SCENARI(Importazione, ScenariImportazione, "cartella", "tracciati", "annulla", "piu_file", "continuazioni",
                 "mille", "righe_errate", "esempi", "calc", "righe", "date", "finestra", "danneggiata",
                 "xlsb", "xls", "ods", "sheetjs", "gnumeric", "manuale");

// The shortcut for texts already clean must agree with upper-casing, trimming and the shared
// text cleaner on every character of the code page and on typical cells.
TEST(PulisciColonne, ITestiGiaPulitiSonoQuelliCheLaPuliziaCompletaLascia)
{
    std::vector<QString> campioni = {"ROSSI SRL", "VIA ROMA, 10", "A.B_C^D\\E", "FT/2017-01", "1.234,56", "N2"};
    for (int c = 0; c < 256; ++c)
        campioni.push_back(QStringLiteral("A") + QChar(c) + QStringLiteral("B"));
    for (const QString& campione : campioni) {
        for (int colonna = 0; colonna < 34; ++colonna) {
            std::vector<QString> riga(34);
            riga[static_cast<std::size_t>(colonna)] = campione;
            PulisciColonne(riga);
            QString atteso = quercino::trimBlanks(quercino::upperOneToOne(quercino::withoutControlCharacters(campione)));
            if (colonna < 11)
                atteso = quercino::trimBlanks(quercino::PulisciTesto(std::as_const(atteso)));
            EXPECT_EQ(riga[static_cast<std::size_t>(colonna)], atteso) << campione.toStdString() << " colonna " << colonna + 1;
        }
    }
}

} // namespace
