#include "platform/db/DbError.h"

namespace quercino {

DbError::DbError(int number, const QString& description, Kind kind)
    : std::runtime_error(description.toStdString()), number_(number), description_(description), kind_(kind)
{
}

} // namespace quercino
