#include "declarants/datifattura/ValoriSchema.h"

namespace quercino::datifattura {

namespace {

// The first character at or above `limite` as the user sees it: both halves of a surrogate
// pair (an emoji, say), a half without its other as the replacement character; empty when
// there is none.
QString FuoriBlocco(const QString& testo, char16_t limite)
{
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        if (c.unicode() < limite)
            continue;
        if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate())
            return testo.mid(i, 2);
        return QString(c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c);
    }
    return {};
}

bool LetteraOCifra(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

QString Limite(const QString& testo, int massimo, char16_t blocco)
{
    if (testo.size() > massimo)
        return QStringLiteral("massimo %1 caratteri").arg(massimo);
    if (const QString c = FuoriBlocco(testo, blocco); !c.isEmpty())
        return QStringLiteral("carattere non ammesso: ") + c;
    return {};
}

} // namespace

bool LatinoBase(const QString& testo, int massimo)
{
    return !testo.isEmpty() && Limite(testo, massimo, 0x80).isEmpty();
}

bool Latino1(const QString& testo, int massimo)
{
    return !testo.isEmpty() && Limite(testo, massimo, 0x100).isEmpty();
}

bool DueLettere(const QString& testo)
{
    return testo.size() == 2 && testo.at(0) >= QLatin1Char('A') && testo.at(0) <= QLatin1Char('Z')
        && testo.at(1) >= QLatin1Char('A') && testo.at(1) <= QLatin1Char('Z');
}

bool CodiceFiscaleValido(const QString& testo)
{
    if (testo.size() < 11 || testo.size() > MassimoCodiceFiscale)
        return false;
    for (const QChar c : testo) {
        if (!LetteraOCifra(c))
            return false;
    }
    return true;
}

QString LimiteLatinoBase(const QString& testo, int massimo)
{
    return Limite(testo, massimo, 0x80);
}

QString LimiteLatino1(const QString& testo, int massimo)
{
    return Limite(testo, massimo, 0x100);
}

QString LimiteDueLettere(const QString& testo)
{
    return DueLettere(testo) ? QString() : QStringLiteral("due lettere da A a Z");
}

QString LimiteCodiceFiscale(const QString& testo)
{
    return CodiceFiscaleValido(testo) ? QString() : QStringLiteral("da 11 a 16 lettere o cifre");
}

} // namespace quercino::datifattura
