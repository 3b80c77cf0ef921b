#pragma once
// How large a backup may be. The writer refuses to go past these limits and the restore
// takes whatever stays within them, so every backup the program writes can be restored.
//
// The registry itself sets no bound: OCOD takes 16 characters, and its digits alone give
// 10^16 codes, more declarants than any disk holds. A backup therefore holds at most
// MassimoSoggettiBackup declarants, far more than a registry kept by hand reaches.
// Its longest line (LunghezzaMassimaRiga of COPE): "¦COPE" (5 bytes), a separator and a
// value for each of the 33 columns (33), every text at its column's width (4,870), both
// check boxes at "-32768" (12), CR LF (2): 4,922 bytes. Scrambling changes no length (a
// byte for a byte, the separators in place). At the registry's entry limits a line is
// only 1,315 bytes; the column widths also cover values restored from files made by hand.
// Code-table lines, which the program never writes but a file made by hand may hold,
// take at most 285 bytes; room is left for MassimoRigheCodiciBackup of them.
// The largest file: 100,000 x 4,922 + 1,000 x 285 = 492,485,000 bytes (about 470 MB).

#include "platform/db/Table.h"

#include <QString>

namespace quercino {

inline constexpr int MassimoSoggettiBackup = 100000;
inline constexpr int MassimoRigheCodiciBackup = 1000;

// How many declarant codes one statement names (an IN list): a whole registry in a few
// hundred statements, each done in a moment (and far below the placeholders any
// back-end takes).
inline constexpr int CodiciPerIstruzione = 500;

// "?, ?, ?" for `n` values.
QString Segnaposti(qsizetype n);

// The longest backup line of a row of `tabella`, CR LF included.
qint64 LunghezzaMassimaRiga(const Table& tabella);

// The largest file a restore reads, as worked out above.
qint64 DimensioneMassimaBackup();

// Why a registry or a file beyond `massimo` declarants is refused: "più soggetti obbligati
// dei 100.000 che un file di backUp può contenere".
QString OltreMassimoSoggetti(int massimo);

} // namespace quercino
