#pragma once
// Reading a backup file: its lines (ended by CR LF, LF or a lone CR, as files edited on
// other systems have them), decoded from Windows-1252, unscrambled when the first line
// says so, split into items: item 0 is the empty text before the first separator, item 1
// the table name, items 2 and on the values. Lines are split one at a time as they are
// read, so a file costs little more memory than its own size.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace quercino {

// A backup holds about a hundred bytes a declarant: room for over a hundred thousand of
// them. A bigger file is refused before it is read.
inline constexpr qint64 DimensioneMassimaBackup = qint64{16} << 20;
// Far beyond the longest line of the program's tables.
inline constexpr qsizetype LunghezzaMassimaRigaBackup = 64 * 1024;

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

// ErroreBackup("Riga n del file: " + motivo).
[[noreturn]] void RifiutaRigaBackup(int numeroRiga, const QString& motivo);

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

// The first line of the file tested as above (the window's check before a restore); only
// that line is read. An unreadable, empty or oversized file is not a backup either.
IntestazioneBackup ControllaFileBackup(const QString& percorso);

// The lines of a backup, one at a time, blank lines left out.
class LettoreBackup {
public:
    // The file's bytes, up to DimensioneMassimaBackup; throws ErroreBackup when the file
    // cannot be read or its first line is not a backup's.
    static LettoreBackup DaFile(const QString& percorso);
    explicit LettoreBackup(QByteArray byte);

    const IntestazioneBackup& Intestazione() const { return intestazione_; }
    // The next line; false at the end. Throws ErroreBackup for a line longer than
    // LunghezzaMassimaRigaBackup or with more items than any of the program's tables has.
    bool Prossima(RigaBackupLetta& riga);
    // Back to the first line, for a second pass.
    void Riavvolgi();

private:
    // The next line's text and its number, blank or not; false at the end.
    bool ProssimaGrezza(QString& testo);

    QByteArray byte_;
    qsizetype posizione_ = 0;
    int numero_ = 0;
    IntestazioneBackup intestazione_;
};

struct FileBackupLetto {
    IntestazioneBackup intestazione;
    std::vector<RigaBackupLetta> righe;
};

// Every line of a small file at once (safety copies and tests); throws ErroreBackup.
FileBackupLetto LeggiFileBackup(const QString& percorso);

} // namespace quercino
