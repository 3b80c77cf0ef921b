// A workbook saved by LibreOffice Calc itself (not a copy of its habits): the same rows read
// from it and from the workbook it was opened from (written by libxlsxwriter, as Excel
// stores typed cells) give the same 34 columns, and import to the same files. (The same rows
// from a CSV file give the same file too: importazione_test.)

#include "import_fixture.h"

#include "declarants/import/Importazione.h"
#include "platform/sheets/XlsxWorkbook.h"

#include <QStandardPaths>
#include <QUrl>

using namespace import_fixture;
using namespace quercino::importazione;
using Colonne = std::vector<std::vector<QString>>;

namespace {

// Saves `origine` as .xlsx through LibreOffice into `cartella`, with a profile of its own so
// that no user's settings or running instance take part. The error text, or empty.
QString SalvaConCalc(const QString& soffice, const QString& origine, const QString& cartella)
{
    QTemporaryDir profilo;
    QProcess p;
    p.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profilo.path()).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                      QStringLiteral("xlsx"), QStringLiteral("--outdir"), cartella, origine});
    if (!p.waitForStarted(30000))
        return QStringLiteral("soffice non avviato");
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return QStringLiteral("soffice non ha terminato");
    }
    if (p.exitCode() != 0)
        return QString::fromLocal8Bit(p.readAllStandardError());
    return {};
}

// Rows 4 on of a worksheet, 34 columns each.
Colonne DaFoglio(const QString& percorso, int foglio)
{
    quercino::sheets::XlsxWorkbook cartella(percorso);
    auto lettore = cartella.ApriFoglio(foglio, 34);
    Colonne righe;
    quercino::sheets::SheetRow riga;
    std::int32_t attesa = 4;
    while (lettore->Prossima(riga)) {
        if (riga.Numero < 4)
            continue;
        // Rows are consecutive: a row missing from one file would shift the comparison.
        EXPECT_EQ(riga.Numero, attesa++);
        riga.Celle.resize(34);
        righe.push_back(riga.Celle);
    }
    return righe;
}

QByteArray Membro(const QString& zip, const QString& membro)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, membro});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

} // namespace

TEST(CartellaLibreOffice, RowsSavedByCalcReadAsTheOriginalAndAsCsv)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        FAIL() << "LibreOffice (soffice) non installato: confronto con una cartella salvata da Calc non eseguito";

    const Righe emesse = {
        Riga({{1, "12345678901"}, {3, "Alfa srl"}, {6, "Via Roma"}, {7, "1"}, {8, "00100"}, {9, "Roma"}, {10, "RM"},
              {11, "IT"}, {13, "TD01"}, {14, "15/01/2017"}, {15, "FT1"}, {16, "1000"}, {17, "220"}, {18, "22"}}),
        Riga({{15, "FT1"}, {16, "100,5"}, {17, "22,11"}, {18, "22"}, {20, "40"}, {21, "SI"}}),
        Riga({{2, "RSSMRA80A01H501U"}, {4, "Mario"}, {5, "Rossi"}, {11, "IT"}, {13, "TD04"}, {14, "29/02/2016"}, {15, "7"},
              {16, "0,1"}, {17, "12.345,67"}, {18, "10"}, {22, "I"}}),
        Riga({{1, "ATU12345678"}, {3, "Società \"Über\"; & Cie €"}, {6, "Ring 1"}, {8, "1010"}, {9, "Wien"}, {11, "AT"}, {13, "TD01"},
              {14, "20180105"}, {15, "Z/1"}, {16, "1234567890"}, {17, "0"}, {18, "0"}, {19, "N2"}, {24, "Via Po"},
              {26, "10100"}, {27, "Torino"}, {29, "IT"}, {30, "01234567890"}, {31, "Rappresentante"}, {34, "12345678901234"}}),
    };
    const Righe ricevute = {
        Riga({{1, "98765432109"}, {3, "Beta spa"}, {11, "IT"}, {13, "TD01"}, {14, "10/02/2017"}, {15, "F-9"},
              {16, "200"}, {17, "44"}, {18, "22"}, {23, "12/02/2017"}}),
    };

    Ambiente a;
    const QString originale = a.File("righe.xlsx");
    ScriviCartella(originale, emesse, ricevute);
    ASSERT_TRUE(QDir(a.dir.path()).mkdir("calc"));
    ASSERT_EQ(SalvaConCalc(soffice, originale, a.File("calc")), QString());
    const QString calc = a.File("calc/righe.xlsx");
    // Really rewritten by Calc, not copied.
    EXPECT_TRUE(Membro(calc, "docProps/app.xml").contains("LibreOffice"));
    EXPECT_FALSE(Membro(originale, "docProps/app.xml").contains("LibreOffice"));

    for (int foglio : {1, 2}) {
        const Colonne daOriginale = DaFoglio(originale, foglio), daCalc = DaFoglio(calc, foglio);
        ASSERT_EQ(daOriginale.size(), foglio == 1 ? emesse.size() : ricevute.size());
        EXPECT_EQ(daCalc, daOriginale);
    }
    // The spreadsheet forms the import expects, whoever wrote the cell.
    const Colonne daCalc = DaFoglio(calc, 1);
    EXPECT_EQ(QStringList({daCalc[0][13], daCalc[2][13], daCalc[1][15], daCalc[2][15], daCalc[3][33], daCalc[3][2]}),
              (QStringList{"15/01/2017", "29/02/2016", "100,5", "0,1", "12345678901234",
                           QString::fromUtf8("Società \"Über\"; & Cie €")}));

    // The same DatiFattura files from both; a foreign postcode stored as a number keeps its
    // four digits.
    QByteArray prodotti[2][2];
    const QString ingressi[2] = {originale, calc};
    for (int i = 0; i < 2; ++i) {
        Ambiente b;
        b.dialoghi.salvataggi = {b.File("e.xml"), b.File("r.xml")};
        LogImportazione log(b.dir.path());
        Importazione importazione(b.dichiarante, log);
        const auto esito = importazione.Importa(ingressi[i], TipoFile::Excel, ";");
        ASSERT_EQ(esito.FileScritti.size(), 2);
        EXPECT_TRUE(b.messaggi.mostrati.empty());
        EXPECT_TRUE(ValidoPerSchema(esito.FileScritti));
        for (int f = 0; f < 2; ++f)
            prodotti[i][f] = LeggiFile(esito.FileScritti[f]);
    }
    EXPECT_EQ(prodotti[1][0], prodotti[0][0]);
    EXPECT_EQ(prodotti[1][1], prodotti[0][1]);
    EXPECT_TRUE(prodotti[0][0].contains("<CAP>1010</CAP>"));
}
