#include "declarants/import/LogImportazione.h"

#include "platform/text/Windows1252.h"

#include <QDir>

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

bool LogImportazione::Apri(const QString& fileInput)
{
    if (file_.isOpen())
        return true;
    file_.setFileName(percorso_);
    const QIODevice::OpenMode modo = giaAperto_ ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate);
    if (!file_.open(modo))
        return false;
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
