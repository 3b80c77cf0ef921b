#pragma once
// State shared between the windows of one run. Windows hand each other requests and
// answers through these variables (often across a modal window), so they live for the
// whole run; texts start empty, numbers 0, flags false.

#include <QColor>
#include <QString>

#include <cstdint>

namespace quercino {

class Database;

// Database
inline Database* Cnn = nullptr;   // the one connection of the run, opened at launch
inline bool ComuniAperto = false;  // town tables loaded (see Comuni.h)

// Configuration, texts and colours
inline QString PathIni;
inline QString TipoDb;             // "M" (or other) single-user, "S" client/server ("X" becomes "S")
inline QString StrConn;
inline QString ServerNome;
inline QString PathAllegati;
inline QString DebugMode;          // "1" when debugging is on
inline QString PathLog;
inline QString Release;
inline QString VersioneProgramma;
inline QColor ColoreFocus;
inline QColor ColoreNormale;

// Current declarant and active child window
inline QString CodiceOperatore;
inline QString NomeOperatore;
inline QString FormAttivo;

// Requests and answers between windows
inline QString TabellaRicerca;
inline QString OrdineRicerca;
inline QString CodiceScelto;
inline QString DescrizioneScelta;
inline QString ModoSalva;          // "S" save, "R" restore
inline bool SalvaTutti = false;
inline QString Risposta;           // decimal text of the last needed message-box answer
inline std::int32_t RispostaTask = 0;
inline QString FileSalva;
inline QString UltimaCartella;
inline QString TestoMessaggio;
inline QString DataScelta;         // calendar: proposed, then chosen date "dd/mm/yyyy"; "" = none

} // namespace quercino
