#include "support/database_seminato.h"

#include "app/core/Globals.h"

#include <QFile>

namespace quercino::test {

DatabaseSeminato::DatabaseSeminato()
{
    const QString origine = QStringLiteral(QUERCINO_SEED_DATABASE);
    if (!QFile::exists(origine)) {
        errore_ = origine + QStringLiteral(" is missing: build the target quercino_program_folder");
        return;
    }
    if (!QFile::copy(origine, Percorso())) {
        errore_ = QStringLiteral("cannot copy ") + origine;
        return;
    }
    QFile::setPermissions(Percorso(), QFile::ReadOwner | QFile::WriteOwner);
    db_ = Database::openSqliteFile(Percorso());
    Cnn = db_.get();
}

DatabaseSeminato::~DatabaseSeminato()
{
    if (Cnn == db_.get())
        Cnn = nullptr;
}

QString DatabaseSeminato::Percorso() const
{
    return dir_.filePath(QStringLiteral("VEKO.sqlite"));
}

} // namespace quercino::test
