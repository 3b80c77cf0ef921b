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

void TastiComune::Assesta(const QString& testo)
{
    if (!inAttesa_)
        return;
    const auto tenuto = scritto_.find(inAttesa_->first);
    if (tenuto != scritto_.end() && inAttesa_->second != testo)
        tenuto->second = true;
    inAttesa_.reset();
}

void TastiComune::Premuto(int tasto, Qt::KeyboardModifiers modificatori, bool ripetuto, const QString& testo)
{
    Assesta(testo);
    const bool scorciatoia = modificatori & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // A key held down repeats its press: any of the presses may have typed.
    if (!ripetuto || scorciatoia || scritto_.count(tasto) == 0)
        scritto_[tasto] = false;
    if (!scorciatoia)
        inAttesa_.emplace(tasto, testo);
}

bool TastiComune::Rilasciato(int tasto, bool ripetuto, const QString& testo)
{
    Assesta(testo);
    if (ripetuto)
        return false;
    const auto tenuto = scritto_.find(tasto);
    if (tenuto == scritto_.end())
        return false;
    const bool scritto = tenuto->second;
    scritto_.erase(tenuto);
    return scritto;
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
