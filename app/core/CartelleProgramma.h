#pragma once
// Where the program finds its own files and the shared public folder.

#include <QString>

namespace quercino {

// The program folder, without a trailing "/": $QUERCINO_HOME when set, otherwise the
// folder of the running executable.
QString CartellaProgramma();

// The public profile shared by every user (the debug log lives below it): $PUBLIC when
// set, otherwise the user's data folder (~/.local/share); never the root folder.
QString CartellaPubblica();

} // namespace quercino
