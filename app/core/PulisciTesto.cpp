#include "app/core/PulisciTesto.h"

#include "platform/text/UpperCase.h"
#include "platform/text/Windows1252.h"

namespace quercino {
namespace {

// Steps 1 to 4: markup and quotes, "&", the accented letters of Italian words.
QChar sostituzioneIniziale(QChar c)
{
    switch (c.unicode()) {
    case u')': case u'<': case u'>': case u'[': case u']': case u';': case u'|': case u'$':
    case u'@': case u'"': case u'\'': case u'`':
        return u' ';
    case u'&':
        return u'e';
    case u'\u00E0': return u'a';  // à
    case u'\u00F2': return u'o';  // ò
    case u'\u00E8': case u'\u00E9': return u'e';  // è é
    case u'\u00EC': return u'i';  // ì
    case u'\u00CA': return u'E';  // Ê
    default:
        return c;
    }
}

// Step 6: what a character of the upper-case text becomes, by its code-page code.
QChar carattereAmmesso(QChar c)
{
    const int codice = windows1252CodeOrQuestionMark(c.unicode());
    if (codice == ',' || codice == '.' || (codice >= '0' && codice <= '9')
        || (codice >= 65 && codice <= 122))
        return QChar(char16_t(codice));
    if (codice >= 192 && codice <= 198) return u'A';
    if (codice >= 199 && codice <= 203) return u'E';
    if (codice >= 204 && codice <= 207) return u'I';
    if (codice == 209) return u'N';
    if (codice >= 210 && codice <= 214) return u'O';
    if (codice >= 217 && codice <= 220) return u'U';
    return u' ';
}

} // namespace

QString PulisciTesto(const QString& testo)
{
    QString risultato = testo;
    for (QChar& c : risultato)
        c = sostituzioneIniziale(c);
    risultato = upperOneToOne(risultato);
    for (QChar& c : risultato)
        c = carattereAmmesso(c);
    return risultato;
}

QString PulisciTesto(QString& testo)
{
    testo = PulisciTesto(std::as_const(testo));
    return testo;
}

} // namespace quercino
