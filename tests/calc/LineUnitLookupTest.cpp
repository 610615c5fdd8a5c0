#include "calc/LineUnit.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tormel {
namespace {

const std::string kPaper = "Кабель с бумажной изоляцией";
const std::string kPvc = "Кабель с ПВХ изоляцией";
const std::string kOverhead = "Воздушная";
const std::string kAluminium = "Алюминий";
const std::string kCopper = "Медь";

const char *const kBadSection = "Неверное сечение жилы";
const char *const kUnknownSection = "Неизвестное сечение жилы";
const char *const kUnknownMaterial = "Неизвестный материал жилы проводника";
const char *const kBadKind = "Неверный тип линии";
const char *const kUnused
        = "Тип линии с выбранным сечением не используется. Выберите другое сечение.";

TEST(LineUnitLookup, ReadsOneConductorOfTheChosenRow)
{
    struct Case
    {
        const char *section;
        const std::string &material;
        const std::string &kind;
        double r;
        double x;
    };
    const Case cases[] = {
            {"25", kCopper, kPvc, 0.74, 0.091},
            {"1.5", kCopper, kPaper, 12.3, 0}, // a zero reactance is a value, not a marker
            {"4", kAluminium, kOverhead, 7.81, 0.37},
            {"0", kAluminium, kOverhead, 0, 0},
            {"240.9", kCopper, kPaper, 0.077, 0.0587}, // the integer part picks the row
            {"1.9", kCopper, kPvc, 12.3, 0.126},
            {"0.5", kCopper, kPvc, 0, 0},
            {" +2.5e0", kCopper, kPvc, 7.4, 0.116},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.material + " " + c.kind);
        const TLineImpedance line = GetCableLineImpedance(c.section, c.material, c.kind);
        EXPECT_EQ(line.Refusal, "");
        EXPECT_DOUBLE_EQ(line.R, c.r);
        EXPECT_DOUBLE_EQ(line.X, c.x);
    }
}

TEST(LineUnitLookup, RefusalsInCheckOrder)
{
    struct Case
    {
        const char *section;
        std::string material;
        std::string kind;
        const char *message;
    };
    const Case cases[] = {
            {"1,5", kCopper, kPvc, kBadSection},
            {"", kCopper, kPvc, kBadSection},
            {"   ", kCopper, kPvc, kBadSection},
            {"25 ", kCopper, kPvc, kBadSection},
            {"25мм", kCopper, kPvc, kBadSection},
            {"1,5", "алюминий", "?", kBadSection}, // the section is checked first
            {"3", kCopper, kPvc, kUnknownSection},
            {"300", kCopper, kPvc, kUnknownSection},
            {"-1.5", kCopper, kPvc, kUnknownSection},
            {"1e300", kCopper, kPvc, kUnknownSection},
            {"-1e300", kCopper, kPvc, kUnknownSection},
            {"4294967297", kCopper, kPvc, kUnknownSection}, // 2^32 + 1 must not wrap to 1
            {"25", "алюминий", kPvc, kUnknownMaterial},
            {"25", "Медь ", kPvc, kUnknownMaterial},
            {"25", "", "?", kUnknownMaterial},
            {"25", kCopper, "воздушная", kBadKind},
            {"25", kCopper, "СИП-1", kBadKind},
            {"1.5", kAluminium, "?", kBadKind}, // the kind is checked before the unused cell
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("'" + std::string(c.section) + "' " + c.material + " " + c.kind);
        EXPECT_EQ(GetCableLineImpedance(c.section, c.material, c.kind).Refusal, c.message);
    }
}

TEST(LineUnitLookup, OnlyTheMarkedCombinationsAreRefused)
{
    // Aluminium 1.5 mm² is not made, and no overhead line is strung of 1.5 or 2.5 mm².
    const std::set<std::tuple<std::string, std::string, std::string>> refused = {
            {"1.5", kAluminium, kPaper},
            {"1.5", kAluminium, kPvc},
            {"1.5", kAluminium, kOverhead},
            {"1.5", kCopper, kOverhead},
            {"2.5", kAluminium, kOverhead},
            {"2.5", kCopper, kOverhead},
    };
    std::size_t refusedSeen = 0;
    for (const std::string &section : CrossSections()) {
        for (const std::string &material : {kAluminium, kCopper}) {
            double resistance = -1;
            for (const std::string &kind : {kPaper, kPvc, kOverhead}) {
                SCOPED_TRACE(section + " " + material + " " + kind);
                const TLineImpedance line = GetCableLineImpedance(section, material, kind);
                if (refused.count({section, material, kind}) != 0) {
                    ++refusedSeen;
                    EXPECT_EQ(line.Refusal, kUnused);
                    continue;
                }
                EXPECT_EQ(line.Refusal, "");
                EXPECT_GE(line.R, 0);
                EXPECT_GE(line.X, 0);
                // Resistance depends on section and material only, never on the kind.
                if (resistance >= 0) {
                    EXPECT_DOUBLE_EQ(line.R, resistance);
                }
                resistance = line.R;
            }
        }
    }
    EXPECT_EQ(refusedSeen, refused.size());
}

TEST(LineUnitLookup, CrossSectionListStartsWithNoConductor)
{
    const std::vector<std::string> &sections = CrossSections();
    ASSERT_EQ(sections.size(), 16u);
    EXPECT_EQ(sections.front(), "0");
    EXPECT_EQ(sections[1], "1.5");
    EXPECT_EQ(sections.back(), "240");
}

} // namespace
} // namespace tormel
