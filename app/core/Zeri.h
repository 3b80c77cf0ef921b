#pragma once
// Left-filling of numbers and codes to a fixed width.

#include <QString>

#include <cstdint>

namespace quercino {

// Zeri(value, width):
// - a width of 0 becomes 6 (also in the caller's variable);
// - the value becomes its blank-trimmed text (also in the caller's variable);
// - a text at least as long as the width comes back unchanged (never cut);
// - otherwise the text is read as a number truncated toward zero (0 when it is not a
//   number), the caller's variable becomes that number's decimal text, and the result is
//   that text left-filled to the width with "0" (with blanks for a negative number).
QString Zeri(QString& valore, int& larghezza);
QString Zeri(QString& valore, int&& larghezza);
// Without changing the caller's values.
QString Zeri(const QString& valore, int larghezza);
QString Zeri(std::int64_t valore, int larghezza);

// A VAT number of 2 to 10 characters (after trimming) filled to 11 by Zeri; any other
// length comes back trimmed and otherwise unchanged. The caller's value becomes its
// trimmed form.
QString NormalizzaPIVA(QString& valore);
QString NormalizzaPIVA(const QString& valore);

} // namespace quercino
