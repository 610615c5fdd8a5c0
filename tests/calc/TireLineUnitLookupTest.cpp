#include "calc/TireLineData.h"
#include "calc/TireLineUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {
namespace {

const char *const kUnknownModel = "Неизвестная марка шинопровода";

TEST(TireLineUnitLookup, ModelsSelectTheirOwnRowWithinTheFamily)
{
    struct Case
    {
        const char *model;
        const char *family;
        double r;
        double x;
    };
    const Case cases[] = {
            {"KS, 250A", "Шинопровод Canalis", 0.687, 0.393},
            {"LUX, 25A", "Шинопровод MEMPOWER", 11.48, 9.84},
            {"LUX, 25A", "Шинопровод Naxso", 14.24, 1.3},
            {"TB, 80A", "Шинопровод E-line", 2.74, 0.26},
            {"TB, 63A", "Шинопровод E-line", 3.42, 0.26},
            {"KDP, 20A", "Шинопровод Canalis", 14.603, 0.297},
            {"KBB, 25A", "Шинопровод Canalis", 14.603, 0.297},
            {"ШМА4, 1250A", "Шинопровод ШМА, ШРА", 0.099, 0.053},
            {"ШОС, 40A", "Шинопровод ШМА, ШРА", 10.8, 2.0},
            // No published values: these take those of the next smaller model, "XP, 3200A".
            {"XP, 3200A", "Шинопровод MEMPOWER", 0.031, 0.018},
            {"XP, 4000A", "Шинопровод MEMPOWER", 0.031, 0.018},
            {"XP, 6300A", "Шинопровод MEMPOWER", 0.031, 0.018},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.family);
        const TLineImpedance loop = GetTireLineImpedance(c.model, c.family);
        EXPECT_EQ(loop.Refusal, "");
        EXPECT_DOUBLE_EQ(loop.R, c.r);
        EXPECT_DOUBLE_EQ(loop.X, c.x);
    }
}

TEST(TireLineUnitLookup, UnknownModelOfTheFamilyIsRefused)
{
    struct Case
    {
        const char *model;
        const char *family;
    };
    const Case cases[] = {
            {"KS, 250A", "Шинопровод Gersan"},
            {"KS,250A", "Шинопровод Canalis"},
            {"ks, 250A", "Шинопровод Canalis"},
            {"KS, 250А", "Шинопровод Canalis"},     // Cyrillic А at the end
            {"ШМА4, 1250А", "Шинопровод ШМА, ШРА"}, // all Cyrillic
            {"KS, 250A", "Шинопровод canalis"},
            {"KS, 250A", "Canalis"},
            {"", "Шинопровод Canalis"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.family);
        EXPECT_EQ(GetTireLineImpedance(c.model, c.family).Refusal, kUnknownModel);
    }
}

TEST(TireLineUnitLookup, DisplayListsShowEveryModelOnce)
{
    const std::vector<std::pair<std::string, std::size_t>> counts = {
            {"Шинопровод Canalis", 36},
            {"Шинопровод E-line", 50},
            {"Шинопровод Gersan", 51},
            {"Шинопровод MEMPOWER", 26},
            {"Шинопровод Naxso", 29},
            {"Шинопровод LV70", 26},
            {"Шинопровод WavePro", 32},
            {"Шинопровод LS Cable", 25},
            {"Шинопровод ШМА, ШРА", 20},
    };
    ASSERT_EQ(TireFamilyTable().size(), counts.size());
    std::size_t total = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const auto &[family, count] = counts[i];
        SCOPED_TRACE(family);
        EXPECT_EQ(TireFamilyTable()[i].name, family);
        EXPECT_EQ(TireFamilyTable()[i].models.size(), count);

        const std::vector<std::string> &shown = TireModelsInDisplayOrder(family);
        EXPECT_EQ(shown.size(), count);
        EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), count);
        for (const std::string &model : shown) {
            const TLineImpedance loop = GetTireLineImpedance(model, family);
            EXPECT_EQ(loop.Refusal, "") << model;
            EXPECT_GT(loop.R, 0) << model;
            EXPECT_GT(loop.X, 0) << model;
        }
        total += shown.size();
    }
    EXPECT_EQ(total, 295u);
    EXPECT_TRUE(TireModelsInDisplayOrder("СИП-1").empty());
}

