#pragma once
// The value rules of the Agency's schema that the writer's checks and the registry's fields
// share, and the words that name a rule to the user when a value breaks it.

#include <QString>

namespace quercino::datifattura {

// Longest values the schema takes.
inline constexpr int MassimoDenominazione = 80;    // company names
inline constexpr int MassimoTesto = 60;            // first names, surnames, streets, towns
inline constexpr int MassimoNumeroCivico = 8;
inline constexpr int MassimoCap = 5;
inline constexpr int MassimoPartitaIvaItaliana = 11;  // IdCodice of an Italian VAT number
inline constexpr int MassimoPartitaIva = 28;       // IdCodice of any other VAT number
inline constexpr int MassimoCodiceFiscale = 16;
inline constexpr int MassimoCarica = 2;
inline constexpr int MassimoIdFile = 18;           // identifier of a file sent
inline constexpr int MassimoNumeroDocumento = 20;

// 1 to `massimo` characters of the Basic Latin block (codes below 128).
bool LatinoBase(const QString& testo, int massimo);
// 1 to `massimo` characters of Basic Latin or Latin-1 Supplement (codes below 256).
bool Latino1(const QString& testo, int massimo);
// Two letters A-Z (country and province codes).
bool DueLettere(const QString& testo);
// 11 to 16 characters A-Z or 0-9 (tax codes).
bool CodiceFiscaleValido(const QString& testo);

// The dates the schema takes, named for the user.
inline const QString LimiteData = QStringLiteral("data valida dal 01/01/1970");

// The limit a set value breaks, in the user's words ("massimo 80 caratteri", "carattere non
// ammesso: €"); empty when the value keeps it.
QString LimiteLatinoBase(const QString& testo, int massimo);
QString LimiteLatino1(const QString& testo, int massimo);
QString LimiteDueLettere(const QString& testo);
QString LimiteCodiceFiscale(const QString& testo);

} // namespace quercino::datifattura
