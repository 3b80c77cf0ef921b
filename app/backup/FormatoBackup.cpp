#include "app/backup/FormatoBackup.h"

#include "app/core/Date.h"
#include "platform/text/Trim.h"

namespace quercino {

QString SenzaSeparatori(const QString& testo)
{
    QString pulito = testo;
    for (QChar& c : pulito) {
        if (c == SeparatoreBackup || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return pulito;
}

QString ValoreBackup(const QVariant& valore, ColumnType tipo)
{
    if (!valore.isValid() || valore.isNull())
        return QString();
    switch (tipo) {
    case ColumnType::Text:
        return trimBlanks(SenzaSeparatori(valore.toString()));
    case ColumnType::SmallInt:
    case ColumnType::Integer:
        return QString::number(valore.toLongLong());
    case ColumnType::Date:
        return DataItaliana(valore.toDate());
    }
    return QString();
}

QString RigaBackup(const Table& tabella, const Row& riga)
{
    QString linea = SeparatoreBackup + tabella.name;
    for (std::size_t i = 0; i < tabella.columns.size(); ++i) {
        const int colonna = static_cast<int>(i);
        linea += SeparatoreBackup;
        if (colonna < riga.size())
            linea += ValoreBackup(riga.value(colonna), tabella.columns[i].type);
    }
    return linea;
}

} // namespace quercino
