#include "app/core/ErroreDatabase.h"

#include "platform/db/Database.h"

namespace quercino {

QString DescrizioneErroreDatabase(Database& db, const DbError& errore)
{
    return db.isAlive() ? errore.description() : MessaggioConnessionePersa;
}

} // namespace quercino
