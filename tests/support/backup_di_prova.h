#pragma once
// What the backup and restore tests share: a folder for the files, whole declarant rows,
// and the state a restore may touch read through a second connection (so a test sees what
// another client of the database would see, not the writer's own transaction).
//
//   class Ripristino : public quercino::test::BackupTest {};
//   TEST_P(Ripristino, ...) { db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
//                             const QStringList prima = StatoDaFuori(); ... }
//   QUERCINO_DB_BACKENDS(Ripristino);

#include "support/db_backends.h"
#include "support/scenario.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace quercino::test {

// A COPE row with every text column empty (not null), the given code and name, a tax code,
// an address with an accented town and the rest of rigaCope.
QVariantList SoggettoCompleto(const QString& codice, const QString& nome);

// `n` declarants, coded 0000000000000000 on, every column at its width (so each backup
// line is as long as a line can be), inserted in one transaction.
void RegistroAlLimite(Database& db, int n);

// A whole plain line of a backup file, CR LF included: the table's name, then the given
// values (Latin-1) and empty ones for the columns after them.
QByteArray LineaBackup(const Table& tabella, const QStringList& valori);

// Every row of COPE and CTAB as "TABLE|v1|v2..." ("<NULL>" for nulls), sorted.
QStringList StatoArchivio(Database& db);

// The verbs on backup files that the backup scenarios share, names taken by `percorso`:
// "file NOME" (its bytes as text, a line each, escapes as in casi.h), "scrivi NOME testo"
// (the text and the step's "<" lines added to the file, escapes resolved), "linea NOME
// TABELLA v|v..." (a whole backup line added), "cartella [SOTTO]", "mkdir SOTTO", "rm NOME".
void VerbiFile(Scenario& s, std::function<QString(const QString&)> percorso);

class BackupTest : public DbBackendTest {
protected:
    void SetUp() override;
    QString File(const QString& nome) const { return cartella_.filePath(nome); }
    QStringList StatoDaFuori() { return StatoArchivio(*backend().apriAltraConnessione()); }

    QTemporaryDir cartella_;
};

} // namespace quercino::test
