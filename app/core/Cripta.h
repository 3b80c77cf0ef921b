#pragma once
// The program's own reversible character shift for stored texts (the server password in
// configurazione.ini, the lines of backup files). It hides texts from a casual glance and
// nothing more: lengths and field structure stay visible.

#include <QString>

#include <cstdint>

namespace quercino {

inline const QString ModoScrivi = QStringLiteral("Scrivi");  // scramble
inline const QString ModoLeggi = QStringLiteral("Leggi");    // unscramble

// Keys fixed at build time: one for backup files (their writer and readers), one for the
// server password stored in configurazione.ini.
inline constexpr std::int16_t ChiaveBackup = 7;
inline constexpr std::int16_t ChiavePassword = 4;

// The text with character i (from 1, up to the last non-blank character) shifted by
// key + i ("Scrivi") or back ("Leggi"), counted in Windows-1252 codes; a character whose
// shifted code would leave 0..255, or that the code page lacks, stays. Any other mode
// returns the text unchanged. The result has the length of the text.
QString Cripta(const QString& testo, const QString& modo, std::int16_t chiave);

// One backup line: its first character is the field separator; every field after it goes
// through Cripta (positions from 1 again in each field) and the fields are joined by "¦".
QString CriptaCampi(const QString& riga, const QString& modo, std::int16_t chiave);

// True when Cripta "Leggi" gives back exactly what Cripta "Scrivi" made of the text (no
// character would leave the code page's range) and the scrambled text holds no "¦", so a
// writer can tell beforehand whether a scrambled text, alone or as a backup field, will
// read back intact.
bool CriptaReversibile(const QString& testo, std::int16_t chiave);

} // namespace quercino
