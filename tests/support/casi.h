#pragma once
// Tables of cases kept in text files beside the tests (rows are data, not code): one case a
// line, fields separated by tabs; lines starting with "#" and blank lines are skipped.
// Within a field: \t \r \n \0 \\, \s for a blank (at a field's ends, where editors would
// drop it), \xHH for the character U+00HH (a byte of the Windows-1252 files), \uHHHH.
//
//   for (const test::Caso& c : test::Casi(__FILE__, "casi/date.tsv"))
//       EXPECT_EQ(InvertiData(c[0]), c[1]) << c;
//
// A table of functions: each row names one, gives its arguments, then "=>" and the results
// (empty ones at the line's end may be left out); every function of the map must be used by
// some row. QUERCINO_UPDATE_GOLDEN=1 writes the results in the file: check them by hand.
//
//   # Zeri(valore, larghezza) => risultato, valore dopo
//   Zeri	7	5	=>	00007	7
//
//   test::ControllaFunzioni(__FILE__, "casi/testi.tsv", {
//       {"Zeri", [](const QStringList& a) { QString v = a[0]; return QStringList{Zeri(v, a[1].toInt()), v}; }},
//   });

#include "support/stampa_qt.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <ostream>
#include <vector>

namespace quercino::test {

struct Caso {
    QStringList campi;
    QString dove;  // "file:line", for failure messages
    qsizetype linea = 0;

    QString operator[](qsizetype i) const { return campi.value(i); }
};

inline std::ostream& operator<<(std::ostream& os, const Caso& caso)
{
    return os << caso.dove.toStdString() << ": " << caso.campi.join(QLatin1Char('|')).toStdString();
}

// A field's text with the escapes above resolved, and a text written back in that form.
QString Decodifica(const QString& campo);
QString Codifica(const QString& testo);

// The rows of the table file `nome` in the folder of `sorgente` (pass __FILE__); a missing
// or empty table fails the calling test.
std::vector<Caso> Casi(const char* sorgente, const QString& nome);

using Funzione = std::function<QStringList(const QStringList& argomenti)>;
void ControllaFunzioni(const char* sorgente, const QString& nome, const std::map<QString, Funzione>& funzioni);

} // namespace quercino::test
