#include "app/backup/ValoriRipristino.h"

#include "app/core/Date.h"
#include "platform/text/Trim.h"

#include <QDate>

#include <limits>

namespace quercino {

namespace {

// An empty text that is not null: the drivers store a null QString as NULL.
QString Testo(const QString& testo)
{
    return testo.isNull() ? QStringLiteral("") : testo;
}

QVariant ValoreVuoto(const Column& colonna, const QString& campo)
{
    switch (colonna.type) {
    case ColumnType::Text:
        return QVariant(Testo(campo));
    case ColumnType::SmallInt:
    case ColumnType::Integer:
        return QVariant(0);
    case ColumnType::Date:
        return QVariant(DataZero());
    }
    return QVariant(campo);
}

// The field converted to the column's type; on failure `errore` receives the reason.
QVariant Converti(const Column& colonna, const QString& campo, const QString& tipoDb, QString& errore)
{
    if (trimLeadingBlanks(campo).isEmpty())
        return ValoreVuoto(colonna, campo);
    const QString v = trimBlanks(campo);
    switch (colonna.type) {
    case ColumnType::Text:
        if (colonna.width > 0 && v.size() > colonna.width) {
            errore = QStringLiteral("Testo più lungo della colonna %1 (%2 caratteri)")
                         .arg(colonna.name)
                         .arg(colonna.width);
            return ValoreVuoto(colonna, QString());
        }
        return QVariant(Testo(v));
    case ColumnType::SmallInt:
    case ColumnType::Integer: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        const qlonglong minimo = colonna.type == ColumnType::SmallInt
                                     ? std::numeric_limits<qint16>::min()
                                     : std::numeric_limits<qint32>::min();
        const qlonglong massimo = colonna.type == ColumnType::SmallInt
                                      ? std::numeric_limits<qint16>::max()
                                      : std::numeric_limits<qint32>::max();
        if (!ok || n < minimo || n > massimo) {
            errore = QStringLiteral("Valore numerico non valido per la colonna %1").arg(colonna.name);
            return QVariant(0);
        }
        return QVariant(static_cast<int>(n));
    }
    case ColumnType::Date: {
        bool sbagliata = false;
        const QDate data = TestoInData(v, &sbagliata);
        if (sbagliata) {
            errore = MessaggioErroreData;
            return QVariant(DataZero());
        }
        if (EDataZero(data) && tipoDb == QLatin1String("S"))
            return QVariant(QMetaType::fromType<QDate>());
        return QVariant(data);
    }
    }
    return QVariant(Testo(v));
}

} // namespace

RigaRipristino ConvertiRiga(const Table& tabella, const QStringList& campi, const QString& tipoDb)
{
    RigaRipristino riga;
    const qsizetype colonne = static_cast<qsizetype>(tabella.columns.size());
    riga.valori.reserve(colonne);
    for (qsizetype c = 0; c < colonne; ++c) {
        const Column& colonna = tabella.columns[static_cast<std::size_t>(c)];
        const qsizetype indice = c + 2;
        if (indice >= campi.size()) {
            riga.valori << ValoreVuoto(colonna, QString());
            continue;
        }
        QString errore;
        riga.valori << Converti(colonna, campi[indice], tipoDb, errore);
        if (!errore.isEmpty())
            riga.errori.push_back({static_cast<int>(indice), campi[indice], errore});
    }
    for (qsizetype indice = colonne + 2; indice < campi.size(); ++indice)
        riga.errori.push_back({static_cast<int>(indice), campi[indice],
                               QStringLiteral("Elemento oltre l'ultima colonna della tabella")});
    return riga;
}

QString MessaggioErroreCampo(const QString& tabella, const ErroreCampoBackup& errore)
{
    const QString tipo = tabella == QLatin1String("CTANA") ? QStringLiteral("anagrafica: indice ")
                                                           : QStringLiteral("registrazione: indice ");
    return QStringLiteral("Errore: ") + tabella + QLatin1Char(' ') + tipo
           + QString::number(errore.indice) + QStringLiteral(" valore ") + errore.valore
           + QStringLiteral(" Errore: ") + errore.descrizione;
}

} // namespace quercino
