#include "declarants/registry/CompletamentoComune.h"

#include "app/core/Comuni.h"
#include "app/core/PulisciTesto.h"
#include "platform/text/Trim.h"

#include <algorithm>

namespace quercino {

std::optional<StatoComune> CompletaComune(const QString& testo, int cursore, int tasto,
                                          const ElencoComuni& comuni)
{
    if (tasto < Qt::Key_A || tasto > Qt::Key_Z)
        return std::nullopt;
    const QString senzaBlanchi = trimLeadingBlanks(testo);
    const int tolti = static_cast<int>(testo.size() - senzaBlanchi.size());
    const int p = std::clamp(cursore - tolti, 0, static_cast<int>(senzaBlanchi.size()));
    if (senzaBlanchi.isEmpty() || p == 0) {
        if (tolti == 0)
            return std::nullopt;
        return StatoComune{senzaBlanchi, std::nullopt, p, 0};
    }
    const Comune* trovato = comuni.cercaPrefisso(senzaBlanchi.left(p));
    if (!trovato)
        return StatoComune{senzaBlanchi, std::nullopt, p, 0};
    return StatoComune{trovato->nome, trovato->provincia, p,
                       static_cast<int>(trovato->nome.size()) - p};
}

std::optional<QString> ProvinciaDelComune(const QString& testo, const ElencoComuni& comuni)
{
    const QString nome = trimBlanks(testo);
    if (nome.isEmpty())
        return std::nullopt;
    if (const Comune* c = comuni.cercaEsatto(nome))
        return c->provincia;
    // The box's clean-up turns quotes into blanks ("SANT'ANGELO" into "SANT ANGELO"):
    // such a name is compared with the table's names cleaned the same way.
    const QString pulito = trimBlanks(PulisciTesto(nome));
    for (const Comune& c : comuni.comuni()) {
        if (trimBlanks(PulisciTesto(c.nome)) == pulito)
            return c.provincia;
    }
    return std::nullopt;
}

} // namespace quercino
