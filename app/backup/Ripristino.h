#pragma once
// The restore of a backup file. Everything is checked before anything changes: the lines
// must name tables of the program's own schema (CTAB, or a table keyed by the declarant
// code OCOD), and their values are converted first. Then a safety copy of every declarant
// of the file that is already stored is written into the program folder; a copy that
// cannot be written stops the restore before it starts. Finally, in one transaction, the
// rows of each declarant of the file are replaced once (so a backup of all declarants
// restores them all, and a table appearing twice loses nothing) and the code-table lines
// are merged. Any failure rolls the whole restore back.

#include "app/backup/LeggiBackup.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace quercino {

class Database;

struct EsitoRipristino {
    bool riuscito = false;
    int righe = 0;                   // rows restored or merged
    QStringList codici;              // declarants replaced, in the order of the file
    QStringList copieSicurezza;      // safety copies written
    QStringList erroriCampo;         // field messages already shown
    QString note;                    // notes of the safety copies
    QString errore;                  // what stopped the restore (nothing was changed)
};

class Ripristino {
public:
    Ripristino(Database& db, QString cartellaProgramma);

    bool cripta = true;              // safety copies scrambled (the window's "Cripta" box)
    QString tipoDb;                  // "S": zero dates stored as nulls
    std::function<QDateTime()> adesso = [] { return QDateTime::currentDateTime(); };
    std::function<void()> avanza;    // once per row restored
    // Shows one field message (the row is still restored).
    std::function<void(const QString&)> segnalaCampo;

    EsitoRipristino Ripristina(const QString& percorso);

private:
    Database& db_;
    QString cartella_;
};

// The message for the user when a restore stopped (the database is as it was).
QString MessaggioRipristinoFallito(const EsitoRipristino& esito);

} // namespace quercino
