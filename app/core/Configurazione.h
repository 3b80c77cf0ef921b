#pragma once
// The launch keys of configurazione.ini (section "opzioni"), read and cut as the program
// uses them.

#include <QString>

namespace quercino {

struct Configurazione {
    QString tipoDb;          // first character, upper case
    QString debug;           // first character
    QString utente;          // 15 characters
    QString password;        // 15 characters, unscrambled when passwordCifrata
    bool passwordCifrata = false;  // "Server_Crx" is exactly "S"
    QString serverNome;      // 20 characters
    QString stringaConnessione;  // "StrConn": 300 characters, trimmed
};

// Reads the keys from the file at `PathIni` (missing file or keys read as "").
Configurazione LeggiConfigurazione();

} // namespace quercino
