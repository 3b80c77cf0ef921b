#pragma once
// The values of one backup line turned into a row of its table, column by column in the
// table's order. An empty field gives the empty text to a text column and 0 to any other
// (the zero date to a date column), because the registry expects text where a null would
// be; so do fields missing at the end (the restore refuses such lines before converting
// them). A field that cannot be converted, or an item beyond the last column, is reported
// and its column gets the same empty value; the row is still restored.

#include "platform/db/Table.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace quercino {

struct ErroreCampoBackup {
    int indice = 0;          // item number: the first value is item 2
    QString valore;          // the item as read
    QString descrizione;     // why it was refused
};

struct RigaRipristino {
    QVariantList valori;                    // one per column of the table
    std::vector<ErroreCampoBackup> errori;
};

// `campi`: the items of the line (item 0 empty, item 1 the table name). `tipoDb` "S"
// (client/server) stores a date field that reads as the zero date as a null.
RigaRipristino ConvertiRiga(const Table& tabella, const QStringList& campi, const QString& tipoDb);

// "Errore: " + table + " registrazione: indice " + i + " valore " + item + " Errore: " +
// description ("anagrafica: indice " for the table CTANA).
QString MessaggioErroreCampo(const QString& tabella, const ErroreCampoBackup& errore);

} // namespace quercino
