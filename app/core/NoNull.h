#pragma once
// A database value as text, with a null value (or no value at all) reading as "".

#include <QString>
#include <QVariant>

namespace quercino {

QString NoNull(const QVariant& valore);

} // namespace quercino
