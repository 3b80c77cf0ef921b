#pragma once
// The backup file: one Windows-1252 line per table row, CR LF at the end, no header or
// trailer. A line is "¦", the table name, then "¦" and a value for each column in the
// table's own order (the restore assigns values by position). Texts are trimmed, whole
// numbers decimal, dates dd/mm/yyyy; a null is an empty field.

#include "platform/db/Row.h"
#include "platform/db/Table.h"

#include <QString>
#include <QVariant>

namespace quercino {

inline const QChar SeparatoreBackup = QChar(0x00A6);  // "¦", the byte 0xA6
inline const QString EstensioneBackup = QStringLiteral(".VEKO");
inline const QString FiltroBackup = QStringLiteral("BackUp VEKO (*.VEKO)");

// A value as the file holds it. "¦", CR and LF inside a text would break the line into
// wrong fields or rows: each becomes a blank.
QString ValoreBackup(const QVariant& valore, ColumnType tipo);

// The text with "¦", CR and LF turned into blanks.
QString SenzaSeparatori(const QString& testo);

// The plain line of one row (without CR LF).
QString RigaBackup(const Table& tabella, const Row& riga);

} // namespace quercino
