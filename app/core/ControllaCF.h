#pragma once
// Check of an Italian tax code (codice fiscale): 11 characters for a company, 16 for a
// natural person, whose check character and birthplace code are verified.

#include <QString>

#include <cstdint>
#include <functional>

namespace quercino {

// Tells whether a four-character birthplace code (a letter and three digits) is known;
// the town tables loaded at launch provide it.
using CercaCodiceLuogo = std::function<bool(const QString& codice)>;

// Result codes of ControllaCF.
inline constexpr std::int16_t CFValido = 0;
inline constexpr std::int16_t CFErrato = 1;

// 0 when valid; 1 when an 11-character code is not all digits, or a 16-character code is
// malformed or its birthplace is unknown even after undoing omocodia; otherwise the
// character code (65..90 for A..Z) of the check character the first fifteen call for.
// Other lengths are blank-filled or cut to 16, so they give a non-zero result.
std::int16_t ControllaCF(const QString& codice, const CercaCodiceLuogo& cerca);

// The same check on the run's birthplace codes (ComuniCF(), Comuni.h), loading the town
// tables first when they are not (a database failure throws DbError to the caller).
std::int16_t ControllaCF(const QString& codice);

// True when the birthplace code, turning omocodia letters (L..V for 0..9) back into
// digits one position at a time from the last, is found.
bool CercaOmocodia(const QString& luogo, const CercaCodiceLuogo& cerca);

} // namespace quercino
