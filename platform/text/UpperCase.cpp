#include "platform/text/UpperCase.h"

#include "platform/text/Windows1252.h"

namespace quercino {

QString upperOneToOne(QStringView text)
{
    QString result = text.toString();
    for (QChar& c : result) {
        // QChar::toUpper is the simple one-to-one mapping (no "SS" for "ß").
        const QChar upper = c.toUpper();
        if (upper == c)
            continue;
        if (windows1252Code(c.unicode()) >= 0 && windows1252Code(upper.unicode()) < 0)
            continue;
        c = upper;
    }
    return result;
}

} // namespace quercino
