// The tax-code check against codes computed by the codice-fiscale-js package
// (fixtures/genera_codici_fiscali.js writes fixtures/codici_fiscali.txt).

#include "app/core/ControllaCF.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QStringList>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

struct Fixture {
    QSet<QString> luoghi;
    QList<QStringList> righe;  // kind, code[, check letter]
};

Fixture leggiFixture()
{
    Fixture f;
    QFile file(QStringLiteral(QUERCINO_SOURCE_DIR "/tests/app/core/fixtures/codici_fiscali.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return f;
    for (const QString& riga : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList campi = riga.split(u';');
        if (campi[0] == u"luogo")
            f.luoghi.insert(campi[1]);
        else
            f.righe.append(campi);
    }
    return f;
}

class ControllaCFTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture_ = leggiFixture();
        ASSERT_GE(fixture_.luoghi.size(), 10);
        ASSERT_GE(fixture_.righe.size(), 50);
        cerca_ = [this](const QString& codice) {
            ++ricerche_;
            return fixture_.luoghi.contains(codice);
        };
    }
    Fixture fixture_;
    CercaCodiceLuogo cerca_;
    int ricerche_ = 0;
};

TEST_F(ControllaCFTest, CodesOfTheIndependentLibrary)
{
    int visti[4] = {};
    for (const QStringList& riga : fixture_.righe) {
        const QString& tipo = riga[0];
        const QString& cf = riga[1];
        if (tipo == u"valido" || tipo == u"omocodico") {
            EXPECT_EQ(ControllaCF(cf, cerca_), CFValido) << cf.toStdString();
            EXPECT_EQ(ControllaCF(cf.toLower(), cerca_), CFValido) << cf.toStdString();
            ++visti[tipo == u"valido" ? 0 : 1];
        } else if (tipo == u"errato") {
            EXPECT_EQ(ControllaCF(cf, cerca_), riga[2][0].unicode()) << cf.toStdString();
            ++visti[2];
        } else if (tipo == u"ignoto") {
            EXPECT_EQ(ControllaCF(cf, cerca_), CFErrato) << cf.toStdString();
            ++visti[3];
        }
    }
    EXPECT_GE(visti[0], 10);
    EXPECT_GE(visti[1], 10);
    EXPECT_GE(visti[2], 10);
    EXPECT_GE(visti[3], 1);
}

TEST_F(ControllaCFTest, OmocodiaUndoneFromTheLastPosition)
{
    // H5LM stands for H501: M (1) at position 4 first, then L (0) at position 3.
    QStringList cercati;
    const CercaCodiceLuogo registra = [&](const QString& codice) {
        cercati.append(codice);
        return codice == u"H501";
    };
    EXPECT_TRUE(CercaOmocodia(u"H5LM"_s, registra));
    EXPECT_EQ(cercati, (QStringList{u"H5L1"_s, u"H501"_s}));
    EXPECT_FALSE(CercaOmocodia(u"H5LM"_s, [](const QString&) { return false; }));
    EXPECT_FALSE(CercaOmocodia(u"H5LM"_s, CercaCodiceLuogo()));
    EXPECT_FALSE(CercaOmocodia(QString(), registra));
}

// Eleven characters are a company's code: digits only, no place looked up. Other lengths
// are judged on their first sixteen characters; a character outside A-Z and 0-9 adds nothing
// to the sum, so a check character can still match: such codes are wrong all the same.
TEST_F(ControllaCFTest, LunghezzeECaratteriFuoriPosto)
{
    const std::pair<QString, bool> casi[] = {
        {u"01234567890"_s, true},  {u"0123456789a"_s, false},         {u"A1234567890"_s, false},
        {u"01234 67890"_s, false}, {u"01234-67890"_s, false},         {u"RSSMRA85T10H501OXYZ"_s, true},
        {u"RSSMRA85T10H501"_s, false}, {u"RSSMRA85T10H50"_s, false},
    };
    for (const auto& [cf, valido] : casi)
        EXPECT_EQ(ControllaCF(cf, cerca_) == CFValido, valido) << cf.toStdString();
    EXPECT_EQ(ControllaCF(QString(), cerca_), 50);  // the check character "2"
    for (char16_t lettera = u'A'; lettera <= u'Z'; ++lettera) {
        EXPECT_NE(ControllaCF(u"R SMRA85T10H501"_s + QChar(lettera), cerca_), CFValido);
        EXPECT_NE(ControllaCF(u"1SSMRA85T10H501"_s + QChar(lettera), cerca_), CFValido);
    }
    EXPECT_EQ(ControllaCF(u"RSSMRA85T10H501O"_s, CercaCodiceLuogo()), CFErrato);  // no lookup: unknown place
}

} // namespace
} // namespace quercino
