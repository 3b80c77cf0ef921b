#include "platform/db/DbError.h"

namespace quercino {

DbError::DbError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description)
{
}

} // namespace quercino
