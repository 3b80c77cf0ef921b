#include "declarants/datifattura/ValoriSchema.h"

namespace quercino::datifattura {

namespace {

bool EntroCodice(const QString& testo, int massimo, char16_t limite)
{
    if (testo.isEmpty() || testo.size() > massimo)
        return false;
    for (const QChar c : testo) {
        if (c.unicode() >= limite)
            return false;
    }
    return true;
}

bool LetteraOCifra(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

bool LatinoBase(const QString& testo, int massimo)
{
    return EntroCodice(testo, massimo, 0x80);
}

bool Latino1(const QString& testo, int massimo)
{
    return EntroCodice(testo, massimo, 0x100);
}

bool DueLettere(const QString& testo)
{
    return testo.size() == 2 && testo.at(0) >= QLatin1Char('A') && testo.at(0) <= QLatin1Char('Z')
        && testo.at(1) >= QLatin1Char('A') && testo.at(1) <= QLatin1Char('Z');
}

bool CodiceFiscaleValido(const QString& testo)
{
    if (testo.size() < 11 || testo.size() > 16)
        return false;
    for (const QChar c : testo) {
        if (!LetteraOCifra(c))
            return false;
    }
    return true;
}

} // namespace quercino::datifattura
