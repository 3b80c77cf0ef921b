#include "app/widgets/RicercaTabelle.h"

#include "platform/db/Database.h"

namespace quercino {

QString TitoloRicerca(const QString& tipo)
{
    if (tipo == QLatin1String("PAESE"))
        return QStringLiteral("Ricerca Elenco PAESI");
    if (tipo == QLatin1String("DIVISA"))
        return QStringLiteral("Ricerca Elenco DIVISE");
    if (tipo == QLatin1String("CARICA"))
        return QStringLiteral("Ricerca Elenco CODICI DI CARICA");
    return QStringLiteral(" Ricerca ") + tipo;
}

QString OrdineValido(const QString& ordine)
{
    return ordine.trimmed().compare(QLatin1String("COD"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("COD")
               : QStringLiteral("DES");
}

std::vector<VoceTabella> CaricaVoci(Database& db, const QString& tipo, const QString& ordine,
                                    const QString& cerca)
{
    QString sql = QStringLiteral("SELECT COD, DES FROM CTAB WHERE TIPO = ?");
    QVariantList valori{tipo};
    if (!cerca.isEmpty()) {
        sql += QStringLiteral(" AND (") + Database::likeInsensitive(QStringLiteral("COD"))
               + QStringLiteral(" OR ") + Database::likeInsensitive(QStringLiteral("DES"))
               + QStringLiteral(")");
        const QString modello = Database::likeContains(cerca);
        valori << modello << modello;
    }
    const QString colonna = OrdineValido(ordine);
    sql += QStringLiteral(" ORDER BY ") + colonna
           + (colonna == QLatin1String("COD") ? QStringLiteral(", DES") : QStringLiteral(", COD"));

    std::vector<VoceTabella> voci;
    for (const Row& riga : db.query(sql, valori, {ColumnType::Text, ColumnType::Text}))
        voci.push_back({riga.text(0), riga.text(1)});
    return voci;
}

} // namespace quercino
