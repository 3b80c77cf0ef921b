#include "declarants/import/LogImportazione.h"

#include "app/core/SalvataggioCompleto.h"
#include "platform/text/Windows1252.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

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
    if (file_)
        CompletaSalvataggio(*file_);
}

bool LogImportazione::Apri(const QString& fileInput, const QString& cartella)
{
    const QString percorso = cartella.isEmpty() ? percorso_ : QDir(cartella).filePath(NomeLog);
    const bool stessoFile = percorso == percorso_
        || (QFileInfo::exists(percorso) && QFileInfo(percorso).canonicalFilePath() == QFileInfo(percorso_).canonicalFilePath());
    const bool aperto = file_ != nullptr;
    if (stessoFile && aperto)
        return true;
    if (!stessoFile) {
        // What this selection reported so far goes along (it is all in contenuto_); the copy
        // an earlier closing of this selection left in the old folder goes. A log there from
        // an earlier selection stays.
        if (aperto)
            file_->cancelWriting();
        file_.reset();
        if (scritto_)
            QFile::remove(percorso_);
        scritto_ = false;
        percorso_ = percorso;
    }
    auto file = std::make_unique<QSaveFile>(percorso_);
    file->setDirectWriteFallback(false);
    errno = 0;
    if (!file->open(QIODevice::WriteOnly)) {
        errore_ = MotivoErroreScrittura(*file, errno);
        return false;
    }
    file->write(contenuto_);
    file_ = std::move(file);
    // Moved while open: it goes on where it was.
    if (aperto)
        return true;
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + fileInput);
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" "));
    return true;
}

void LogImportazione::Scrivi(const QString& riga)
{
    if (file_)
        ScriviGrezza(riga);
}

bool LogImportazione::Chiudi()
{
    if (!file_)
        return true;
    ScriviGrezza(Trattini);
    ScriviGrezza(QStringLiteral(" << FINE LOG IMPORTAZIONE >>"));
    ScriviGrezza(Trattini);
    errore_ = CompletaSalvataggio(*file_);
    file_.reset();
    scritto_ = scritto_ || errore_.isEmpty();
    return errore_.isEmpty();
}

void LogImportazione::ScriviGrezza(const QString& riga)
{
    std::vector<std::uint8_t> byte = encodeWindows1252(riga);
    byte.push_back('\r');
    byte.push_back('\n');
    const QByteArray linea(reinterpret_cast<const char*>(byte.data()), static_cast<qsizetype>(byte.size()));
    contenuto_ += linea;
    file_->write(linea);
}

} // namespace quercino::importazione
