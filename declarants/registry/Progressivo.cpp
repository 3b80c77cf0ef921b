#include "declarants/registry/Progressivo.h"

#include "platform/text/Trim.h"

namespace quercino {

namespace {

QString MessaggioNonValido()
{
    return QStringLiteral("Progressivo non valido: indicare un numero da 1 a 99999");
}

QString MessaggioSalvataggio()
{
    return QStringLiteral("Progressivo non valido: indicare il numero del prossimo file");
}

QString MessaggioEsaurito()
{
    return QStringLiteral(
        "Il progressivo ha superato il valore massimo 99999: non è possibile creare altri file "
        "senza ripetere un nome già usato. Per ricominciare la numerazione fare doppio click su "
        "\"Progressivo:\"");
}

} // namespace

std::optional<std::int32_t> LeggiProgressivo(const QString& testo)
{
    const QString t = trimBlanks(testo);
    if (t.isEmpty())
        return std::nullopt;
    std::int64_t n = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
        if (n > 999'999'999)  // far past any progressive; stops before 32-bit overflow
            return std::nullopt;
    }
    return static_cast<std::int32_t>(n);
}

QString FormattaProgressivo(std::int32_t numero)
{
    return QStringLiteral("%1").arg(numero, 5, 10, QLatin1Char('0'));
}

EsitoProgressivo ProgressivoDaSalvare(const QString& testo)
{
    // A number past 99999 is kept (the declarant's other data can still be saved); no
    // file is written with it.
    const auto n = LeggiProgressivo(testo);
    if (!n)
        return {{}, MessaggioSalvataggio()};
    return {FormattaProgressivo(*n == 0 ? 1 : *n), {}};
}

EsitoProgressivo ProgressivoSuccessivo(const QString& attuale)
{
    const QString errore = ControllaProgressivo(attuale);
    if (!errore.isEmpty())
        return {{}, errore};
    return {FormattaProgressivo(*LeggiProgressivo(attuale) + 1), {}};
}

QString ProgressivoMaggiore(const QString& registrato, const QString& nuovo)
{
    const auto a = LeggiProgressivo(registrato);
    const auto b = LeggiProgressivo(nuovo);
    if (a && (!b || *a > *b))
        return registrato;
    return nuovo;
}

bool ProgressivoInferiore(const QString& indicato, const QString& registrato)
{
    const auto a = LeggiProgressivo(indicato);
    const auto b = LeggiProgressivo(registrato);
    return a && b && *a < *b;
}

QString MessaggioProgressivoInferiore(const QString& indicato, const QString& registrato)
{
    return QStringLiteral("Il progressivo indicato (%1) è inferiore a quello in archivio (%2): i numeri più bassi possono "
                          "essere già stati usati per file creati. Indicare un numero non inferiore a %2, oppure fare "
                          "doppio click su \"Progressivo:\" per ricominciare la numerazione.")
        .arg(indicato, registrato);
}

QString ControllaProgressivo(const QString& attuale)
{
    const auto n = LeggiProgressivo(attuale);
    if (!n || *n == 0)
        return MessaggioNonValido();
    if (*n > ProgressivoMassimo)
        return MessaggioEsaurito();
    return {};
}

} // namespace quercino
