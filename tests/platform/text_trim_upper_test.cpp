#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"
#include "platform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(TrimBlanks, RemovesBlanksOnlyNotOtherWhiteSpace)
{
    struct Case { QString in, both, leading, trailing; };
    const Case cases[] = {
        {u"  a b  "_qs, u"a b"_qs, u"a b  "_qs, u"  a b"_qs},
        {u"\ta\t"_qs, u"\ta\t"_qs, u"\ta\t"_qs, u"\ta\t"_qs},
        {u" \r\n x \n "_qs, u"\r\n x \n"_qs, u"\r\n x \n "_qs, u" \r\n x \n"_qs},
        {u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs},
        {u"    "_qs, QString(), QString(), QString()},
        {QString(), QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trimBlanks(c.in), c.both) << c.in.toStdString();
        EXPECT_EQ(trimLeadingBlanks(c.in), c.leading) << c.in.toStdString();
        EXPECT_EQ(trimTrailingBlanks(c.in), c.trailing) << c.in.toStdString();
    }
}

TEST(UpperOneToOne, KeepsTheLengthOverTheWholeCodePage)
{
    std::vector<std::uint8_t> all(256);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<std::uint8_t>(b);
    const QString text = decodeWindows1252(all);
    const QString upper = upperOneToOne(text);
    ASSERT_EQ(upper.size(), text.size());
    // Every character stays in the code page, so the files can still hold it.
    EXPECT_TRUE(fitsWindows1252(upper));
}

TEST(UpperOneToOne, MapsEachCharacterToOne)
{
    EXPECT_EQ(upperOneToOne(u"abc àèéìòù ñ ç"_qs), u"ABC ÀÈÉÌÒÙ Ñ Ç"_qs);
    EXPECT_EQ(upperOneToOne(u"straße"_qs), u"STRAßE"_qs);  // never "SS"
    EXPECT_EQ(upperOneToOne(u"œ š ž ÿ"_qs), u"Œ Š Ž Ÿ"_qs);
    EXPECT_EQ(upperOneToOne(u"µ"_qs), u"µ"_qs);            // its capital is outside the page
    EXPECT_EQ(upperOneToOne(u"1,5 - x"_qs), u"1,5 - X"_qs);
}

} // namespace
} // namespace quercino
