#include "calc/TempWireUnit.h"
#include "calc/TireLineUnit.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tormel {
namespace {

const char *const kBadTemperature = "Ошибочное значение температуры жилы кабеля, провода или шины.";
constexpr double kAluminiumAt70 = 1 + 0.004 * 50;
constexpr double kCopperAt70 = 1 + 0.0043 * 50;

double factor(const std::string &temperature, const std::string &stuff, const std::string &kind)
{
    const TTemperatureFactor f = GetTemperatureFactor(temperature, stuff, kind);
    EXPECT_EQ(f.Refusal, "") << temperature << " " << stuff << " " << kind;
    return f.Kt;
}

TEST(TempWireUnitLookup, FactorFollowsTheMetalAndTemperature)
{
    struct Case
    {
        const char *temperature;
        const char *stuff;
        const char *kind;
        double kt;
    };
    const Case cases[] = {
            {"20", "Алюминий", "Кабель с ПВХ изоляцией", 1},
            {"20", "Медь", "Воздушная", 1},
            {"20", "KS, 250A", "Шинопровод Canalis", 1},
            {"70", "Медь", "Кабель с ПВХ изоляцией", kCopperAt70},
            {"70", "Алюминий", "Кабель с бумажной изоляцией", kAluminiumAt70},
            {"-70", "Алюминий", "Воздушная", 0.64},
            {"500", "Медь", "Воздушная", 1 + 0.0043 * 480},
            {" +7e1", "Алюминий", "Воздушная", kAluminiumAt70},
            // A SIP is aluminium whatever the marking, even one named like a material.
            {"70", "3*70+1*54.6", "СИП-2", kAluminiumAt70},
            {"90", "3*70+1*54.6", "СИП-2", 1.28},
            {"70", "Медь", "СИП-4", kAluminiumAt70},
            // A busbar family's table decides, also for texts that are no model of it.
            {"70", "LUX, 40A", "Шинопровод Naxso", kAluminiumAt70},
            {"70", "NXW, 800A", "Шинопровод Naxso", kCopperAt70},
            {"70", "Медь", "Шинопровод Naxso", kAluminiumAt70},
            {"70", "BD01, 160A", "Шинопровод LV70", kCopperAt70},
            {"70", "BD01, 125A", "Шинопровод LV70", kAluminiumAt70},
            {"70", "Алюминий", "Шинопровод Canalis", kCopperAt70},
            {"70", "KS,250A", "Шинопровод Canalis", kCopperAt70},
            // Neither a known material nor a SIP or busbar kind: copper.
            {"70", "Латунь", "Кабель с ПВХ изоляцией", kCopperAt70},
            {"70", "", "", kCopperAt70},
            {"70", "Алюминий", "Неизвестная", kAluminiumAt70},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.temperature) + " " + c.stuff + " " + c.kind);
        EXPECT_NEAR(factor(c.temperature, c.stuff, c.kind), c.kt, 1e-12);
    }
}

TEST(TempWireUnitLookup, TemperatureOutsideRangeOrUnreadableIsRefused)
{
    for (const char *text :
         {"-70.5", "500.1", "1e3", "", " ", "20 C", "20,5", "nan", "inf", "1e999"}) {
        SCOPED_TRACE(std::string("'") + text + "'");
        EXPECT_EQ(GetTemperatureFactor(text, "Медь", "Воздушная").Refusal, kBadTemperature);
    }
}

TEST(TempWireUnitLookup, BusbarMetalOfEveryCatalogueModel)
{
    // The copper models of each family, by series (the text before the blank or comma)
    // or by full name; all other models of the family are aluminium.
    const std::map<std::string, std::set<std::string>> copper = {
            {"Шинопровод Canalis", {"KDP", "KBA", "KBX", "KBB", "KBC", "KTC"}},
            {"Шинопровод E-line", {"DAM", "DAP", "KAM", "KBC-II", "KOC", "TB"}},
            {"Шинопровод Gersan", {"GGDC", "GSC", "GCC"}},
            {"Шинопровод MEMPOWER", {"LUX", "LP", "MP", "XP"}},
            {"Шинопровод Naxso", {"NXW", "BP", "BPK", "BPG"}},
            {"Шинопровод LV70", {"BD01, 160A", "BD2C", "CD-K-13", "CD-K-22", "CD-K-14", "CD-K-24"}},
            {"Шинопровод WavePro", {"LT(Cu)"}},
            {"Шинопровод LS Cable", {"LS(Cu)"}},
            {"Шинопровод ШМА, ШРА", {"ШОС"}},
    };
    for (const auto &[family, copperNames] : copper) {
        const std::vector<std::string> &models = TireModelsInDisplayOrder(family);
        ASSERT_FALSE(models.empty()) << family;
        for (const std::string &model : models) {
            const std::string series = model.substr(0, model.find_first_of(" ,"));
            const bool isCopper = copperNames.count(series) != 0 || copperNames.count(model) != 0;
            EXPECT_NEAR(factor("70", model, family), isCopper ? kCopperAt70 : kAluminiumAt70, 1e-12)
                    << family << " " << model;
        }
    }
}

} // namespace
} // namespace tormel
