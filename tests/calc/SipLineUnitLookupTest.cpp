#include "calc/SipLineUnit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tormel {
namespace {

TEST(SipLineUnitLookup, LoopValuesBelongToTheKind)
{
    struct Case
    {
        const char *marking;
        const char *kind;
        double r;
        double x;
    };
    const Case cases[] = {
            {"3*70+1*54.6", "СИП-1", 1.073, 0.138},
            {"3*70+1*54.6", "СИП-2", 1.073, 0.147},
            {"1*16+1*25", "СИП-1", 3.29, 0.149},
            {"3*16+1*25", "СИП-1", 3.29, 0.149},
            {"1*16+1*25", "СИП-2", 3.29, 0.149},
            {"3*16+1*25", "СИП-2", 3.29, 0.16},
            {"2*16", "СИП-4", 3.82, 0.151},
            {"4*16", "СИП-4", 3.82, 0.146},
            {"3*240+1*95", "СИП-2", 0.488, 0.135},
            {"4*120", "СИП-4", 0.506, 0.14},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.marking) + " " + c.kind);
        const TLineImpedance loop = GetSipLineImpedance(c.marking, c.kind);
        EXPECT_EQ(loop.Refusal, "");
        EXPECT_DOUBLE_EQ(loop.R, c.r);
        EXPECT_DOUBLE_EQ(loop.X, c.x);
    }
}

TEST(SipLineUnitLookup, UnknownMarkingOfTheKindIsRefused)
{
    struct Case
    {
        const char *marking;
        const char *kind;
    };
    const Case cases[] = {
            {"4*50", "СИП-1"},
            {"3*50+1*50", "СИП-4"},
            {"3*70 + 1*54.6", "СИП-2"},
            {"3х70+1х54.6", "СИП-2"}, // Cyrillic х instead of the asterisk
            {"", "СИП-1"},
            {"3*70+1*54.6", "сип-1"},
            {"3*70+1*54.6", "Кабель с ПВХ изоляцией"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.marking) + " " + c.kind);
        EXPECT_EQ(GetSipLineImpedance(c.marking, c.kind).Refusal, "Неизвестная марка СИП");
    }
}

TEST(SipLineUnitLookup, MarkingListsMatchTheLookup)
{
    EXPECT_EQ(SipMarkings("СИП-1").size(), 19u);
    EXPECT_EQ(SipMarkings("СИП-1"), SipMarkings("СИП-2"));
    EXPECT_EQ(SipMarkings("СИП-1").front(), "1*16+1*25");
    EXPECT_EQ(SipMarkings("СИП-1").back(), "3*240+1*95");
    EXPECT_EQ(SipMarkings("СИП-4").size(), 9u);
    EXPECT_EQ(SipMarkings("СИП-4").front(), "2*16");
    EXPECT_EQ(SipMarkings("СИП-4").back(), "4*120");
    EXPECT_TRUE(SipMarkings("Воздушная").empty());

    // Every offered marking is accepted with non-negative values.
    for (const char *kind : {"СИП-1", "СИП-2", "СИП-4"}) {
        for (const std::string &marking : SipMarkings(kind)) {
            const TLineImpedance loop = GetSipLineImpedance(marking, kind);
            EXPECT_EQ(loop.Refusal, "") << kind << " " << marking;
            EXPECT_GT(loop.R, 0) << kind << " " << marking;
            EXPECT_GT(loop.X, 0) << kind << " " << marking;
        }
    }
}

TEST(SipLineUnitLookup, CrossSectionsComeFromTheMarking)
{
    // Every marking of every kind reads, so no SIP section loses its heating check.
    for (const char *kind : {"СИП-1", "СИП-2", "СИП-4"}) {
        for (const std::string &marking : SipMarkings(kind))
            EXPECT_TRUE(SipCrossSections(marking)) << marking;
    }
    const auto sections = [](std::string_view marking) {
        const std::optional<SipConductors> c = SipCrossSections(marking);
        return c ? std::pair(c->Phase, c->Neutral) : std::pair(-1.0, -1.0);
    };
    EXPECT_EQ(sections("3*16+1*54.6"), std::pair(16.0, 54.6));
    EXPECT_EQ(sections("1*16+1*25"), std::pair(16.0, 25.0));
    EXPECT_EQ(sections("3*240+1*95"), std::pair(240.0, 95.0));
    EXPECT_EQ(sections("4*16"), std::pair(16.0, 16.0));
    EXPECT_EQ(sections("2*25"), std::pair(25.0, 25.0));
    for (std::string_view bad : {"", "16", "3*+1*25", "3*16+2*25", "3*16+1*", "3*0+1*25"})
        EXPECT_FALSE(SipCrossSections(bad)) << bad;
}

} // namespace
} // namespace tormel
