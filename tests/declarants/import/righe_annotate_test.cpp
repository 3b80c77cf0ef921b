// An annotated CSV file of bad rows: column 34 (which the import does not use) of each line
// says which reports the line must give. The import must give exactly those, in order, in
// its messages and in its log, and write a file that the Agency's schema accepts.

#include "import_fixture.h"

#include "declarants/import/Importazione.h"

using namespace import_fixture;
using namespace quercino::importazione;

TEST(RigheAnnotate, EveryBadRowGivesExactlyItsReports)
{
    const QString sorgente = QStringLiteral(QUERCINO_SOURCE_DIR "/tests/declarants/import/dati/righe_errate.csv");
    const QByteArray testo = LeggiFile(sorgente);
    ASSERT_FALSE(testo.isEmpty()) << "manca " << sorgente.toStdString();

    // The expected log lines, read from the annotations with a plain split (the file has no
    // quoted fields); the data end at the first line whose column 15 is empty.
    QStringList attese;
    const QList<QByteArray> linee = testo.split('\n');
    for (qsizetype i = 3; i < linee.size(); ++i) {
        const QList<QByteArray> campi = linee[i].trimmed().split(';');
        if (campi.size() < 34 || campi[14].isEmpty())
            break;
        const QString annotazione = QString::fromUtf8(campi[33]);
        if (annotazione.isEmpty())
            continue;
        for (const QString& report : annotazione.split(QStringLiteral(" && "))) {
            const QStringList parti = report.split(QLatin1Char('|'));
            attese << QStringLiteral("Riga %1 Colonna: %2  Valore: %3  - Riga NON ELABORATA").arg(i + 1).arg(parti[0], parti[1]);
        }
    }
    ASSERT_EQ(attese.size(), 19);

    Ambiente a;
    const QString input = a.File(QStringLiteral("righe_errate.csv"));
    QFile::copy(sorgente, input);
    a.dialoghi.salvataggi = {a.File(QStringLiteral("uscita.xml"))};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(input, TipoFile::Csv, QStringLiteral(";"));
    ASSERT_TRUE(esito.Riepilogo);

    const QStringList righe = RigheLog(log.Percorso());
    QStringList segnalate;
    for (const QString& r : righe)
        if (r.startsWith(QStringLiteral("Riga ")))
            segnalate << r;
    EXPECT_EQ(segnalate, attese);
    ASSERT_EQ(a.messaggi.mostrati.size(), static_cast<std::size_t>(attese.size()));
    for (qsizetype k = 0; k < attese.size(); ++k) {
        const QString inizio = attese[k].left(attese[k].indexOf(QStringLiteral("  Valore:")));
        EXPECT_TRUE(a.messaggi.mostrati[static_cast<std::size_t>(k)].testo.startsWith(inizio + QStringLiteral("\r\n")))
            << a.messaggi.mostrati[static_cast<std::size_t>(k)].testo.toStdString();
    }
    EXPECT_EQ(esito.Dati.Emesse.Righe, 19);
    EXPECT_EQ(esito.Dati.Clienti, 2);
    ASSERT_EQ(esito.FileScritti.size(), 1);
    EXPECT_TRUE(ValidoPerSchema(esito.FileScritti[0]));
    const QByteArray xml = LeggiFile(esito.FileScritti[0]);
    EXPECT_EQ(Conta(xml, "<DatiRiepilogo>"), 2);
    EXPECT_FALSE(xml.contains("DOPO LA FINE"));
}
