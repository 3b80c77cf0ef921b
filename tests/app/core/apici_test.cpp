#include "app/core/Apici.h"
#include "app/core/NoNull.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(Apici, QuotingHelpers)
{
    EXPECT_EQ(Virgolette(u"C:/Dati/file 1.xml"_s), u"\"C:/Dati/file 1.xml\""_s);
    EXPECT_EQ(Apici(u"L'ALBERO"_s), u"'L'ALBERO'"_s);          // not doubled
    EXPECT_EQ(ApiciLike(u"ROMA"_s), u"'%ROMA%'"_s);
    EXPECT_EQ(RaddoppiaApici(u"L'ALBERO D'ORO"_s), u"L''ALBERO D''ORO"_s);
    EXPECT_EQ(RaddoppiaApici(u"''"_s), u"''''"_s);
    EXPECT_EQ(RaddoppiaApici(QString()), QString());
}

TEST(NoNull, NullValuesReadEmpty)
{
    EXPECT_EQ(NoNull(QVariant()), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<QString>())), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<int>())), QString());
    EXPECT_EQ(NoNull(QVariant(u"ROSSI"_s)), u"ROSSI"_s);
    EXPECT_EQ(NoNull(QVariant(42)), u"42"_s);
}

} // namespace
} // namespace quercino
