#pragma once
// Upper case that maps each character to exactly one character ("ß" stays "ß", never "SS"),
// so that the length of a text never changes; a character of the Windows-1252 code page
// whose capital lies outside it (as "µ") stays as it is.

#include <QString>
#include <QStringView>

namespace quercino {

QString upperOneToOne(QStringView text);

} // namespace quercino
