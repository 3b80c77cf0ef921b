#pragma once

#include <QString>

namespace quercino {

// The caller's text becomes its upper-case, blank-trimmed form; the result is the first n
// letters A to Z of it, other characters skipped.
QString SoloLettere(QString& testo, int n);
QString SoloLettere(const QString& testo, int n);

} // namespace quercino
