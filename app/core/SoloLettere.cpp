#include "app/core/SoloLettere.h"

#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

namespace quercino {

QString SoloLettere(const QString& testo, int n)
{
    const QString pulito = trimBlanks(upperOneToOne(testo));
    QString risultato;
    for (QChar c : pulito) {
        if (risultato.size() >= n)
            break;
        if (c >= u'A' && c <= u'Z')
            risultato.append(c);
    }
    return risultato;
}

QString SoloLettere(QString& testo, int n)
{
    testo = trimBlanks(upperOneToOne(testo));
    return SoloLettere(std::as_const(testo), n);
}

} // namespace quercino
