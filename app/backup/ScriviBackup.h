#pragma once
// The backup writer: the COPE rows of one declarant, or of all, into one file. The file is
// written under a temporary name and takes its real name only when complete, so a failure
// never leaves a partial file that looks like a backup (nor spoils an older one). Rows go
// to the file as they are read; a registry beyond what a restore takes (LimitiBackup.h) is
// refused, so every file written can be restored.

#include "app/backup/LimitiBackup.h"

#include <QSet>
#include <QString>
#include <QVariantList>

#include <functional>

class QSaveFile;

namespace quercino {

class Database;

struct EsitoBackup {
    bool riuscito = false;
    int righe = 0;                    // rows written
    bool criptato = false;            // the lines are scrambled
    // Scrambling was asked for, but some value would not have read back intact: the
    // whole file was written plain.
    bool inChiaroPerValori = false;
    // Some character has no byte in Windows-1252 and was written as "?".
    bool caratteriSostituiti = false;
    QString errore;                   // what failed, when not riuscito
};

class ScrittoreBackup {
public:
    explicit ScrittoreBackup(Database& db) : db_(db) {}

    // Scramble the lines (the window's "Cripta" box).
    bool cripta = true;
    // Called once per row, as the window's progress display moves.
    std::function<void()> avanza;
    // Called again and again while the writer works: after each row read (a file started
    // again plain reads them twice), and while the finished file goes to disk (a whole
    // registry takes seconds there). The window keeps painting.
    std::function<void()> prosegue;
    // The most declarants a file may hold (tests lower it).
    int massimoSoggetti = MassimoSoggettiBackup;

    // Writes `percorso` with the COPE rows whose OCOD is `codice` (every row when the code
    // is empty), replacing a file of that name. No row gives an empty file.
    EsitoBackup CreaBackup(const QString& percorso, const QString& codice);
    // The same with the rows of several declarants.
    EsitoBackup CreaBackup(const QString& percorso, const QSet<QString>& codici);

private:
    // Why a pass over the rows stopped before their end.
    enum class Interruzione { Nessuna, NonCriptabile, Rifiutato };

    EsitoBackup Scrivi(const QString& percorso, const QString& dove, const QVariantList& valori,
                       const QSet<QString>* codici);
    // The written file flushed and synced to disk while `prosegue` runs; why it failed, or
    // nothing.
    QString SuDisco(QSaveFile& file);
    // One pass: every row into `file`, scrambled or not; a refusal goes to esito.errore.
    Interruzione Passata(QSaveFile& file, const QString& dove, const QVariantList& valori,
                         const QSet<QString>* codici, EsitoBackup& esito, int& avanzate);

    Database& db_;
};

// The message for the user when a backup file could not be written.
QString MessaggioBackupFallito(const EsitoBackup& esito);
// The notes to add to a completed backup's message (empty when there is nothing to say).
QString NoteBackup(const EsitoBackup& esito);

} // namespace quercino
