#pragma once
// Code-table lines of a backup merge into CTAB: a known TIPO and COD pair takes the
// file's description, a new pair is added. Descriptions of the kind "ITT" written in the
// short layout (a "/" at position 16 or 15) are reshaped to the 32-character layout.

#include <QString>

namespace quercino {

class Database;

// The description of an "ITT" line in the current layout (unchanged when neither reshaping
// applies).
QString RiformaDescrizioneITT(const QString& descrizione);

// Merges one pair into CTAB (values bound).
void RipristinaCTAB(Database& db, const QString& tipo, const QString& cod, const QString& des);

} // namespace quercino
