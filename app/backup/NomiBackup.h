#pragma once
// Names of the backup files: the single declarant's, the all-declarants one and the
// safety copy a restore writes into the program folder first.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace quercino {

// A date as the names carry it: "YYYYMMDD".
QString DataSalvataggioDi(const QDate& data);

// "SAVEVEKO_" + code + "_" + the first 20 letters A-Z of the name + "_" + date + ".VEKO".
QString NomeBackupSingolo(const QString& codice, const QString& nome, const QString& data);

// "SAVEVEKO_TUTTI_" + date + ".VEKO".
QString NomeBackupTutti(const QString& data);

// A code as part of a file name: characters that would name another folder or that file
// systems refuse become "_" (a backup file may carry any code).
QString CodiceInNomeFile(const QString& codice);

// Where the safety copy of a declarant goes, never over an existing file: the first copy
// of the day is "BFRR_" + code + "_" + date + ".VEKO"; a later one on the same day keeps
// that first copy (the real original) and takes the time as a suffix, "_HHMMSS", then
// "_2", "_3"... when even that exists.
QString PercorsoCopiaSicurezza(const QString& cartella, const QString& codice,
                               const QDateTime& adesso);

} // namespace quercino
