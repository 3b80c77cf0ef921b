#pragma once
// Reader of the towns list of the codice-fiscale-js package (src/lista-comuni.js): one
// entry per line, [cadastral code, province, name, active (1) or historical (0)].

#include <QString>

#include <vector>

namespace quercino::genera {

struct VoceComune {
    QString codice;     // four characters, letter and three digits
    QString provincia;  // two letters, "EE" for foreign states
    QString nome;
    bool attivo = false;
};

// Every entry of the file, in file order. Throws std::runtime_error naming the line when
// a line is neither an entry nor the list's opening or closing line, so that a changed
// format can never give a silently shorter table.
std::vector<VoceComune> leggiListaComuni(const QString& percorso);

} // namespace quercino::genera
