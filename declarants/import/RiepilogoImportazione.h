#pragma once
// The summary of one input file: what the log receives at its end and what the final
// dialog shows. It counts the files actually written, names them, and says where a
// stopped import stopped.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace quercino::importazione {

// One part of an input file: the issued invoices (first sheet, or a CSV file of issued
// invoices) or the received ones.
struct ParteImportata {
    std::int32_t Righe = 0;         // data rows read, rejected ones included
    QStringList File;               // names (without folder) of the files written, in order
    std::int32_t InterrottaAllaRiga = 0;   // the row at which the user stopped it, 0 if not
};

struct DatiRiepilogo {
    QString CodiceFiscale;          // the declarant's tax code
    QString Nome;                   // the declarant's display name
    std::int32_t Clienti = 0;
    std::int32_t Fornitori = 0;
    ParteImportata Emesse;
    ParteImportata Ricevute;
};

// The dialog's title: it says whether any file was written.
inline const QString TitoloFileCreati = QStringLiteral("File XML creato");
inline const QString TitoloNessunFile = QStringLiteral("Nessun file XML creato");

struct Riepilogo {
    QStringList RigheLog;           // appended to the log, in order
    QString Titolo;                 // the dialog's title
    QString Testo;                  // the dialog's text
};

Riepilogo ComponiRiepilogo(const DatiRiepilogo& dati);

} // namespace quercino::importazione
