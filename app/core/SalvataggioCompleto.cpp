#include "app/core/SalvataggioCompleto.h"

#include <QSaveFile>

#include <cerrno>

namespace quercino {

QString MotivoErroreScrittura(const QFileDevice& file, int numeroErrore)
{
    if (numeroErrore == ENOSPC || numeroErrore == EDQUOT)
        return QStringLiteral("il disco è pieno");
    return file.errorString();
}

QString CompletaSalvataggio(QSaveFile& file)
{
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString motivo = MotivoErroreScrittura(file, errno);
        file.cancelWriting();
        return motivo;
    }
    if (!file.commit())
        return MotivoErroreScrittura(file, errno);
    return {};
}

} // namespace quercino
