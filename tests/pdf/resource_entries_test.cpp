// Resource lists with names defined more than once.

#include "pdf/core/ResourceEntries.h"

#include <gtest/gtest.h>

using namespace tavlo;

TEST(UniqueEntries, ListsWithoutRepeatsUnchanged)
{
    EXPECT_EQ(UniqueEntries(""), "");
    EXPECT_EQ(UniqueEntries("/Arial 4 0 R /Arial,Bold 5 0 R "), "/Arial 4 0 R /Arial,Bold 5 0 R ");
    EXPECT_EQ(UniqueEntries("/Logo 7 0 R \r/Piede 9 0 R \r"), "/Logo 7 0 R \r/Piede 9 0 R \r");
}

TEST(UniqueEntries, LatestDefinitionKeptInItsPlace)
{
    EXPECT_EQ(UniqueEntries("/Logo 7 0 R \r/Piede 9 0 R \r/Logo 12 0 R \r"), "/Piede 9 0 R \r/Logo 12 0 R \r");
    EXPECT_EQ(UniqueEntries("/ 4 0 R / 5 0 R /A 6 0 R "), "/ 5 0 R \r/A 6 0 R \r");
}
