// The CSV reader: quoting, line ends, separators, encodings and damaged files (the cases of
// casi/csv.tsv); here the files too large to write as a row.

#include "sheets_fixture.h"

#include "platform/sheets/CsvReader.h"
#include "platform/sheets/SheetError.h"
#include "support/casi.h"

#include <gtest/gtest.h>

#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;

namespace {

// The records of a file holding `contenuto`, numbered from 1 without gaps.
std::vector<std::vector<QString>> Leggi(const std::string& contenuto, const QString& separatore = QStringLiteral(";"),
                                        bool* utf8 = nullptr)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("prova.csv"));
    ScriviFile(percorso, contenuto);
    CsvReader lettore(percorso, separatore);
    if (utf8)
        *utf8 = lettore.Utf8();
    std::vector<std::vector<QString>> righe;
    SheetRow riga;
    while (lettore.Prossima(riga)) {
        righe.push_back(riga.Celle);
        EXPECT_EQ(riga.Numero, std::int32_t(righe.size()));
    }
    return righe;
}

QStringList Righe(const QStringList& a, bool utf8)
{
    bool letto = false;
    QStringList risultato;
    try {
        for (const auto& riga : Leggi(a[0].toLatin1().toStdString(), a[1], &letto))
            risultato << QStringList(riga.begin(), riga.end()).join(QChar(0xA6));
    } catch (const SheetError&) {
        return {QStringLiteral("errore")};
    }
    risultato.prepend(QString::number(risultato.size()));
    if (utf8)
        risultato.prepend(QString::number(letto));
    return risultato;
}

} // namespace

TEST(CsvReader, CasiDellaTabella)
{
    quercino::test::ControllaFunzioni(__FILE__, "casi/csv.tsv", {
        {"CSV", [](const QStringList& a) { return Righe(a, false); }},
        {"CSV utf8", [](const QStringList& a) { return Righe(a, true); }},
    });
}

TEST(CsvReader, LargeFiles)
{
    bool utf8 = false;
    // One invalid byte far into a UTF-8-looking file makes the whole file Windows-1252.
    std::string lungo;
    for (int i = 0; i < 20000; ++i)
        lungo += "Citt\xC3\xA0;x\n";
    const auto righe = Leggi(lungo + "\xE0\n", QStringLiteral(";"), &utf8);
    EXPECT_FALSE(utf8);
    ASSERT_EQ(righe.size(), 20001u);
    EXPECT_EQ(righe[0][0], QString::fromUtf8("CittÃ\u00A0"));
    EXPECT_EQ(righe[20000][0], QString::fromUtf8("à"));
    // A multi-byte character cut by the reader's chunk boundary stays whole.
    const auto confine = Leggi(std::string(65535, 'a') + "\xC3\xA0\n", QStringLiteral(";"), &utf8);
    EXPECT_TRUE(utf8);
    ASSERT_EQ(confine.size(), 1u);
    EXPECT_EQ(confine[0][0], QString(65535, QLatin1Char('a')) + QString::fromUtf8("à"));
    // A quoted field that never closes in a large file is refused, not read into memory whole.
    EXPECT_THROW(Leggi("\"" + std::string(3 << 20, 'x')), SheetError);
    EXPECT_THROW(CsvReader(QStringLiteral("/nessuna/cartella/file.csv"), QStringLiteral(";")), SheetError);
}

TEST(CsvReader, RandomBytesNeverCrash)
{
    // Any bytes: records or a message, never a crash (the sanitizer build runs this too).
    std::mt19937 rnd(11);
    const char alfabeto[] = {'a', ';', '"', '\r', '\n', ',', '\xE0', '\xC3', '\xA0', '\0', 'x'};
    int lette = 0;
    int rifiutate = 0;
    for (int prova = 0; prova < 200; ++prova) {
        std::string dati(rnd() % 400, ' ');
        for (char& c : dati)
            c = alfabeto[rnd() % sizeof alfabeto];
        try {
            const auto righe = Leggi(dati, prova % 2 ? QStringLiteral(";") : QStringLiteral(";;"));
            for (const auto& r : righe)
                EXPECT_FALSE(r.empty());
            ++lette;
        } catch (const SheetError&) {
            ++rifiutate;
        }
    }
    EXPECT_EQ(lette + rifiutate, 200);
    EXPECT_GT(lette, 0);
}
