#include "app/core/Connessione.h"

#include "platform/db/Database.h"

namespace quercino {

SceltaConnessione ScegliConnessione(const Configurazione& configurazione,
                                    const QString& cartellaProgramma)
{
    SceltaConnessione scelta;
    scelta.tipoDb = configurazione.tipoDb;
    scelta.fileDatabase = cartellaProgramma + QStringLiteral("/DataBase/VEKO.sqlite");
    if (configurazione.tipoDb == QLatin1String("S")) {
        scelta.modo = QStringLiteral("S");
        // The password is handed to the driver on its own; this text is only shown.
        scelta.strConn = QStringLiteral("dsn=%1; UID=%2; PWD=****").arg(OrigineDati, configurazione.utente);
        scelta.versione = VersioneClientServer;
    } else if (configurazione.tipoDb == QLatin1String("X")) {
        scelta.modo = QStringLiteral("X");
        scelta.strConn = configurazione.stringaConnessione;
        scelta.versione = VersioneExtConn;
        scelta.tipoDb = QStringLiteral("S");
    } else {
        scelta.modo = QStringLiteral("M");
        scelta.strConn = QStringLiteral("provider=SQLite;Data Source=") + scelta.fileDatabase;
        scelta.versione = VersioneMonoutente;
    }
    return scelta;
}

std::unique_ptr<Database> ApriConnessione(const SceltaConnessione& scelta,
                                          const Configurazione& configurazione)
{
    if (scelta.modo == QLatin1String("S"))
        return Database::openDataSource(OrigineDati, configurazione.utente, configurazione.password);
    if (scelta.modo == QLatin1String("X"))
        return Database::openConnectionString(scelta.strConn);
    return Database::openSqliteFile(scelta.fileDatabase);
}

} // namespace quercino
