#pragma once
// The columns of COPE in the table's order, and access to a declarant's values by
// column name. The order is part of the backup format: a backup line carries a row's
// values in this order and the restore assigns them by position.

#include "declarants/registry/DatiSoggetto.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace quercino {

// The 33 column names, OCOD first and OPROG last.
const QStringList& ColonneCOPE();

// True for the two check-box columns (OPF, ORFPF), stored as the numbers 0 and 1.
bool ColonnaCasella(const QString& colonna);

// The value of a column as it is stored: text, or 0/1 for a check box. An unknown
// column gives an invalid QVariant. Column names are matched without regard to case.
QVariant ValoreColonna(const DatiSoggetto& dati, const QString& colonna);

// Sets a column from a stored value: a null reads as empty text, a check box is
// ticked by any number other than 0. Returns false for an unknown column.
bool ImpostaColonna(DatiSoggetto& dati, const QString& colonna, const QVariant& valore);

// The text fields of the record, in column order, for changes that touch every text
// (upper case, trimming). The two check boxes are not among them.
QList<QString DatiSoggetto::*> CampiTesto();

} // namespace quercino
