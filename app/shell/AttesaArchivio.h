#pragma once
// While a statement waits for a lock that another copy of the program holds (a restore of
// the archive, say), the wait window says why and how long, and keeps turning: the program
// never looks frozen. The user's clicks and keys wait until the statement has run.

#include <QString>

#include <chrono>

namespace quercino {

// How long a wait goes untold (most locks are held for milliseconds).
inline constexpr std::chrono::milliseconds SogliaAttesaArchivio{1000};

// Installs the wait window as the data-access layer's lock-wait observer. Called once at
// start-up.
void CollegaAttesaArchivio();

// What the wait window says after `atteso`.
QString TestoAttesaArchivio(std::chrono::milliseconds atteso);

} // namespace quercino
