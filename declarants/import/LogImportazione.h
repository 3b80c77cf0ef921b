#pragma once
// LOG_IMPORTAZIONE.TXT: the rejected rows and the summary of each input file, as
// Windows-1252 text with CR LF line ends, in the folder of the output files. One log serves
// a whole selection of input files: the first opening of the selection replaces an older
// log, every later one (another input file, or the same file after a Cancel closed the log)
// adds to what the selection wrote, so nothing reported is lost. Rows can be refused before
// the first output file is chosen: when the log is opened again for another folder, it
// moves there with what it holds. The file is written whole at each closing, or not at
// all: a full disk leaves the earlier log as it was.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace quercino::importazione {

inline const QString NomeLog = QStringLiteral("LOG_IMPORTAZIONE.TXT");

class LogImportazione {
public:
    // The log in `cartella` until it is opened for another folder.
    explicit LogImportazione(const QString& cartella);
    // A log still open is completed as it stands.
    ~LogImportazione();

    const QString& Percorso() const { return percorso_; }
    bool Aperto() const { return file_ != nullptr; }

    // ApriLog, in `cartella` (empty: where the log is): the banner naming `fileInput`. An open
    // log asked for another folder moves there and stays open. Returns false when the file
    // cannot be written.
    bool Apri(const QString& fileInput, const QString& cartella = QString());
    // Appends one line to the open log.
    void Scrivi(const QString& riga);
    // ChiudiLog: the closing lines, then the file takes its name. False when it could not
    // be written; Errore() tells why.
    bool Chiudi();
    const QString& Errore() const { return errore_; }

private:
    void ScriviGrezza(const QString& riga);

    QString percorso_;
    std::unique_ptr<QSaveFile> file_;
    QByteArray contenuto_;   // everything this selection has written, rewritten at each opening
    bool scritto_ = false;   // a closing of this selection wrote percorso_
    QString errore_;
};

} // namespace quercino::importazione
