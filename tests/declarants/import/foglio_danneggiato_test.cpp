// A sheet found damaged after some of its rows were used, in every format the import reads:
// none of the files made from that sheet is kept, the files of the same names that the user
// agreed to replace are as they were, the numbers taken are given back (the progressive read
// back from the database and from the registry window), the other sheet's files are whole
// and kept, and the message, the log and the summary say so. The workbooks come from their
// producers (libxlsxwriter, LibreOffice, the tests' .xlsb writer) and are damaged where the
// readers meet it last: a sheet's part cut short, its zip entry's CRC made right again by
// Python's zipfile. LibreOffice's .ods and .xls are checked whole before any row is read, so
// there a reader double behind the Workbook interface fails after the given row. Rows with no
// damage show the same workbooks whole. The cases are in casi/danneggiati.tsv.

#include "import_fixture.h"

#include "app/core/Globals.h"
#include "declarants/import/Importazione.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "platform/sheets/CsvReader.h"
#include "platform/sheets/SheetError.h"
#include "support/backup_di_prova.h"
#include "support/casi.h"
#include "support/db_backends.h"
#include "support/produttori_cartelle.h"
#include "support/servizi_simulati.h"

#include <QLineEdit>
#include <QMap>

using namespace import_fixture;
using namespace quercino;

namespace {

// A worksheet whose reading fails, as a damaged part's does, once row `ultima` was given.
class FoglioGuasto final : public sheets::SheetReader {
public:
    FoglioGuasto(std::unique_ptr<sheets::SheetReader> vero, int ultima) : vero_(std::move(vero)), ultima_(ultima) {}
    bool Prossima(sheets::SheetRow& riga) override
    {
        if (data_ >= ultima_)
            throw sheets::SheetError(QStringLiteral("Il foglio è troncato."));
        const bool c = vero_->Prossima(riga);
        data_ = c ? riga.Numero : ultima_;
        return c;
    }

private:
    std::unique_ptr<sheets::SheetReader> vero_;
    int ultima_;
    int data_ = 0;
};

class CartellaGuasta final : public sheets::Workbook {
public:
    CartellaGuasta(std::unique_ptr<sheets::Workbook> vera, int foglio, int ultima)
        : vera_(std::move(vera)), foglio_(foglio), ultima_(ultima) {}
    int NumeroFogli() const override { return vera_->NumeroFogli(); }
    QString NomeFoglio(int indice) const override { return vera_->NomeFoglio(indice); }
    std::unique_ptr<sheets::SheetReader> ApriFoglio(int indice, int colonne) const override
    {
        auto foglio = vera_->ApriFoglio(indice, colonne);
        if (indice != foglio_)
            return foglio;
        return std::make_unique<FoglioGuasto>(std::move(foglio), ultima_);
    }

private:
    std::unique_ptr<sheets::Workbook> vera_;
    int foglio_;
    int ultima_;
};

// `membro` of the zip file cut inside its last row (XML) or by its last 40 bytes (binary),
// the archive written again by Python's zipfile, so that every entry's CRC is right.
void TagliaParte(const QString& file, const QString& membro)
{
    ASSERT_EQ(sheets_fixture::Esegui("/usr/bin/python3",
                                     {"-c",
                                      "import sys, zipfile\n"
                                      "f, m = sys.argv[1], sys.argv[2]\n"
                                      "z = zipfile.ZipFile(f)\n"
                                      "voci = [(i, z.read(i)) for i in z.infolist()]\n"
                                      "z.close()\n"
                                      "with zipfile.ZipFile(f, 'w') as u:\n"
                                      "    for i, d in voci:\n"
                                      "        if i.filename == m:\n"
                                      "            d = d[:d.rindex(b'<row') + 40] if m.endswith('.xml') else d[:-40]\n"
                                      "        u.writestr(i, d)\n"
                                      "print('ok')\n",
                                      file, membro}),
              "ok\n");
}

// One issued invoice for each of `n` customers (more than 999 split the sheet's files), and
// two received invoices of one supplier.
Righe Emesse(int n)
{
    Righe righe;
    for (int i = 0; i < n; ++i) {
        std::vector<std::string> r(34);
        r[0] = std::to_string(10000000000LL + i);
        r[2] = "Cliente " + std::to_string(i) + " srl";
        r[10] = "IT";
        r[12] = "TD01";
        r[13] = "15/01/2017";
        r[14] = "N" + std::to_string(i);
        r[15] = "1000";
        r[16] = "220";
        r[17] = "22";
        righe.push_back(r);
    }
    return righe;
}

// Where the reader of the damaged input stops: the last row it gave and its message (empty
// when it read to the end).
struct Lettura {
    int ultimaRiga = 0;
    QString errore;
};

Lettura LeggiFinoAlDanno(const QString& input, bool csv, int foglio,
                         const std::function<std::unique_ptr<sheets::Workbook>(const QString&)>& apertura)
{
    Lettura l;
    sheets::SheetRow riga;
    try {
        if (csv) {
            sheets::CsvReader lettore(input, QStringLiteral(";"));
            while (lettore.Prossima(riga))
                l.ultimaRiga = riga.Numero;
        } else {
            const auto cartella = apertura ? apertura(input) : sheets::ApriCartella(input);
            const auto lettore = cartella->ApriFoglio(foglio, 34);
            while (lettore->Prossima(riga))
                l.ultimaRiga = riga.Numero;
        }
    } catch (const sheets::SheetError& e) {
        l.errore = e.Messaggio;
    }
    return l;
}

QString Nome(int progressivo)
{
    return QStringLiteral("IT01234567890_DF_%1.xml").arg(progressivo, 5, 10, QLatin1Char('0'));
}

class FoglioDanneggiato : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
        for (const auto& [colonna, valore] : {std::pair{cope::OPIVA, "01234567890"}, {cope::OSNUMC, "1"}, {cope::OSCAP, "47121"},
                                              {cope::OPROG, "00005"}})
            soggetto[colonna] = valore;
        db().insert(schema::COPE(), soggetto);
        UltimaCartella.clear();
        ASSERT_TRUE(QDir(cartella.path()).mkpath("ingresso") && QDir(cartella.path()).mkpath("uscita"));
    }

    QString Ingresso(const QString& nome) const { return cartella.filePath("ingresso/" + nome); }
    QString Uscita(const QString& nome) const { return cartella.filePath("uscita/" + nome); }

    QTemporaryDir cartella;
};

