// The tax-code check against codes computed by the codice-fiscale-js package
// (fixtures/genera_codici_fiscali.js writes fixtures/codici_fiscali.txt).

#include "app/core/ControllaCF.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QStringList>

#include <map>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

// The kinds of fixtures/codici_fiscali.txt: birthplace codes known ("luogo"), then valid,
// omocodic, wrong (with the right check character) and unknown-place codes.
TEST(ControllaCF, CodesOfTheIndependentLibrary)
{
    QFile file(QStringLiteral(QUERCINO_SOURCE_DIR "/tests/app/core/fixtures/codici_fiscali.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<QString> luoghi;
    const CercaCodiceLuogo cerca = [&luoghi](const QString& codice) { return luoghi.contains(codice); };
    std::map<QString, int> visti;
    for (const QString& riga : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList campi = riga.split(u';');
        const QString& cf = campi[1];
        ++visti[campi[0]];
        if (campi[0] == u"luogo") {
            luoghi.insert(cf);
        } else if (campi[0] == u"errato") {
            EXPECT_EQ(ControllaCF(cf, cerca), campi[2][0].unicode()) << cf.toStdString();
        } else {
            const int atteso = campi[0] == u"ignoto" ? CFErrato : CFValido;
            EXPECT_EQ(ControllaCF(cf, cerca), atteso) << cf.toStdString();
            EXPECT_EQ(ControllaCF(cf.toLower(), cerca), atteso) << cf.toStdString();
        }
    }
    for (const char* tipo : {"luogo", "valido", "omocodico", "errato"})
        EXPECT_GE(visti[tipo], 10) << tipo;
    EXPECT_GE(visti["ignoto"], 1);
}

TEST(ControllaCF, OmocodiaUndoneFromTheLastPosition)
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
TEST(ControllaCF, LunghezzeECaratteriFuoriPosto)
{
    const CercaCodiceLuogo cerca = [](const QString& codice) { return codice == u"H501"; };
    const std::pair<QString, bool> casi[] = {
        {u"01234567890"_s, true},  {u"0123456789a"_s, false},         {u"A1234567890"_s, false},
        {u"01234 67890"_s, false}, {u"01234-67890"_s, false},         {u"RSSMRA85T10H501OXYZ"_s, true},
        {u"RSSMRA85T10H501"_s, false}, {u"RSSMRA85T10H50"_s, false},
    };
    for (const auto& [cf, valido] : casi)
        EXPECT_EQ(ControllaCF(cf, cerca) == CFValido, valido) << cf.toStdString();
    EXPECT_EQ(ControllaCF(QString(), cerca), 50);  // the check character "2"
    for (char16_t lettera = u'A'; lettera <= u'Z'; ++lettera) {
        EXPECT_NE(ControllaCF(u"R SMRA85T10H501"_s + QChar(lettera), cerca), CFValido);
        EXPECT_NE(ControllaCF(u"1SSMRA85T10H501"_s + QChar(lettera), cerca), CFValido);
    }
    EXPECT_EQ(ControllaCF(u"RSSMRA85T10H501O"_s, CercaCodiceLuogo()), CFErrato);  // no lookup: unknown place
}

} // namespace
} // namespace quercino
