#include "pdf/core/TextReplace.h"

#include <gtest/gtest.h>

using namespace tavlo;

TEST(ReplaceText, ReplacesEveryOccurrenceWithoutRescanningReplacements)
{
    EXPECT_EQ(ReplaceText("1,5", ",", "."), "1.5");
    EXPECT_EQ(ReplaceText("a(b(c", "(", "\\("), "a\\(b\\(c");
    EXPECT_EQ(ReplaceText("\\\\\\", "\\", "\\\\"), "\\\\\\\\\\\\");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");  // no overlap
    EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceText("a-b-c", "-", ""), "abc");
    EXPECT_EQ(ReplaceText("Aa", "a", "x"), "Ax");  // letter case matters
    EXPECT_EQ(ReplaceText("abc", "z", "y"), "abc");
}

TEST(ReplaceText, HonoursStartAndCount)
{
    EXPECT_EQ(ReplaceText("a.a.a", ".", ",", 3), "a.a,a");
    EXPECT_EQ(ReplaceText("a.a.a", ".", ",", 1, 1), "a,a.a");
    EXPECT_EQ(ReplaceText("a.a", ".", ",", 10), "a.a");
}

TEST(SplitText, KeepsEmptyParts)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitText("a;b;;c", ";"), (V{"a", "b", "", "c"}));
    EXPECT_EQ(SplitText("abc", ";"), (V{"abc"}));
    EXPECT_EQ(SplitText("", ";"), (V{""}));
    EXPECT_EQ(SplitText(";", ";"), (V{"", ""}));
    EXPECT_EQ(SplitText("a;", ";"), (V{"a", ""}));
    EXPECT_EQ(SplitText("abc", ""), (V{"abc"}));
    EXPECT_EQ(SplitText("l1\r\nl2\r\n\r\nl4", "\r\n"), (V{"l1", "l2", "", "l4"}));
}