TEST_P(FoglioDanneggiato, NessunFileDelFoglioIlProgressivoRestituitoLAltroFoglioIntero)
{
    for (const test::Caso& c : test::Casi(__FILE__, "casi/danneggiati.tsv")) {
        SCOPED_TRACE(c);
        const QString formato = c[0], produttore = c[1], guasto = c[2];
        const int foglioGuasto = c[3].toInt();
        const int clienti = c[4].toInt();
        const bool sostituiti = c[5] == "si";
        const bool csv = formato == "csv";

        // The input, from its producer, for a declarant whose next file is number 5.
        db().exec("UPDATE COPE SET OPROG = '00005'");
        for (const QString& vecchio : QDir(Ingresso({})).entryList(QDir::Files))
            QFile::remove(Ingresso(vecchio));
        for (const QString& vecchio : QDir(Uscita({})).entryList(QDir::Files))
            QFile::remove(Uscita(vecchio));
        QString input = Ingresso("fatture." + formato);
        if (csv) {
            ScriviCsv(input, "FATTURE EMESSE", Emesse(clienti));
        } else if (produttore == "scrittore_xlsb") {
            ScriviCartellaXlsb(input, Emesse(clienti), RicevuteDiBeta());
        } else {
            ScriviCartella(Ingresso("fatture.xlsx"), Emesse(clienti), RicevuteDiBeta());
            if (produttore == "LibreOffice") {
                const QString filtro = formato == "xlsm" ? "xlsm:Calc MS Excel 2007 VBA XML" : formato;
                input = produttori::DaCalc(Ingresso("fatture.xlsx"), filtro, cartella.filePath("ingresso/calc"));
            } else {
                ASSERT_EQ(produttore, "libxlsxwriter");
            }
        }
        std::function<std::unique_ptr<sheets::Workbook>(const QString&)> apertura;
        if (guasto == "taglio") {
            TagliaParte(input, QStringLiteral("xl/worksheets/sheet%1.%2").arg(foglioGuasto).arg(formato == "xlsb" ? "bin" : "xml"));
        } else if (guasto.startsWith("lettore:")) {
            const int ultima = guasto.section(':', 1).toInt();
            apertura = [&, ultima](const QString& percorso) {
                return std::make_unique<CartellaGuasta>(sheets::ApriCartella(percorso), foglioGuasto, ultima);
            };
        } else if (guasto == "virgolette") {
            QByteArray testo = LeggiFile(input);
            testo.insert(testo.lastIndexOf("Cliente"), '"');
            ASSERT_TRUE(ScriviFile(input, testo));
        } else {
            ASSERT_EQ(guasto, "nessuno");
        }

        // The damage is met after data rows (row 4 on), with the reader's message; the
        // same input whole is read to its end.
        const Lettura lettura = LeggiFinoAlDanno(input, csv, csv ? 1 : foglioGuasto, apertura);
        const bool danneggiato = guasto != "nessuno";
        EXPECT_EQ(lettura.errore.isEmpty(), !danneggiato) << lettura.errore.toStdString();
        EXPECT_GE(lettura.ultimaRiga, 4);

        // The files the first sheet (or the CSV file) makes, and the user's earlier files of
        // the same names, which the user agrees to replace.
        const int primi = clienti > 999 ? 2 : 1;
        QStringList primoFoglio;
        for (int i = 0; i < primi; ++i)
            primoFoglio << Nome(5 + i);
        QMap<QString, QByteArray> precedenti;
        if (sostituiti) {
            for (const QString& nome : primoFoglio) {
                precedenti[nome] = "IL FILE DI PRIMA " + nome.toUtf8();
                ASSERT_TRUE(ScriviFile(Uscita(nome), precedenti[nome]));
            }
        }

        test::MessaggiSimulati messaggi;
        test::DialoghiSimulati dialoghi;
        dialoghi.salvataggi = {Uscita(primoFoglio[0]), Uscita("ricevute.xml")};
        F1OP registro;
        registro.show();
        ASSERT_EQ(registro.Campo("OPROG")->text(), "00005");
        SorgenteRegistro sorgente(registro);
        importazione::LogImportazione log(Uscita({}));
        importazione::Importazione importa(sorgente, log);
        if (apertura)
            importa.ImpostaApertura(apertura);
        const importazione::EsitoImportazione esito =
            importa.Importa(input, csv ? importazione::TipoFile::Csv : importazione::TipoFile::Excel, ";");

        // What stays: the whole sheet's files; in place of the damaged one's, the user's own.
        const bool primoTenuto = !danneggiato || foglioGuasto != 1;
        const bool secondoTenuto = !csv && (!danneggiato || foglioGuasto != 2);
        const QStringList secondoFoglio = secondoTenuto ? QStringList{"ricevute.xml"} : QStringList{};
        QStringList tenuti = primoTenuto ? primoFoglio : QStringList{};
        tenuti << secondoFoglio;
        QStringList attesi = tenuti;
        if (!primoTenuto)
            attesi << precedenti.keys();
        attesi << importazione::NomeLog;
        attesi.sort();
        EXPECT_EQ(QDir(Uscita({})).entryList(QDir::Files | QDir::Hidden, QDir::Name), attesi) << "file lasciati";
        QStringList scritti;
        for (const QString& f : esito.FileScritti)
            scritti << QFileInfo(f).fileName();
        EXPECT_EQ(scritti, tenuti);
        if (!primoTenuto) {
            for (auto p = precedenti.cbegin(); p != precedenti.cend(); ++p)
                EXPECT_EQ(LeggiFile(Uscita(p.key())), p.value()) << p.key().toStdString();
        }
        QStringList percorsi;
        for (const QString& nome : tenuti)
            percorsi << Uscita(nome);
        if (!percorsi.isEmpty()) {
            EXPECT_TRUE(test::ValidoPerSchema(percorsi));
        }

        // The numbers: the kept files' in sequence from 5, the next one stored and shown.
        int progressivo = 5;
        for (const QString& nome : tenuti)
            EXPECT_EQ(XPath(Uscita(nome), "string(//ProgressivoInvio)"), Nome(progressivo++).mid(17, 5)) << nome.toStdString();
        const QString successivo = Nome(progressivo).mid(17, 5);
        EXPECT_EQ(backend().apriAltraConnessione()->scalar("SELECT OPROG FROM COPE", {}, ColumnType::Text)->toString(), successivo);
        EXPECT_EQ(registro.Campo("OPROG")->text(), successivo);
        if (secondoTenuto) {
            EXPECT_EQ(XPath(Uscita("ricevute.xml"), "count(//DatiFatturaBodyDTR)"), "2");
        }
        if (primoTenuto) {
            EXPECT_EQ(XPath(Uscita(primoFoglio.back()), "count(//DatiFatturaBodyDTE)"), QString::number(clienti - 999 * (primi - 1)));
        }

        // What the user is told.
        QStringList titoli;
        for (const Messaggio& m : messaggi.mostrati)
            titoli << m.titolo;
        QStringList attesiTitoli(sostituiti ? primi : 0, "Controllo Documento");
        if (danneggiato)
            attesiTitoli << "Errore Foglio Xls";
        EXPECT_EQ(titoli, attesiTitoli);
        const QString parte = csv ? "del file fatture.csv" : foglioGuasto == 1 ? "del foglio FATTURE EMESSE" : "del foglio FATTURE RICEVUTE";
        const QStringList scartati = foglioGuasto == 1 ? primoFoglio : QStringList{"ricevute.xml"};
        QStringList righeAttese;
        if (danneggiato) {
            righeAttese << "Nessuno dei file XML creati dalle righe " + parte + " è stato tenuto: " + scartati.join(", ") + ".";
            if (sostituiti && foglioGuasto == 1)
                righeAttese << "I file già presenti con lo stesso nome non sono stati modificati: " + primoFoglio.join(", ") + ".";
            const Messaggio& m = messaggi.mostrati.back();
            EXPECT_EQ(m.icona, Icona::Critica);
            EXPECT_TRUE(m.testo.startsWith(lettura.errore + "\r\n")) << m.testo.toStdString();
            EXPECT_TRUE(m.testo.endsWith(righeAttese.join("\r\n"))) << m.testo.toStdString();
        }
        const QStringList righeLog = RigheLog(log.Percorso());
        for (const QString& riga : righeAttese)
            EXPECT_EQ(righeLog.filter(riga).size(), 1) << riga.toStdString();
        ASSERT_EQ(messaggi.task.size(), 1u);
        const QString riepilogo = messaggi.task[0].testo;
        for (const QString& nome : danneggiato ? scartati : QStringList{})
            EXPECT_FALSE(riepilogo.contains(nome)) << nome.toStdString();
        EXPECT_EQ(riepilogo.contains("INTERROTTA ALLA RIGA"), danneggiato) << riepilogo.toStdString();
        EXPECT_EQ(riepilogo.contains("Nessun file scritto"), danneggiato) << riepilogo.toStdString();
        EXPECT_EQ(righeLog.contains(QStringLiteral("Totale Clienti: %1").arg(primoTenuto ? clienti : 0)), true);
    }
}

QUERCINO_DB_SOLO_FILE(FoglioDanneggiato);

} // namespace
