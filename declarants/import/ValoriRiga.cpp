#include "declarants/import/ValoriRiga.h"

#include "app/core/FormattaImporto.h"

namespace quercino::importazione {

namespace {

// The common forms ("1234", "-1234,5", "1234,56") read at once; nothing for any other.
std::optional<std::int64_t> FormaSemplice(const QString& testo)
{
    qsizetype i = 0;
    const qsizetype n = testo.size();
    const bool negativo = n > 0 && testo[0] == u'-';
    if (negativo)
        ++i;
    std::int64_t intero = 0;
    const qsizetype inizio = i;
    while (i < n && testo[i] >= u'0' && testo[i] <= u'9') {
        intero = intero * 10 + (testo[i].unicode() - u'0');
        ++i;
    }
    if (i == inizio || i - inizio > 16)
        return std::nullopt;
    std::int64_t decimali = 0;
    if (i < n) {
        if (testo[i] != u',' || n - i - 1 < 1 || n - i - 1 > 2)
            return std::nullopt;
        for (qsizetype k = i + 1; k < n; ++k) {
            if (testo[k] < u'0' || testo[k] > u'9')
                return std::nullopt;
            decimali = decimali * 10 + (testo[k].unicode() - u'0');
        }
        if (n - i - 1 == 1)
            decimali *= 10;
    }
    const std::int64_t centesimi = intero * 100 + decimali;
    return negativo ? -centesimi : centesimi;
}

} // namespace

std::optional<std::int64_t> LeggiCentesimi(const QString& testo)
{
    if (const auto semplice = FormaSemplice(testo))
        return semplice;
    // The shared amount formatter gives digits, a full stop and two decimals for a number.
    const QString formattato = FormattaImporto(testo);
    qsizetype i = 0;
    bool negativo = false;
    if (i < formattato.size() && (formattato[i] == u'-' || formattato[i] == u'+'))
        negativo = formattato[i++] == u'-';
    const qsizetype punto = formattato.indexOf(u'.');
    // At most 16 integer digits: far beyond any amount the Agency takes, well inside 64 bits.
    if (punto <= i || punto - i > 16 || formattato.size() - punto != 3)
        return std::nullopt;
    std::int64_t centesimi = 0;
    for (qsizetype k = i; k < formattato.size(); ++k) {
        if (k == punto)
            continue;
        const QChar c = formattato[k];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        centesimi = centesimi * 10 + (c.unicode() - u'0');
    }
    return negativo ? -centesimi : centesimi;
}

} // namespace quercino::importazione
