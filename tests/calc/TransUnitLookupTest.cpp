#include "calc/TransUnit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tormel {
namespace {

const char *const kUnknownPower = "Трансформатор выбранной мощности не заложен в программу";
const char *const kUnknownScheme = "Неправильная схема соединения обмоток трансформатора";
const char *const kEmptyCell = "Неизвестная марка трансформатора. Попробуйте выбрать трансформатор "
                               "другой мощности или изменить схему соединения обмоток";

TEST(TransUnitLookup, FilledCellsAnswerTheirValuesAndImpedance)
{
    struct Case
    {
        const char *scheme;
        double power;
        double r;
        double x;
    };
    const Case cases[] = {
            {"Y/Y-0", 25, 1957.2, 2417.24},
            {"1/1-0", 1.25, 6094, 3409},
            {"T/Y-0", 2500, 1.92, 10.38},
            {"Y/Z-0", 250, 26.13, 60.68},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.scheme) + " " + std::to_string(c.power));
        const TTransformerImpedance t = GetTransformerImpedance(c.scheme, c.power);
        EXPECT_EQ(t.Refusal, "");
        EXPECT_DOUBLE_EQ(t.R, c.r);
        EXPECT_DOUBLE_EQ(t.X, c.x);
        EXPECT_DOUBLE_EQ(t.Z, std::hypot(c.r, c.x));
    }
}

TEST(TransUnitLookup, RefusalsGiveOneTextInCheckOrder)
{
    struct Case
    {
        const char *scheme;
        double power;
        const char *message;
    };
    const Case cases[] = {
            {"Y/Y-0", 30, kUnknownPower},
            {"Y/Y-0", -25, kUnknownPower},
            {"y/y-0", 30, kUnknownPower}, // a wrong power hides a wrong scheme
            {"y/y-0", 25, kUnknownScheme},
            {"Y/Y-0 ", 25, kUnknownScheme},
            {"", 25, kUnknownScheme},
            {"T/Y-0", 320, kEmptyCell},
            {"Y/Y-0", 800, kEmptyCell},
            {"Y/Z-0", 400, kEmptyCell},
            {"1/1-0", 25, kEmptyCell},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.scheme) + " " + std::to_string(c.power));
        EXPECT_EQ(GetTransformerImpedance(c.scheme, c.power).Refusal, c.message);
    }
}

TEST(TransUnitLookup, EveryOfferedPowerIsAFilledCell)
{
    // The power lists and the lookup read the same table: every item of a scheme's
    // list must be accepted for that scheme, and the counts match the table.
    const std::vector<std::size_t> counts = {12, 13, 6, 4};
    ASSERT_EQ(WindKinds(), (std::vector<std::string>{"Y/Y-0", "T/Y-0", "Y/Z-0", "1/1-0"}));
    std::size_t total = 0;
    for (std::size_t i = 0; i < WindKinds().size(); ++i) {
        const std::string &scheme = WindKinds()[i];
        const TransformerPowerList *list = FindTransformerPowerList(scheme);
        ASSERT_NE(list, nullptr) << scheme;
        EXPECT_EQ(list->items.size(), counts[i]) << scheme;
        total += list->items.size();
        for (const std::string &item : list->items) {
            EXPECT_EQ(GetTransformerImpedance(scheme, std::stod(item)).Refusal, "")
                    << scheme << " " << item;
        }
    }
    EXPECT_EQ(total, 35u);
}

TEST(TransUnitLookup, PowerListsOfSingleAndThreePhaseSchemes)
{
    const TransformerPowerList *single = FindTransformerPowerList("1/1-0");
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->text, "10");
    EXPECT_EQ(single->items, (std::vector<std::string>{"1.25", "2.5", "4", "10"}));

    const TransformerPowerList *star = FindTransformerPowerList("Y/Y-0");
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->text, "25");
    EXPECT_EQ(star->items.front(), "25");
    EXPECT_EQ(star->items.back(), "1600");

    EXPECT_EQ(FindTransformerPowerList("Y/Y"), nullptr);
    EXPECT_EQ(FindTransformerPowerList("y/y-0"), nullptr);
}

} // namespace
} // namespace tormel
