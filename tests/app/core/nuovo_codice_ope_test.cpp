// The next declarant code on the three back-ends: the numeric maximum of the all-digit
// codes plus one, two digits at least.
#include "support/db_backends.h"

#include "app/core/NuovoCodiceOpe.h"

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::rigaCope;

namespace {

class NuovoCodiceOpeTest : public quercino::test::DbBackendTest {
protected:
    QString dopo(const QStringList& codici)
    {
        db().exec(QStringLiteral("DELETE FROM COPE"));
        for (const QString& c : codici)
            db().insert(schema::COPE(), rigaCope(c, QStringLiteral("DITTA ") + c));
        return NuovoCodiceOpe();
    }
};

TEST_P(NuovoCodiceOpeTest, MassimoNumericoPiuUno)
{
    struct Caso {
        QStringList codici;
        QString atteso;
    };
    const std::vector<Caso> casi = {
        {{}, QStringLiteral("01")},
        {{QStringLiteral("01")}, QStringLiteral("02")},
        {{QStringLiteral("01"), QStringLiteral("09")}, QStringLiteral("10")},
        {{QStringLiteral("99")}, QStringLiteral("100")},
        // Text order would pick "99" and propose "100" again.
        {{QStringLiteral("99"), QStringLiteral("100")}, QStringLiteral("101")},
        {{QStringLiteral("7"), QStringLiteral("010")}, QStringLiteral("11")},
        // Codes that are not all digits (a tax code, a letter) are left out.
        {{QStringLiteral("05"), QStringLiteral("RSSMRA80A01H501U")}, QStringLiteral("06")},
        {{QStringLiteral("ABC")}, QStringLiteral("01")},
        {{QStringLiteral("1A"), QStringLiteral("-5"), QStringLiteral("3")}, QStringLiteral("04")},
        {{QStringLiteral("L'01"), QStringLiteral("02")}, QStringLiteral("03")},
        // A company's tax code (eleven digits) used as the code is no progressive.
        {{QStringLiteral("05"), QStringLiteral("01234567890")}, QStringLiteral("06")},
        {{QStringLiteral("98765432109"), QStringLiteral("1234567890")}, QStringLiteral("1234567891")},
    };
    for (const Caso& caso : casi)
        EXPECT_EQ(dopo(caso.codici), caso.atteso) << caso.codici.join(QLatin1Char(',')).toStdString();
}

QUERCINO_DB_BACKENDS(NuovoCodiceOpeTest);

} // namespace
