#pragma once
// Golden files: long expected outputs (whole logs, message lists, written files) kept in a
// file beside the test that reads them. A golden file is made once by running the code
// (QUERCINO_UPDATE_GOLDEN=1 rewrites every golden file a test compares) and then checked
// by hand against what the program must do; a failure prints `diff -u golden got`.
//
//   EXPECT_GOLDEN(testoDelLog, "attesi/log_cartella.txt");   // beside this test file

#include "support/stampa_qt.h"
#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace quercino::test {

// The path of `nome` in the folder of the source file `sorgente` (pass __FILE__).
QString Accanto(const char* sorgente, const QString& nome);

// Success when `ottenuto` equals the golden file byte for byte.
::testing::AssertionResult UgualeAlGolden(const QByteArray& ottenuto, const QString& golden);

// A whole file's bytes (empty when it cannot be read), and a file written whole.
QByteArray LeggiFile(const QString& percorso);
bool ScriviFile(const QString& percorso, const QByteArray& byte);

} // namespace quercino::test

#define EXPECT_GOLDEN(ottenuto, nome) \
    EXPECT_TRUE(::quercino::test::UgualeAlGolden((ottenuto), ::quercino::test::Accanto(__FILE__, (nome))))
