#pragma once
// A private copy of the program's seeded database (the real town table and code table),
// opened as the run's connection for one test.

#include "platform/db/Database.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace quercino::test {

class DatabaseSeminato {
public:
    // Copies program/DataBase/VEKO.sqlite and opens it as Cnn; on failure `errore` says why.
    DatabaseSeminato();
    ~DatabaseSeminato();

    bool Aperto() const { return db_ != nullptr; }
    const QString& Errore() const { return errore_; }
    Database& db() { return *db_; }
    QString Percorso() const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<Database> db_;
    QString errore_;
};

} // namespace quercino::test
