#include "app/core/LeggiIni.h"

#include "app/core/Globals.h"
#include "platform/ini/ProfileFile.h"

namespace quercino {

QString LeggiIni(const QString& sezione, const QString& chiave)
{
    // The connection string needs more room than any other value.
    const bool stringaConnessione =
        chiave.trimmed().compare(QStringLiteral("StrConn"), Qt::CaseInsensitive) == 0;
    return readProfileValue(PathIni, sezione, chiave,
                            stringaConnessione ? LunghezzaMassimaStrConn : LunghezzaMassimaIni);
}

} // namespace quercino
