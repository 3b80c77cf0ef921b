#include "declarants/import/ValoriRiga.h"

#include "app/core/FormattaImporto.h"

namespace quercino::importazione {

std::optional<std::int64_t> LeggiCentesimi(const QString& testo)
{
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
