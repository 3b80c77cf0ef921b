#pragma once
// Reading a backup file: its lines (ended by CR LF, LF or a lone CR, as files edited on
// other systems have them), decoded from Windows-1252, unscrambled when the first line
// says so, split into items: item 0 is the empty text before the first separator, item 1
// the table name, items 2 and on the values.

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace quercino {

// What a backup reader could not accept; the text is the message for the user.
class ErroreBackup : public std::runtime_error {
public:
    explicit ErroreBackup(const QString& messaggio);
    const QString& messaggio() const { return messaggio_; }

private:
    QString messaggio_;
};

inline const QString MessaggioNonBackup =
    QStringLiteral("Il file indicato non è un file di backUp di VEKO. Operazione annullata");

struct RigaBackupLetta {
    int numero = 0;        // line number in the file, from 1
    QStringList campi;     // items as above
};

// What the first line tells: whose data the file holds and how it is written.
struct IntestazioneBackup {
    bool criptato = false;
    QString codice;        // item 2 without leading and trailing blanks
    QString nome;          // item 3; for a natural person, surname and first name
};

// The first line, decoded from the file's bytes, when it is a declarant line (plain or
// scrambled) with at least a code and a name; otherwise ErroreBackup(MessaggioNonBackup).
IntestazioneBackup ControllaPrimaRiga(const QString& riga);

// The first line of the file tested as above (the window's check before a restore).
// An unreadable or empty file is not a backup either.
IntestazioneBackup ControllaFileBackup(const QString& percorso);

struct FileBackupLetto {
    IntestazioneBackup intestazione;
    std::vector<RigaBackupLetta> righe;   // blank lines left out
};

// The whole file, checked as above and decoded; throws ErroreBackup.
FileBackupLetto LeggiFileBackup(const QString& percorso);

// The lines of a file's bytes (without their ends), decoded from Windows-1252.
QStringList RigheDaByte(const QByteArray& byte);

} // namespace quercino
