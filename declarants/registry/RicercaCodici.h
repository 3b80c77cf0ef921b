#pragma once
// The registry's code lookups: the signer's role ("CARICA") and the nations ("PAESE")
// are chosen in the code-table lookup window, which takes its request and gives its
// answer through the run's globals.

#include <QString>

#include <functional>
#include <optional>

namespace quercino {

struct CodiceScelta {
    QString codice;
    QString descrizione;
};

// Shows the lookup window modally over the registry and returns when it closes.
using MostraRicerca = std::function<void()>;

// Role codes: listed by code, and every later lookup of the run too.
std::optional<CodiceScelta> RicercaCarica(const MostraRicerca& mostra);
// Nations: in the order of the last request (by description until a role lookup ran).
std::optional<CodiceScelta> RicercaPaese(const MostraRicerca& mostra);

} // namespace quercino
