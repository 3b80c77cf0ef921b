#include "declarants/datifattura/Formati.h"

namespace quercino::datifattura {

std::string FormattaCentesimi(std::int64_t centesimi)
{
    // Work on the magnitude as unsigned so that the most negative value is exact too; the
    // digits are written from the right into a small buffer.
    const bool negativo = centesimi < 0;
    std::uint64_t valore = negativo ? 0 - static_cast<std::uint64_t>(centesimi) : static_cast<std::uint64_t>(centesimi);
    char cifre[32];
    char* p = cifre + sizeof(cifre);
    *--p = static_cast<char>('0' + valore % 10);
    valore /= 10;
    *--p = static_cast<char>('0' + valore % 10);
    valore /= 10;
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + valore % 10);
        valore /= 10;
    } while (valore != 0);
    if (negativo)
        *--p = '-';
    return std::string(p, static_cast<std::size_t>(cifre + sizeof(cifre) - p));
}

std::string FormattaDataXml(const QDate& data)
{
    if (!data.isValid())
        return {};
    char testo[16];
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    data.getDate(&anno, &mese, &giorno);
    if (anno < 1 || anno > 9999)
        return {};
    testo[0] = static_cast<char>('0' + anno / 1000);
    testo[1] = static_cast<char>('0' + anno / 100 % 10);
    testo[2] = static_cast<char>('0' + anno / 10 % 10);
    testo[3] = static_cast<char>('0' + anno % 10);
    testo[4] = '-';
    testo[5] = static_cast<char>('0' + mese / 10);
    testo[6] = static_cast<char>('0' + mese % 10);
    testo[7] = '-';
    testo[8] = static_cast<char>('0' + giorno / 10);
    testo[9] = static_cast<char>('0' + giorno % 10);
    return std::string(testo, 10);
}

QString FormattaProgressivo(int progressivo)
{
    return QString::number(progressivo).rightJustified(5, QLatin1Char('0'));
}

bool SoloCifre(const QString& testo)
{
    if (testo.isEmpty())
        return false;
    for (const QChar c : testo) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString CapPerNazione(const QString& cap, const QString& nazione)
{
    if (nazione == QLatin1String("IT") && cap.size() < 5 && SoloCifre(cap))
        return cap.rightJustified(5, QLatin1Char('0'));
    return cap;
}

QString NormalizzaCodiceFiscale(const QString& codice)
{
    if (codice.size() >= 2 && codice.size() <= 10 && SoloCifre(codice))
        return codice.rightJustified(11, QLatin1Char('0'));
    return codice;
}

} // namespace quercino::datifattura
