// The sample sheets of the Help folder (written by the build from the import's column
// definitions) are read by the import without a single report, and give valid files; the
// workbook's issued invoices and the CSV sample give the same file.

#include "import_fixture.h"

#include "declarants/import/Importazione.h"

using namespace import_fixture;
using namespace quercino::importazione;

namespace {

QString Esempio(const char* nome)
{
    return QStringLiteral(QUERCINO_PROGRAM_DIR "/Help/") + QString::fromLatin1(nome);
}

} // namespace

TEST(Esempi, TheSamplesImportCleanly)
{
    for (const char* nome : {"DATI_FATTURE_BASE.xlsx", "DATI_FATTURE_EMESSE.csv", "DATI_FATTURE_RICEVUTE.csv"})
        ASSERT_TRUE(QFile::exists(Esempio(nome))) << nome << " manca: costruire il target quercino_esempi_help";

    QByteArray emesse[2];
    QByteArray ricevute[2];
    {
        Ambiente a;
        a.dialoghi.salvataggi = {a.File(QStringLiteral("e.xml")), a.File(QStringLiteral("r.xml"))};
        LogImportazione log(a.dir.path());
        Importazione importazione(a.dichiarante, log);
        const auto esito = importazione.Importa(Esempio("DATI_FATTURE_BASE.xlsx"), TipoFile::Excel, QStringLiteral(";"));
        ASSERT_EQ(esito.FileScritti.size(), 2);
        EXPECT_TRUE(a.messaggi.mostrati.empty());
        EXPECT_TRUE(ValidoPerSchema(esito.FileScritti[0]));
        EXPECT_TRUE(ValidoPerSchema(esito.FileScritti[1]));
        emesse[0] = LeggiFile(esito.FileScritti[0]);
        ricevute[0] = LeggiFile(esito.FileScritti[1]);
    }
    for (int parte = 0; parte < 2; ++parte) {
        Ambiente a;
        a.dichiarante.dati.OPROG = parte + 1;   // the same progressives as the workbook's files
        a.dialoghi.salvataggi = {a.File(parte == 0 ? QStringLiteral("e.xml") : QStringLiteral("r.xml"))};
        LogImportazione log(a.dir.path());
        Importazione importazione(a.dichiarante, log);
        const auto esito = importazione.Importa(Esempio(parte == 0 ? "DATI_FATTURE_EMESSE.csv" : "DATI_FATTURE_RICEVUTE.csv"),
                                                TipoFile::Csv, QStringLiteral(";"));
        ASSERT_EQ(esito.FileScritti.size(), 1);
        EXPECT_TRUE(a.messaggi.mostrati.empty());
        (parte == 0 ? emesse : ricevute)[1] = LeggiFile(esito.FileScritti[0]);
    }
    EXPECT_EQ(emesse[0], emesse[1]);
    EXPECT_EQ(ricevute[0], ricevute[1]);
    EXPECT_TRUE(ricevute[0].contains("<DataRegistrazione>2017-01-25</DataRegistrazione>"));
}
