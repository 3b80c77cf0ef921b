#pragma once
// The launch steps without windows: configuration, the one connection of the run, the
// shared colours and folders, the debug log, the release texts and the town tables. The
// main window is shown by the caller (app/shell) when the launch succeeds.

#include "app/core/Messaggi.h"

#include <QDate>
#include <QString>

#include <functional>

namespace quercino {

inline const QString ReleaseProgramma = QStringLiteral("Release 1.4.4 - 19 Aprile 2021");

struct AmbienteAvvio {
    QString cartellaProgramma;  // without a trailing "/"
    QString cartellaPubblica;
    QDate oggi;
};

// The real folders and today's date.
AmbienteAvvio AmbienteReale();

struct EsitoAvvio {
    bool riuscito = false;
    Messaggio errore;  // when not riuscito: the box to show before the program ends
};

// Runs every launch step; `mostra` receives the texts to show in a plain box during the
// launch (the connection and the log's path, debugging only). On success `Cnn` is the
// run's connection. Never throws: a failure comes back as the message to show.
EsitoAvvio Avvia(const AmbienteAvvio& ambiente, const std::function<void(const QString&)>& mostra);

// Avvia in the real environment, every message through MsgBox; false when the program
// must end (the error has been shown).
bool Main();

// Releases the run's connection and clears `Cnn` and `ComuniAperto`.
void ChiudiConnessione();

} // namespace quercino
