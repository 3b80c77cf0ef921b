#pragma once
// Qt's own texts (standard buttons, file dialogs) in Italian, whatever the machine's locale.

class QCoreApplication;

namespace quercino {

// Loads Qt's Italian translation into the application and makes Italian the default
// locale; false when the translation files are missing (the texts then stay in English).
bool CaricaTraduzioneItaliana(QCoreApplication& applicazione);

} // namespace quercino
