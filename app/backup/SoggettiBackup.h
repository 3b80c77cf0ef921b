#pragma once
// Whose data a backup holds, for the question before a restore: a backup of all
// declarants replaces every one of them, and the question says so.

#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"

#include <QString>
#include <QStringList>

namespace quercino {

inline const QString DomandaRipristino = QStringLiteral(
    "Confermi il ripristino di questo archivio? Se presenti, i dati dell'operatore saranno SOSTITUITI");

// How many declarants the question names.
inline constexpr int SoggettiElencati = 5;

struct SoggettiBackup {
    int numero = 0;          // declarants in the file
    QStringList primi;       // code and name of the first ones, in the order of the file
};

// The declarants of the file's COPE lines, with the first SoggettiElencati of them, read
// from the first line on; throws ErroreBackup as the reader does, and for a file of more
// than `massimoSoggetti` declarants.
SoggettiBackup ElencaSoggetti(LettoreBackup& lettore, int massimoSoggetti = MassimoSoggettiBackup);

// The question: the window's own for one declarant; for several, how many, then the
// first ones a line each, and how many more.
QString DomandaRipristinoPer(const SoggettiBackup& soggetti);

} // namespace quercino
