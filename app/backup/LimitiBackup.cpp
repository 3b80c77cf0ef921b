#include "app/backup/LimitiBackup.h"

#include "app/core/Schema.h"

#include <QLocale>

namespace quercino {

namespace {

// The longest value of a column as the file holds it: "-32768", "-2147483648", dd/mm/yyyy.
qint64 LunghezzaValore(const Column& colonna)
{
    switch (colonna.type) {
    case ColumnType::Text:
        return colonna.width;
    case ColumnType::SmallInt:
        return 6;
    case ColumnType::Integer:
        return 11;
    case ColumnType::Date:
        return 10;
    }
    return 0;
}

} // namespace

qint64 LunghezzaMassimaRiga(const Table& tabella)
{
    qint64 lunghezza = 1 + tabella.name.size() + 2;
    for (const Column& colonna : tabella.columns)
        lunghezza += 1 + LunghezzaValore(colonna);
    return lunghezza;
}

qint64 DimensioneMassimaBackup()
{
    static const qint64 dimensione = MassimoSoggettiBackup * LunghezzaMassimaRiga(schema::COPE())
                                     + MassimoRigheCodiciBackup * LunghezzaMassimaRiga(schema::CTAB());
    return dimensione;
}

QString OltreMassimoSoggetti(int massimo)
{
    return QStringLiteral("più soggetti obbligati dei %1 che un file di backUp può contenere")
        .arg(QLocale(QLocale::Italian).toString(massimo));
}

QString Segnaposti(qsizetype n)
{
    QString segni;
    segni.reserve(n * 3);
    for (qsizetype i = 0; i < n; ++i)
        segni += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
    return segni;
}

} // namespace quercino
