#include "platform/db/Database.h"

namespace quercino {

Transaction::Transaction(Database& db) : db_(db)
{
    db_.begin();
}

Transaction::~Transaction()
{
    if (done_)
        return;
    try {
        db_.rollback();
    } catch (const DbError&) {
        // Already unwinding from the failure that matters; a failed rollback ends with
        // the connection anyway.
    }
}

void Transaction::commit()
{
    db_.commit();
    done_ = true;
}

} // namespace quercino
