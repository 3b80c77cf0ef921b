#include "app/core/Zeri.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(Zeri, FillsAndChangesTheCallersValue)
{
    struct Caso { QString valore; int larghezza; QString risultato, valoreDopo; int larghezzaDopo; };
    const Caso casi[] = {
        {u"7"_s, 5, u"00007"_s, u"7"_s, 5},
        {QString(), 5, u"00000"_s, QString(), 5},
        {u"123456"_s, 5, u"123456"_s, u"123456"_s, 5},     // never cut
        {u"-5"_s, 4, u"  -5"_s, u"-5"_s, 4},                // negatives filled with blanks
        {u"12,9"_s, 5, u"00012"_s, u"12"_s, 5},             // truncated toward zero
        {u"-12,9"_s, 6, u"   -12"_s, u"-12"_s, 6},
        {u"-12,9"_s, 5, u"-12,9"_s, u"-12,9"_s, 5},          // long enough already
        {u"AB"_s, 5, u"00000"_s, u"0"_s, 5},                // not a number
        {u"00001"_s, 5, u"00001"_s, u"00001"_s, 5},         // already long enough
        {u"  42  "_s, 5, u"00042"_s, u"42"_s, 5},
        {u" 007 "_s, 5, u"00007"_s, u"7"_s, 5},
        {u"+3"_s, 4, u"0003"_s, u"3"_s, 4},
        {u"9"_s, 0, u"000009"_s, u"9"_s, 6},                // width 0 means 6
        {u"1 2"_s, 5, u"00000"_s, u"0"_s, 5},
        {u"99999999999999999999"_s, 30, u"0000000000" "99999999999999999999"_s,
         u"99999999999999999999"_s, 30},                    // no overflow
    };
    for (const Caso& c : casi) {
        QString valore = c.valore;
        int larghezza = c.larghezza;
        EXPECT_EQ(Zeri(valore, larghezza), c.risultato) << c.valore.toStdString();
        EXPECT_EQ(valore, c.valoreDopo) << c.valore.toStdString();
        EXPECT_EQ(larghezza, c.larghezzaDopo) << c.valore.toStdString();
    }
}

TEST(Zeri, OverloadsForLiteralsAndNumbers)
{
    QString valore = u" 12,9 "_s;
    EXPECT_EQ(Zeri(valore, 5), u"00012"_s);  // a literal width still updates the value
    EXPECT_EQ(valore, u"12"_s);
    const QString fisso = u"3"_s;
    EXPECT_EQ(Zeri(fisso, 3), u"003"_s);
    EXPECT_EQ(Zeri(std::int64_t(7), 5), u"00007"_s);
    EXPECT_EQ(Zeri(std::int64_t(-3), 5), u"   -3"_s);
    EXPECT_EQ(Zeri(std::int64_t(123), 6), u"000123"_s);
}

TEST(NormalizzaPIVA, FillsShortNumbersTo11)
{
    struct Caso { QString valore, risultato, valoreDopo; };
    const Caso casi[] = {
        {u" 123 "_s, u"00000000123"_s, u"123"_s},
        {u"12345678901"_s, u"12345678901"_s, u"12345678901"_s},
        {u"1"_s, u"1"_s, u"1"_s},
        {QString(), QString(), QString()},
        {u"1234567890123456"_s, u"1234567890123456"_s, u"1234567890123456"_s},
        // A code with letters is not a number: it stays as written, never all zeros.
        {u"AB12345"_s, u"AB12345"_s, u"AB12345"_s},
    };
    for (const Caso& c : casi) {
        QString valore = c.valore;
        EXPECT_EQ(NormalizzaPIVA(valore), c.risultato) << c.valore.toStdString();
        EXPECT_EQ(valore, c.valoreDopo) << c.valore.toStdString();
    }
}

} // namespace
} // namespace quercino
