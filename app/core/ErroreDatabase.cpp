#include "app/core/ErroreDatabase.h"

#include "app/core/Globals.h"
#include "platform/db/Database.h"

namespace quercino {

QString DescrizioneErroreDatabase(Database& db, const DbError& errore)
{
    return db.isAlive() ? errore.description() : MessaggioConnessionePersa;
}

QString DescrizioneErrore(const std::exception& errore)
{
    if (const auto* db = dynamic_cast<const DbError*>(&errore))
        return Cnn ? DescrizioneErroreDatabase(*Cnn, *db) : db->description();
    return QString::fromUtf8(errore.what());
}

} // namespace quercino
