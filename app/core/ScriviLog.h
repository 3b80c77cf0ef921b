#pragma once
// The debug log (LOG_VEKO.TXT in the maker's folder of the public profile), written only
// when debugging is on ("debug=1" in configurazione.ini). Lines are Windows-1252 with CR LF.

#include <QDate>
#include <QString>

#include <stdexcept>

namespace quercino {

// The log's path below a public folder.
QString PercorsoLogDebug(const QString& cartellaPubblica);

// A folder or file of the log that cannot be made: a permission or I/O failure.
class ErroreLogDebug : public std::runtime_error {
public:
    explicit ErroreLogDebug(const QString& descrizione)
        : std::runtime_error(descrizione.toStdString()), descrizione_(descrizione) {}
    const QString& descrizione() const { return descrizione_; }

private:
    QString descrizione_;
};

// Creates the log anew at `percorso` with the one line "DATA ELABORAZIONE: " and the date
// (dd/mm/yyyy); the folders above it are created first. Throws ErroreLogDebug.
void CreaLogDebug(const QString& percorso, const QDate& oggi);

// When debugging is on (`DebugMode` = "1"), appends the text as one line to `PathLog`;
// otherwise does nothing. Failures are not reported.
void ScriviLog(const QString& testo);

} // namespace quercino
