#include "app/core/ContaRecord.h"

#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"

namespace quercino {
namespace {

// Only the program's own tables may be named in the statement.
const Table* tabellaDelloSchema(const QString& nome)
{
    for (const Table* tabella : schema::tabelle()) {
        if (tabella->name.compare(nome.trimmed(), Qt::CaseInsensitive) == 0)
            return tabella;
    }
    return nullptr;
}

} // namespace

std::int32_t ContaRecord(const QString& tabella, const QString& codice)
{
    try {
        const Table* t = tabellaDelloSchema(tabella);
        if (!t || !Cnn)
            return 0;
        QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + t->name;
        QVariantList valori;
        if (!codice.isEmpty()) {
            t->index(QStringLiteral("OCOD"));  // throws when the table has no declarant code
            sql += QStringLiteral(" WHERE OCOD = ?");
            valori.append(codice);
        }
        const auto conta = Cnn->scalar(sql, valori, ColumnType::Integer);
        return conta ? conta->toInt() : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace quercino
