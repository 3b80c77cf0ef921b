#pragma once
// The Revenue Agency's role codes of the person who signs a communication on behalf of
// the declarant (code table kind "CARICA").

#include <QString>

#include <vector>

namespace quercino::genera {

struct Carica {
    QString codice;
    QString descrizione;
};

const std::vector<Carica>& cariche();

} // namespace quercino::genera
