// Backups written by the program's own writer from a test database: one declarant and all
// of them, plain and scrambled, with the values the restore tests use.

#include "app/backup/ScriviBackup.h"
#include "fuzz/FuzzHarness.h"
#include "support/db_backends.h"

#include <QCoreApplication>

#include <fstream>
#include <iterator>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    int argc = 1;
    char nome[] = "semi";
    char* argv[] = {nome, nullptr};
    QCoreApplication applicazione(argc, argv);
    test::DbBackend backend(test::Backend::SqliteFile);
    Database& db = backend.db();
    QVariantList primo = test::rigaCope(QStringLiteral("01"), QStringLiteral("ROSSI & FIGLI SPA"));
    primo[cope::OSCOM] = QStringLiteral("FORLÌ");
    primo[cope::OPF] = 1;
    primo[cope::OCOG] = QStringLiteral("D'ANNUNZIO");
    db.insert(schema::COPE(), primo);
    db.insert(schema::COPE(), test::rigaCope(QStringLiteral("02"), QStringLiteral("BIANCHI SRL")));
    bool scritti = true;
    for (const bool cripta : {false, true}) {
        for (const QString& codice : {QStringLiteral("01"), QString()}) {
            const std::string file = std::string(codice.isEmpty() ? "tutti" : "uno") + (cripta ? "_criptato" : "_chiaro") + ".VEKO";
            ScrittoreBackup scrittore(db);
            scrittore.cripta = cripta;
            scritti = scrittore.CreaBackup(QString::fromStdString((cartella / file).string()), codice).riuscito && scritti;
        }
    }
    // A code-table line after the declarant's: the restore takes one, though no backup
    // written here holds any.
    std::ifstream in(cartella / "uno_chiaro.VEKO", std::ios::binary);
    const std::string uno((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ScriviSeme(cartella, "con_codici.VEKO", uno + "\xA6" "CTAB\xA6" "ITT\xA6" "A1\xA6" "ABCDEFGHIJKLMNO/QRSTUVWX\r\n")
           && scritti;
}

} // namespace quercino::fuzz
