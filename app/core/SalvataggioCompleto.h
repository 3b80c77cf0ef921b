#pragma once
// Files written whole or not at all. QSaveFile writes to a temporary file and renames it
// over the earlier one at commit(); but Qt 6.4's commit() reports success even when the
// last write of its buffer fails (a full disk), and small files stay in that buffer until
// then. Everything is therefore flushed and checked before the rename.

#include <QString>

class QFileDevice;
class QSaveFile;

namespace quercino {

// Flushes, checks and renames; on any failure the temporary file is dropped, the earlier
// file stays as it was and the reason is returned (empty on success).
QString CompletaSalvataggio(QSaveFile& file);

// Why the last write to `file` failed, for the user: a full disk in words, otherwise the
// system's text. `numeroErrore` is errno as the failing call left it.
QString MotivoErroreScrittura(const QFileDevice& file, int numeroErrore);

} // namespace quercino
