#pragma once
// One output file, written through a buffer to a temporary file in the same folder and
// renamed to its final name only when it is complete: a file is never left half-written
// under its final name, and a file abandoned midway leaves nothing behind. A complete file
// can wait for its rename (Termina, then Conferma): until then a file of the same name is
// untouched, and dropping the complete file leaves it so.

#include <QSaveFile>
#include <QString>

#include <memory>
#include <string>

namespace quercino::datifattura {

class FileUscita {
public:
    // Creates the temporary file; throws ErroreDatiFattura when it cannot.
    explicit FileUscita(const QString& percorso);
    ~FileUscita();  // without Completa, the temporary file is removed
    FileUscita(const FileUscita&) = delete;
    FileUscita& operator=(const FileUscita&) = delete;

    // The buffer to append lines to; Scarica writes it out once it is large.
    std::string& Buffer() { return buffer_; }
    void Scarica();
    // Bytes of the file so far, buffered ones included.
    qint64 Dimensione() const { return scritti_ + static_cast<qint64>(buffer_.size()); }
    const QString& Percorso() const { return percorso_; }

    // Writes what is left and gives the file its final name (replacing a file there);
    // throws ErroreDatiFattura when it cannot. The same as Termina, then Conferma.
    void Completa();
    // Writes what is left and checks that it was written; the file then waits, complete and
    // without its buffer, for Conferma. Throws ErroreDatiFattura (and drops the file) when
    // it cannot.
    void Termina();
    // Gives a file that Termina completed its final name, replacing a file there; throws
    // ErroreDatiFattura (and drops the file) when it cannot.
    void Conferma();

private:
    void Scrivi();

    QString percorso_;
    std::unique_ptr<QSaveFile> file_;
    std::string buffer_;
    qint64 scritti_ = 0;
};

} // namespace quercino::datifattura
