#pragma once
// The independent oracles of written DatiFattura files, both through xmllint: validation
// against the Agency's schema (its path is set in one place, the top CMakeLists.txt) and
// XPath queries. Below the namespaced root the elements are unqualified, so plain paths
// work: XPath(f, "string(//CedentePrestatoreDTE//IdCodice)"), XPath(f, "count(//DTE)").
//
//   EXPECT_TRUE(quercino::test::ValidoPerSchema(percorso));

#include "support/stampa_qt.h"
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace quercino::test {

// The schema file xmllint validates against.
QString SchemaDatiFattura();

// Success when xmllint validates the file; otherwise xmllint's messages (a missing schema
// or xmllint is a failure too).
::testing::AssertionResult ValidoPerSchema(const QString& percorso);
// What a scenario step prints of a file: "valido per lo schema", or xmllint's messages.
QString EsitoSchema(const QString& percorso);
// Every file valid (and at least one given).
::testing::AssertionResult ValidoPerSchema(const QStringList& percorsi);

// xmllint's result of `espressione` on the file, trimmed ("<xmllint: ...>" on failure).
QString XPath(const QString& percorso, const QString& espressione);

} // namespace quercino::test
