#pragma once
// Scenario files: a test's steps and what each printed, in one text file beside the test,
// read like a terminal session. A line "> verbo argomenti" is a step; the lines "< ..."
// right below it are its input (`Dati()`, an input file's lines, say); the lines "| ..."
// are what it printed; any other line (comment, blank) is kept as it is. The test
// runs every step with its verb and compares the whole file with the one it would write
// now, so what the steps print is checked by hand once and then pinned
// (QUERCINO_UPDATE_GOLDEN=1 rewrites the "|" lines; a failure prints the diff).
//
//   Scenario s;
//   s.verbi["somma"] = [&](const QString& a) { s.Stampa(QString::number(Somma(a))); };
//   EXPECT_SCENARIO(s, "scenari/somme.txt");     // "> somma 1 2" followed by "| 3"

#include "support/golden.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace quercino::test {

class Scenario {
public:
    using Verbo = std::function<void(const QString& argomenti)>;

    std::map<QString, Verbo> verbi;
    // Run after every step, for what each step may show (messages, say).
    std::function<void()> dopoOgniPasso;
    // Replaced in every output line: a temporary folder by "<cartella>", a source line by "N".
    std::vector<std::pair<QRegularExpression, QString>> sostituzioni;
    void Sostituisci(const QString& testo, const QString& con);   // a literal text

    // The input lines of the step running, without their "< " (a line "<" is empty).
    const QStringList& Dati() const { return dati_; }

    // Adds output lines of the step running (a text with line breaks gives several).
    void Stampa(const QString& testo);
    void Stampa(const QStringList& righe);

    // The file with every step run again and its output lines replaced.
    QByteArray Esegui(const QString& file);

private:
    QStringList dati_;
    QStringList uscita_;
};

// The blank-separated words of the arguments; with `n`, the first n words (one blank apart)
// and then the rest of the line as it stands, blanks included.
QStringList Parole(const QString& argomenti);
QStringList Parole(const QString& argomenti, int n);

} // namespace quercino::test

#define EXPECT_SCENARIO(scenario, nome)                                                        \
    do {                                                                                       \
        const QString file_ = ::quercino::test::Accanto(__FILE__, (nome));                     \
        EXPECT_TRUE(::quercino::test::UgualeAlGolden((scenario).Esegui(file_), file_));        \
    } while (false)

// One test case per scenario file scenari/NAME.txt beside the test, named after it, run on
// a fixture (a TestWithParam<const char*>) whose Scenario member is `s` and holds its verbs:
//   QUERCINO_SCENARI(Registro, ScenariRegistro, "finestra", "modifiche");
#define QUERCINO_SCENARI(prefisso, fixture, ...)                                               \
    TEST_P(fixture, Passi)                                                                     \
    {                                                                                          \
        EXPECT_SCENARIO(s, QStringLiteral("scenari/%1.txt").arg(GetParam()));                   \
    }                                                                                          \
    INSTANTIATE_TEST_SUITE_P(prefisso, fixture, ::testing::Values(__VA_ARGS__),                \
                             [](const auto& info) { return std::string(info.param); })
