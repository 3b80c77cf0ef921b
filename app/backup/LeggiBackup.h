#pragma once
// Reading a backup file: its lines (ended by CR LF, LF or a lone CR, as files edited on
// other systems have them), decoded from Windows-1252, unscrambled when the first line
// says so, split into items: item 0 is the empty text before the first separator, item 1
// the table name, items 2 and on the values. The file is read a block at a time and
// split one line at a time, so its size costs no memory.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace quercino {

// Far beyond the longest line of the program's tables.
inline constexpr qsizetype LunghezzaMassimaRigaBackup = 64 * 1024;
// Bytes read from the file at a time.
inline constexpr qint64 BloccoLetturaBackup = 256 * 1024;

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

// The name of the declarant of a COPE line's items: the company name, or for a natural
// person, who has none, surname and first name.
QString NomeSoggettoBackup(const QStringList& campi);

// The first line, decoded from the file's bytes, when it is a declarant line (plain or
// scrambled) with at least a code and a name; otherwise ErroreBackup(MessaggioNonBackup).
IntestazioneBackup ControllaPrimaRiga(const QString& riga);

// The lines of a backup, one at a time, blank lines left out.
class LettoreBackup {
public:
    // The file, when it is at most DimensioneMassimaBackup() bytes, its first line tested
    // (only that line is read here); throws ErroreBackup when the file cannot be read or
    // is empty, oversized or not a backup.
    static LettoreBackup DaFile(const QString& percorso);
    explicit LettoreBackup(QByteArray byte);

    const IntestazioneBackup& Intestazione() const { return intestazione_; }
    // The next line; false at the end. Throws ErroreBackup for a line longer than
    // LunghezzaMassimaRigaBackup or with more items than any of the program's tables has,
    // for a last line without its line end (a file cut short), and when the file can no
    // longer be read.
    bool Prossima(RigaBackupLetta& riga);
    // Back to the first line, for a second pass.
    void Riavvolgi();
    // The CRC-32 of the bytes read since the first line: the same after two whole passes
    // when no other program wrote the file in between.
    std::uint32_t Impronta() const { return impronta_; }

private:
    struct RigaGrezza {
        QString testo;            // blank or not
        bool terminata = false;   // its line end is there
        bool troppoLunga = false; // longer than LunghezzaMassimaRigaBackup: not read
    };

    explicit LettoreBackup(std::unique_ptr<QIODevice> dispositivo);
    // The next line; false at the end.
    bool ProssimaGrezza(RigaGrezza& riga);
    // More bytes of the file into the buffer, those already taken dropped.
    void Riempi();

    std::unique_ptr<QIODevice> dispositivo_;
    QByteArray buffer_;
    qsizetype posizione_ = 0;
    bool fineFile_ = false;
    bool lineFeedVisto_ = false;
    int numero_ = 0;
    std::uint32_t impronta_ = 0;
    IntestazioneBackup intestazione_;
};

struct FileBackupLetto {
    IntestazioneBackup intestazione;
    std::vector<RigaBackupLetta> righe;
};

// Every line of a small file at once (safety copies and tests); throws ErroreBackup.
FileBackupLetto LeggiFileBackup(const QString& percorso);

} // namespace quercino