TEST(TireLineUnitLookup, ModelNamesEndInRatedCurrentWithLatinA)
{
    // "<series>, <amperes>A": one comma and blank, digits, and the Latin capital A.
    for (const TireFamily &family : TireFamilyTable()) {
        for (const TireModel &model : family.models) {
            const std::string name(model.name);
            const std::size_t comma = name.find(", ");
            ASSERT_NE(comma, std::string::npos) << name;
            ASSERT_GT(comma, 0u) << name;
            const std::string current = name.substr(comma + 2);
            ASSERT_GE(current.size(), 3u) << name;
            EXPECT_EQ(current.back(), 'A') << name;
            EXPECT_TRUE(std::all_of(current.begin(), current.end() - 1, [](char c) {
                return c >= '0' && c <= '9';
            })) << name;
        }
    }
}

TEST(TireLineUnitLookup, DisplayOrdersThatDifferFromTheTable)
{
    const std::vector<std::string> &canalis = TireModelsInDisplayOrder("Шинопровод Canalis");
    const auto kta800 = std::find(canalis.begin(), canalis.end(), "KTA, 800A");
    ASSERT_NE(kta800, canalis.end());
    EXPECT_EQ(std::count(canalis.begin(), canalis.end(), "KTA, 800A"), 1);
    EXPECT_EQ(*(kta800 - 1), "KS, 1000A");
    EXPECT_EQ(*(kta800 + 1), "KTA, 1000A");

    // Naxso: LUX, BP, BPK, BPG, then NXW.
    const std::vector<std::string> &naxso = TireModelsInDisplayOrder("Шинопровод Naxso");
    ASSERT_EQ(naxso.size(), 29u);
    EXPECT_EQ(naxso[0], "LUX, 25A");
    EXPECT_EQ(naxso[3], "BP, 40A");
    EXPECT_EQ(naxso[17], "BPG, 1000A");
    EXPECT_EQ(naxso[18], "NXW, 500A");
    EXPECT_EQ(naxso.back(), "NXW, 6300A");

    // LS Cable: copper before aluminium.
    const std::vector<std::string> &lsCable = TireModelsInDisplayOrder("Шинопровод LS Cable");
    ASSERT_EQ(lsCable.size(), 25u);
    EXPECT_EQ(lsCable[0], "LS(Cu), 630A");
    EXPECT_EQ(lsCable[12], "LS(Cu), 7500A");
    EXPECT_EQ(lsCable[13], "LS(Al), 630A");
    EXPECT_EQ(lsCable.back(), "LS(Al), 6000A");

    // Only whole series move: within a series the list keeps the table's order.
    for (const TireFamily &family : TireFamilyTable()) {
        const std::vector<std::string> &shown = TireModelsInDisplayOrder(std::string(family.name));
        const auto seriesOf
                = [](std::string_view model) { return model.substr(0, model.find(',')); };
        std::vector<std::string_view> inTable;
        std::vector<std::string_view> inList;
        for (const TireModel &model : family.models)
            inTable.push_back(model.name);
        for (const std::string &model : shown)
            inList.push_back(model);
        std::stable_sort(inTable.begin(), inTable.end(), [&](auto a, auto b) {
            return seriesOf(a) < seriesOf(b);
        });
        std::stable_sort(inList.begin(), inList.end(), [&](auto a, auto b) {
            return seriesOf(a) < seriesOf(b);
        });
        EXPECT_EQ(inList, inTable) << family.name;
    }

    // The other families show their models in table order.
    const std::vector<std::string> &gersan = TireModelsInDisplayOrder("Шинопровод Gersan");
    const auto table = TireFamilyTable()[2].models;
    ASSERT_EQ(gersan.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(gersan[i], table[i].name);
}

} // namespace
} // namespace tormel
