#pragma once
// The restore of a backup file. Everything is checked before anything changes: the lines
// must name tables of the program's own schema (CTAB, or a table keyed by the declarant
// code OCOD) and carry exactly one value for each of its columns (a shorter line is a
// file cut short, a longer one a damaged file; so is a last line without its line end),
// and their values are converted first. Then the declarants of the file that are already
// stored are written into one safety copy in the program folder (named after the
// declarant when there is one); a copy that cannot be written stops the restore before it
// starts. Finally, in one transaction, the rows of each declarant of the file are
// replaced once (so a backup of all declarants restores them all, and a table appearing
// twice loses nothing) and the code-table lines are merged. Any failure rolls the whole
// restore back. The file is read twice, line by line, and no line is held past its turn; a
// file that another program changed between the two readings is refused. The declarants
// are looked up, locked and deleted a batch of codes per statement, and every step, the
// safety copy included, tells the caller it goes on: a window keeps painting throughout.

#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/backup/ValoriRipristino.h"

#include "platform/db/Row.h"
#include "platform/db/Table.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <QVariantList>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace quercino {

class Database;

struct EsitoRipristino {
    bool riuscito = false;
    int righe = 0;                   // rows restored or merged
    QStringList codici;              // declarants replaced, in the order of the file
    QString copiaSicurezza;          // the safety copy written, if any
    QStringList erroriCampo;         // field messages already shown
    QString note;                    // notes of the safety copy
    QString errore;                  // what stopped the restore (nothing was changed)
};

// One line ready to be stored: a row of a declarant's table, or a code-table merge.
struct OperazioneRipristino {
    const Table* tabella = nullptr;  // nullptr: code-table line
    QVariantList valori;
    QString tipo, cod, des;
};

// What a checked file will do: the tables of declarants it holds, each with the
// declarants whose rows it replaces, in file order.
struct PianoRipristino {
    std::vector<std::pair<const Table*, QStringList>> sostituzioni;
    std::uint32_t impronta = 0;   // of the file as checked (LettoreBackup::Impronta)
};

// The line made ready to store; throws ErroreBackup when it cannot be restored. Field
// conversion failures go to `errori` (the row is still restored).
OperazioneRipristino OperazioneDaRiga(const RigaBackupLetta& riga, const QString& tipoDb,
                                      std::vector<ErroreCampoBackup>* errori = nullptr);

// Reads and checks every line of the file (throws ErroreBackup): nothing changes anywhere.
// The declarants go to esito.codici, the field messages to esito.erroriCampo and, one by
// one, to segnalaCampo. A file of more than `massimoSoggetti` declarants is refused.
// `prosegue` is called once per line.
PianoRipristino PreparaRipristino(LettoreBackup& lettore, const QString& tipoDb, EsitoRipristino& esito,
                                  const std::function<void(const QString&)>& segnalaCampo = {},
                                  int massimoSoggetti = MassimoSoggettiBackup,
                                  const std::function<void()>& prosegue = {});

class Ripristino {
public:
    Ripristino(Database& db, QString cartellaProgramma);

    bool cripta = true;              // safety copies scrambled (the window's "Cripta" box)
    QString tipoDb;                  // "S": zero dates stored as nulls
    std::function<QDateTime()> adesso = [] { return QDateTime::currentDateTime(); };
    std::function<void()> avanza;    // once per row restored
    // Called again and again while the restore works at something else than storing rows
    // (checking the file, writing the safety copy, looking up and deleting what it
    // replaces): after each line, row or batch of codes.
    std::function<void()> prosegue;
    // Shows one field message (the row is still restored).
    std::function<void(const QString&)> segnalaCampo;
    // The most declarants a file may hold (tests lower it).
    int massimoSoggetti = MassimoSoggettiBackup;

    EsitoRipristino Ripristina(const QString& percorso);

private:
    // The safety copy of the declarants of the file already stored; false when it fails.
    bool ScriviCopia(EsitoRipristino& esito);
    // Replaces and merges in one transaction, reading the file again (throws DbError,
    // having rolled back).
    void Applica(LettoreBackup& lettore, const PianoRipristino& piano, EsitoRipristino& esito);
    // The deletions and insertions inside that transaction.
    void Sostituisci(LettoreBackup& lettore, const PianoRipristino& piano, EsitoRipristino& esito);
    // The stored progressive of every declarant of the file, read before it is replaced.
    QHash<QString, int> ProgressiviRegistrati(const PianoRipristino& piano);
    // `istruzione` (its "%1" the placeholders) once per batch of `codici`; `ogni` sees the
    // rows of a query (none for a statement that returns none).
    void PerCodici(const QString& istruzione, const QStringList& codici, const std::vector<ColumnType>& tipi,
                   const std::function<void(const Row&)>& ogni);
    void Prosegui() const;
    // Keeps the stored progressive when the file's is lower.
    static void MantieniProgressivo(QVariantList& valori, const QHash<QString, int>& progressivi);

    Database& db_;
    QString cartella_;
};

// The message for the user when a restore stopped (the database is as it was).
QString MessaggioRipristinoFallito(const EsitoRipristino& esito);

} // namespace quercino
