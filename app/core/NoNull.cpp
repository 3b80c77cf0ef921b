#include "app/core/NoNull.h"

namespace quercino {

QString NoNull(const QVariant& valore)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    return valore.toString();
}

} // namespace quercino
