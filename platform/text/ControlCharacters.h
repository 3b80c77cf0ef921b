#pragma once
// Control characters in stored and written texts. The database back-ends disagree on them
// (the SQLite file keeps a NUL, both ODBC drivers cut the text there) and the XML files
// may not hold them, so every text the program stores or imports goes through here:
// tabs and line breaks become a blank, so words stay apart; every other control
// character (C0, DEL, C1) is removed.

#include <QString>

namespace quercino {

bool hasControlCharacters(const QString& text);
QString withoutControlCharacters(const QString& text);

} // namespace quercino
