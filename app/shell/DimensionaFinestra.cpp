#include "app/shell/DimensionaFinestra.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace quercino {

namespace {

// Nearest integer, halves to the even neighbour.
long long ArrotondaPari(double valore)
{
    return std::llrint(std::nearbyint(valore));
}

std::optional<double> LeggiNumero(QString testo)
{
    testo = testo.trimmed();
    testo.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double numero = QLocale::c().toDouble(testo, &ok);
    if (!ok || !std::isfinite(numero))
        return std::nullopt;
    return numero;
}

} // namespace

std::optional<QSize> CalcolaDimensioni(const QString& dimAuto, const QString& percLarghezza,
                                       QSize progettata, QSize schermo, QSize disponibile)
{
    if (dimAuto == QLatin1String("off"))
        return std::nullopt;
    if (schermo.width() <= 0 || schermo.height() <= 0 || progettata.width() <= 0
        || progettata.height() <= 0)
        return std::nullopt;
    const double rapporto = double(progettata.height()) / double(progettata.width());

    double percentuale = 70;
    if (!percLarghezza.isEmpty()) {
        const auto letto = LeggiNumero(percLarghezza);
        if (!letto)
            return std::nullopt;
        percentuale = *letto;
    }
    if (!(percentuale > 0 && percentuale <= 100))
        return std::nullopt;

    // Computed in pixels: large screens are no reason to keep the designed size.
    const long long larghezza = ArrotondaPari(schermo.width() * percentuale / 100.0);
    const long long altezza = ArrotondaPari(double(larghezza) * rapporto);
    if (larghezza <= 0 || altezza <= 0 || altezza > std::numeric_limits<int>::max())
        return std::nullopt;
    QSize dimensioni{int(larghezza), int(altezza)};
    // A window larger than the room the desktop leaves would hide its lower part.
    if (disponibile.isValid() && !disponibile.isEmpty())
        dimensioni = dimensioni.boundedTo(disponibile);
    return dimensioni;
}

} // namespace quercino
