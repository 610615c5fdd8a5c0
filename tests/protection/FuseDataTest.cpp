#include "protection/FuseData.h"

#include "core/NumberReading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tormel {
namespace {

// The window's rated current lists and the melting current tables are one table, so the
// key column must be the whole part of each list entry, unique within the type, and a
// link must melt sooner only under a larger current.
TEST(FuseDataTest, KeysAreTheWholePartsOfTheListedCurrents)
{
    ASSERT_EQ(FuseTypes().size(), 3u);
    for (const FuseTypeData &type : FuseTypes()) {
        SCOPED_TRACE(std::string(type.Name));
        std::set<double> keys;
        double previousKey = -1;
        for (const FuseRatedCurrentData &row : type.RatedCurrents) {
            SCOPED_TRACE(std::string(row.Text));
            const std::optional<double> current = ReadReal(row.Text);
            ASSERT_TRUE(current);
            EXPECT_EQ(row.Key, std::trunc(*current));
            EXPECT_GT(row.Key, previousKey); // listed in ascending order
            previousKey = row.Key;
            EXPECT_TRUE(keys.insert(row.Key).second);
            EXPECT_LT(row.Imelt5s, row.Imelt04s);
            EXPECT_EQ(FuseMeltingCurrent(type, FuseTimeClass::Time5s, row.Key), row.Imelt5s);
            EXPECT_EQ(FuseMeltingCurrent(type, FuseTimeClass::Time04s, row.Key), row.Imelt04s);
        }
        EXPECT_EQ(FindFuseType(type.Name), &type);
    }
}

TEST(FuseDataTest, TypesAreFoundOnlyByTheirExactName)
{
    for (const char *name : {"ПН-2", "ППН ", " НПН", "ппн", ""})
        EXPECT_EQ(FindFuseType(name), nullptr) << name;
}

} // namespace
} // namespace tormel
