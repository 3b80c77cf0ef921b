#include "declarants/datifattura/Formati.h"

namespace quercino::datifattura {

QByteArray FormattaCentesimi(std::int64_t centesimi)
{
    // Work on the magnitude as unsigned so that the most negative value is exact too.
    const bool negativo = centesimi < 0;
    const std::uint64_t valore = negativo ? 0 - static_cast<std::uint64_t>(centesimi)
                                          : static_cast<std::uint64_t>(centesimi);
    QByteArray testo = QByteArray::number(static_cast<qulonglong>(valore / 100));
    const auto decimi = static_cast<char>('0' + (valore % 100) / 10);
    const auto unita = static_cast<char>('0' + valore % 10);
    testo.append('.').append(decimi).append(unita);
    if (negativo)
        testo.prepend('-');
    return testo;
}

QByteArray FormattaDataXml(const QDate& data)
{
    if (!data.isValid())
        return {};
    char testo[16];
    const int anno = data.year();
    if (anno < 1 || anno > 9999)
        return {};
    testo[0] = static_cast<char>('0' + anno / 1000);
    testo[1] = static_cast<char>('0' + anno / 100 % 10);
    testo[2] = static_cast<char>('0' + anno / 10 % 10);
    testo[3] = static_cast<char>('0' + anno % 10);
    testo[4] = '-';
    testo[5] = static_cast<char>('0' + data.month() / 10);
    testo[6] = static_cast<char>('0' + data.month() % 10);
    testo[7] = '-';
    testo[8] = static_cast<char>('0' + data.day() / 10);
    testo[9] = static_cast<char>('0' + data.day() % 10);
    return QByteArray(testo, 10);
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
