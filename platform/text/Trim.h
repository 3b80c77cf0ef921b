#pragma once
// Trimming that removes blanks (U+0020) only: tabs, line ends and other white space are
// part of a value in every file and field the program reads. QString::trimmed() removes all
// white space and must not be used on user data.

#include <QString>
#include <QStringView>

namespace quercino {

QString trimBlanks(QStringView text);
QString trimLeadingBlanks(QStringView text);
QString trimTrailingBlanks(QStringView text);

} // namespace quercino
