#pragma once
// The progressive number of a declarant's next DatiFattura file: part of the file
// name and of ProgressivoInvio, five digits, 00001 to 99999. Numbers are 32-bit, so the
// raise after file 99999 gives 100000: a file with that number is refused before it is
// written, and two files never share a name.

#include <QString>

#include <cstdint>
#include <optional>

namespace quercino {

inline constexpr std::int32_t ProgressivoMassimo = 99999;

// The number in a progressive text: digits only, blanks around allowed; nothing
// for an empty text, letters, signs or a number too long to be one.
std::optional<std::int32_t> LeggiProgressivo(const QString& testo);

// Five digits, zero-filled ("00042").
QString FormattaProgressivo(std::int32_t numero);

// A progressive text checked for one use; `errore` empty means `valore` is good.
struct EsitoProgressivo {
    QString valore;
    QString errore;
    bool Valido() const { return errore.isEmpty(); }
};

// What a save stores: the typed number on five digits (more when it is larger), 0 read
// as 1.
EsitoProgressivo ProgressivoDaSalvare(const QString& testo);

// The progressive after the file numbered `attuale` was written; an error when no file
// can carry that number (not a number, or past 99999).
EsitoProgressivo ProgressivoSuccessivo(const QString& attuale);

// The larger of two stored progressives, compared as numbers; a text that is not a number
// gives way to one that is (`nuovo` when neither is).
QString ProgressivoMaggiore(const QString& registrato, const QString& nuovo);

// True when both are numbers and `indicato` is below `registrato`: storing it would let a
// later file repeat a number already used.
bool ProgressivoInferiore(const QString& indicato, const QString& registrato);

// The refusal of a progressive typed below the stored one.
QString MessaggioProgressivoInferiore(const QString& indicato, const QString& registrato);

// Asked before a file numbered `attuale` is written: the reason it cannot be (not a
// number from 1 to 99999), or an empty text when it may.
QString ControllaProgressivo(const QString& attuale);

} // namespace quercino
