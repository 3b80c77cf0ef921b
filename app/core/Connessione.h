#pragma once
// The three ways to the database and their texts:
//   "S"            ODBC data source "VEKO", user and password from the configuration;
//   "X"            the configuration's StrConn handed to the ODBC driver (then "S");
//   anything else  the SQLite file DataBase/VEKO.sqlite of the program folder.

#include "app/core/Configurazione.h"

#include <QString>

#include <memory>

namespace quercino {

class Database;

inline const QString OrigineDati = QStringLiteral("VEKO");
inline const QString VersioneMonoutente = QStringLiteral("Versione 1.0 - Monoutente");
inline const QString VersioneClientServer = QStringLiteral("Versione 1.0 - Client/Server");
inline const QString VersioneExtConn = QStringLiteral("Versione 1.0 - Client/Server ExtConn");

struct SceltaConnessione {
    QString tipoDb;        // final mode: "S" after "X"
    QString modo;          // "M" (file), "S" (data source) or "X" (connection string)
    QString strConn;       // the connection text; in mode "S" with the password as "****"
    QString versione;      // VersioneProgramma
    QString fileDatabase;  // mode "M": the SQLite file
};

// The mode, texts and file for a configuration read from the program folder.
SceltaConnessione ScegliConnessione(const Configurazione& configurazione,
                                    const QString& cartellaProgramma);

// Opens the connection the choice names (user and password from the configuration).
// Throws DbError.
std::unique_ptr<Database> ApriConnessione(const SceltaConnessione& scelta,
                                          const Configurazione& configurazione);

} // namespace quercino
