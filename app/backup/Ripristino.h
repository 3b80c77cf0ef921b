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

#include "platform/db/Table.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <QVariantList>

#include <functional>
#include <utility>
#include <vector>

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

// One line ready to be stored: a row of a declarant's table, or a code-table merge.
struct OperazioneRipristino {
    const Table* tabella = nullptr;  // nullptr: code-table line
    QVariantList valori;
    QString tipo, cod, des;
};

// What a checked file will do, in file order.
struct PianoRipristino {
    std::vector<OperazioneRipristino> operazioni;
    // Tables of declarants in the file, each with the declarants it holds.
    std::vector<std::pair<const Table*, QStringList>> sostituzioni;
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
    // Reads and checks the whole file (throws ErroreBackup); nothing changes.
    PianoRipristino Prepara(const QString& percorso, EsitoRipristino& esito) const;
    // A safety copy of every declarant of the file already stored; false when one fails.
    bool ScriviCopie(EsitoRipristino& esito);
    // Replaces and merges in one transaction (throws DbError, having rolled back).
    void Applica(const PianoRipristino& piano, EsitoRipristino& esito);
    // The stored progressive of every declarant of the file, read before it is replaced.
    QHash<QString, int> ProgressiviRegistrati(const PianoRipristino& piano);
    // Keeps the stored progressive when the file's is lower.
    static void MantieniProgressivo(QVariantList& valori, const QHash<QString, int>& progressivi);

    Database& db_;
    QString cartella_;
};

// The message for the user when a restore stopped (the database is as it was).
QString MessaggioRipristinoFallito(const EsitoRipristino& esito);

} // namespace quercino
