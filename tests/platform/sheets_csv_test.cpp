// The CSV reader: quoting, line ends, encodings and damaged files. Expected fields are
// written by hand from the quoting rules of RFC 4180.

#include "sheets_fixture.h"

#include "platform/sheets/CsvReader.h"
#include "platform/sheets/SheetError.h"

#include <gtest/gtest.h>

#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;

namespace {

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
    std::int32_t attesa = 0;
    while (lettore.Prossima(riga)) {
        EXPECT_EQ(riga.Numero, ++attesa);
        righe.push_back(riga.Celle);
    }
    return righe;
}

using Righe = std::vector<std::vector<QString>>;

QString U(const char* s) { return QString::fromUtf8(s); }

} // namespace

TEST(CsvReader, EveryLineEndReadsTheSameRecords)
{
    const Righe attese = {{U("a"), U("b")}, {U("c"), U("")}, {U(""), U("d")}};
    for (const char* fine : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::Message() << "fine riga " << static_cast<int>(fine[0]));
        const std::string f = fine;
        EXPECT_EQ(Leggi("a;b" + f + "c;" + f + ";d" + f), attese);
        EXPECT_EQ(Leggi("a;b" + f + "c;" + f + ";d"), attese);   // no end after the last line
    }
    // Mixed ends in one file.
    EXPECT_EQ(Leggi("a;b\r\nc;\n;d\r"), attese);
    // An empty line is a record with one empty field: the import stops there.
    EXPECT_EQ(Leggi("a\n\nb\n"), (Righe{{U("a")}, {U("")}, {U("b")}}));
}

TEST(CsvReader, QuotedFieldsFollowTheUsualRules)
{
    EXPECT_EQ(Leggi("\"FATTURE EMESSE\";\"x\"\r\n"), (Righe{{U("FATTURE EMESSE"), U("x")}}));
    EXPECT_EQ(Leggi("\"Rossi; Bianchi\";2\r\n"), (Righe{{U("Rossi; Bianchi"), U("2")}}));
    EXPECT_EQ(Leggi("\"Via \"\"Roma\"\"\";1\n"), (Righe{{U("Via \"Roma\""), U("1")}}));
    EXPECT_EQ(Leggi("\"due\r\nrighe\";3\r\n4;5\r\n"), (Righe{{U("due\r\nrighe"), U("3")}, {U("4"), U("5")}}));
    EXPECT_EQ(Leggi("\"\";\"\"\"\"\n"), (Righe{{U(""), U("\"")}}));
    EXPECT_EQ(Leggi("\"chiuso\"\n"), (Righe{{U("chiuso")}}));
    EXPECT_EQ(Leggi("\"fine file\""), (Righe{{U("fine file")}}));
    // Unquoted fields are taken as they stand, marks inside included.
    EXPECT_EQ(Leggi("ab\"c;  \"x\" ;d\n"), (Righe{{U("ab\"c"), U("  \"x\" "), U("d")}}));
}

TEST(CsvReader, SeparatorsOfAnyLength)
{
    EXPECT_EQ(Leggi("a,b;c\n", QStringLiteral(",")), (Righe{{U("a"), U("b;c")}}));
    EXPECT_EQ(Leggi("a\tb\n", QStringLiteral("\t")), (Righe{{U("a"), U("b")}}));
    EXPECT_EQ(Leggi("a||b|c\n\"x||y\"||z\n", QStringLiteral("||")), (Righe{{U("a"), U("b|c")}, {U("x||y"), U("z")}}));
    EXPECT_THROW(Leggi("a\n", QString()), SheetError);
}

TEST(CsvReader, Utf8OrWindows1252)
{
    bool utf8 = false;
    // UTF-8 with a byte-order mark: the mark is not part of the first field.
    EXPECT_EQ(Leggi("\xEF\xBB\xBF\"FATTURE EMESSE\";Citt\xC3\xA0\n", QStringLiteral(";"), &utf8),
              (Righe{{U("FATTURE EMESSE"), U("Città")}}));
    EXPECT_TRUE(utf8);
    // A second mark decodes to no text: the reader goes on to the text, or to the end.
    EXPECT_EQ(Leggi("\xEF\xBB\xBF\xEF\xBB\xBF"), Righe{});
    EXPECT_EQ(Leggi("\xEF\xBB\xBF\xEF\xBB\xBF" "a;b\n"), (Righe{{U("a"), U("b")}}));
    EXPECT_EQ(Leggi("Citt\xC3\xA0;\xE2\x82\xAC\n", QStringLiteral(";"), &utf8), (Righe{{U("Città"), U("€")}}));
    EXPECT_TRUE(utf8);
    // The same text in Windows-1252: 0xE0 is "à", 0x80 is "€".
    EXPECT_EQ(Leggi("Citt\xE0;\x80\n", QStringLiteral(";"), &utf8), (Righe{{U("Città"), U("€")}}));
    EXPECT_FALSE(utf8);
    // One invalid byte far into a UTF-8-looking file makes the whole file Windows-1252.
    std::string lungo;
    for (int i = 0; i < 20000; ++i)
        lungo += "Citt\xC3\xA0;x\n";
    lungo += "\xE0\n";
    const auto righe = Leggi(lungo, QStringLiteral(";"), &utf8);
    EXPECT_FALSE(utf8);
    ASSERT_EQ(righe.size(), 20001u);
    EXPECT_EQ(righe[0][0], U("CittÃ\u00A0"));
    EXPECT_EQ(righe[20000][0], U("à"));
    // A multi-byte character cut by the reader's chunk boundary stays whole.
    std::string confine(65535, 'a');
    confine += "\xC3\xA0\n";
    const auto r2 = Leggi(confine, QStringLiteral(";"), &utf8);
    EXPECT_TRUE(utf8);
    ASSERT_EQ(r2.size(), 1u);
    EXPECT_EQ(r2[0][0], QString(65535, QLatin1Char('a')) + U("à"));
}

TEST(CsvReader, BadFilesGiveAMessage)
{
    EXPECT_THROW(Leggi("\"mai chiuso;1\n2;3\n"), SheetError);
    // A quoted field that never closes in a large file is refused, not read into memory whole.
    EXPECT_THROW(Leggi("\"" + std::string(3 << 20, 'x')), SheetError);
    EXPECT_THROW(CsvReader(QStringLiteral("/nessuna/cartella/file.csv"), QStringLiteral(";")), SheetError);
    EXPECT_TRUE(Leggi("").empty());
    // NUL bytes and control characters are read, not trusted to end anything.
    EXPECT_EQ(Leggi(std::string("a\0b;c\n", 6)), (Righe{{QString::fromUtf16(u"a\u0000b", 3), U("c")}}));
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
