#include "app/core/NuovoCodiceOpe.h"

#include "app/core/Globals.h"
#include "app/core/Zeri.h"
#include "platform/db/Database.h"
#include "platform/text/Trim.h"

#include <algorithm>

namespace quercino {

QString NuovoCodiceOpe(Database& db)
{
    // Read every code and compare numbers here: the database orders texts ("100" < "99")
    // and has no portable test for "all digits".
    // A code may also be the declarant's tax code: eleven digits or more are such a code
    // (a company's), not a progressive to count on from.
    constexpr qsizetype CifreCodiceFiscale = 11;
    qulonglong massimo = 0;
    for (const Row& riga : db.query(QStringLiteral("SELECT OCOD FROM COPE"), {}, {ColumnType::Text})) {
        const QString codice = trimBlanks(riga.text(0));
        if (codice.isEmpty() || codice.size() >= CifreCodiceFiscale)
            continue;
        bool soloCifre = true;
        for (QChar c : codice)
            soloCifre = soloCifre && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (soloCifre)
            massimo = std::max(massimo, codice.toULongLong());
    }
    return Zeri(static_cast<std::int64_t>(massimo + 1), 2);
}

QString NuovoCodiceOpe()
{
    if (Cnn == nullptr)
        throw DbError(0, QStringLiteral("Connessione al database non aperta"));
    return NuovoCodiceOpe(*Cnn);
}

} // namespace quercino
