#include "declarants/import/LogImportazione.h"

#include "platform/text/Windows1252.h"

#include <QDir>
#include <QFileInfo>

namespace quercino::importazione {

namespace {

const QString Trattini(100, QLatin1Char('-'));

} // namespace

LogImportazione::LogImportazione(const QString& cartella)
    : percorso_(QDir(cartella).filePath(NomeLog))
{
}

LogImportazione::~LogImportazione()
{
    if (file_.isOpen())
        file_.close();
}

bool LogImportazione::Apri(const QString& fileInput, const QString& cartella)
{
    const QString percorso = cartella.isEmpty() ? percorso_ : QDir(cartella).filePath(NomeLog);
    const bool stessoFile = percorso == percorso_
        || (QFileInfo::exists(percorso) && QFileInfo(percorso).canonicalFilePath() == QFileInfo(percorso_).canonicalFilePath());
    const bool aperto = file_.isOpen();
    if (stessoFile && aperto)
        return true;
    if (!stessoFile) {
        // What this selection reported so far goes along; a log left there by an earlier
        // selection is replaced, as the first opening replaces it. Should the move fail, the
        // new log begins afresh and the old one stays where it was.
        if (aperto)
            file_.close();
        giaAperto_ = giaAperto_ && (!QFileInfo::exists(percorso) || QFile::remove(percorso))
                     && QFile::rename(percorso_, percorso);
        percorso_ = percorso;
    }
    file_.setFileName(percorso_);
    const QIODevice::OpenMode modo = giaAperto_ ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate);
    if (!file_.open(modo))
        return false;
    // Moved while open: it goes on where it was.
    if (aperto && giaAperto_)
        return true;
    giaAperto_ = true;
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + fileInput);
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" "));
    return true;
}

void LogImportazione::Scrivi(const QString& riga)
{
    if (file_.isOpen())
        ScriviGrezza(riga);
}

void LogImportazione::Chiudi()
{
    if (!file_.isOpen())
        return;
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" << FINE LOG IMPORTAZIONE >>"));
    ScriviGrezza(Trattini);
    file_.close();
}

void LogImportazione::ScriviGrezza(const QString& riga)
{
    std::vector<std::uint8_t> byte = encodeWindows1252(riga);
    byte.push_back('\r');
    byte.push_back('\n');
    file_.write(reinterpret_cast<const char*>(byte.data()), static_cast<qint64>(byte.size()));
}

} // namespace quercino::importazione
