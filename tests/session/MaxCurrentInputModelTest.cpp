#include "session/MaxCurrentInputModel.h"

#include "core/NumberFormat.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

// The grey texts follow the scheme and power as the power list does.
TEST(MaxCurrentInputModel, EmptyBoxesShowTheDefaultOfTheTransformer)
{
    const auto shown = [](const char *scheme, const char *power) {
        return MaxCurrentInputModel::PlaceholdersFor(scheme, power, NumberSeparators::russian());
    };
    MaxCurrentInputModel::Placeholders p = shown("T/Y-0", "400");
    EXPECT_EQ(p.Sk, "не ограничена");
    EXPECT_EQ(p.Uk, "4,50");
    EXPECT_EQ(p.Pk, "5,90");
    EXPECT_EQ(p.Icu, "не задана");
    // Any three-phase scheme shows the delta/star cell of its power.
    EXPECT_EQ(shown("Y/Y-0", "400").Uk, "4,50");
    p = shown("Y/Y-0", "1000"); // 5.18 / 3 + j25.89 / 3: uk 5.50 %, Pk 10.79 kW
    EXPECT_EQ(p.Uk, "5,50");
    EXPECT_EQ(p.Pk, "10,79");
    EXPECT_EQ(shown("Y/Y-0", "320").Uk, "нет данных");
    EXPECT_EQ(shown("Y/Y-0", "1e9").Pk, "нет данных");
    EXPECT_EQ(shown("Y/Y-0", "абв").Pk, "нет данных");
    EXPECT_EQ(shown("1/1-0", "10").Uk, "не требуется");
}

} // namespace
} // namespace tormel
