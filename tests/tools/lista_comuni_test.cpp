// The reader of the towns list (cases in casi/lista_comuni.tsv): both quoting styles, and
// a changed format refused with the line that broke it rather than a shorter table.
#include "tools/genera_database/ListaComuni.h"

#include "support/casi.h"
#include "support/golden.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

using quercino::genera::leggiListaComuni;

TEST(ListaComuni, CasiDellaTabella)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("lista-comuni.js"));
    quercino::test::ControllaFunzioni(__FILE__, "casi/lista_comuni.tsv", {
        {"Lista", [&percorso](const QStringList& a) {
             EXPECT_TRUE(quercino::test::ScriviFile(percorso, a[0].toUtf8()));
             QStringList voci;
             try {
                 for (const auto& v : leggiListaComuni(percorso))
                     voci << QStringList{v.codice, v.provincia, v.nome, QString::number(v.attivo)}.join('|');
             } catch (const std::runtime_error& e) {
                 std::smatch dove;
                 const std::string messaggio = e.what();
                 const bool riga = std::regex_search(messaggio, dove, std::regex(":\\d+:"));
                 return QStringList{"errore " + QString::fromStdString(riga ? dove.str() : messaggio)};
             }
             return voci;
         }},
    });
    EXPECT_THROW(leggiListaComuni(dir.filePath(QStringLiteral("mancante.js"))), std::runtime_error);
}
