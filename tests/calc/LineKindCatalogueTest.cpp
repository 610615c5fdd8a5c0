#include "calc/LineKindCatalogue.h"
#include "session/MainInputModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tormel {
namespace {

class LineKindTest : public ::testing::Test
{
protected:
    TLineInput &Row(int line) { return model.Lines[static_cast<std::size_t>(line - 1)]; }
    LineRowLists &Lists(int line) { return model.LineLists[static_cast<std::size_t>(line - 1)]; }

    bool ChangeKind(int line, const std::string &kind)
    {
        Row(line).KindPerform = kind;
        return Record(model.ApplyLineKind(line));
    }

    // Keeps a refusal's text; true when there was none.
    bool Record(const std::optional<std::string> &refusal)
    {
        if (refusal)
            refusals.push_back(*refusal);
        return !refusal;
    }

    MainInputModel model;
    std::vector<std::string> refusals;
};

TEST_F(LineKindTest, WindowStartsAsTheCatalogueWouldSetIt)
{
    for (int line = 1; line <= LineCount; ++line) {
        const TLineInput before = Row(line);
        const LineRowLists beforeLists = Lists(line);
        EXPECT_TRUE(Record(model.ApplyLineKind(line)));
        EXPECT_EQ(Lists(line).Stuff, beforeLists.Stuff) << "line " << line;
        EXPECT_EQ(Row(line).Stuff, before.Stuff) << "line " << line;
        EXPECT_TRUE(Lists(line).CrossSectionsEnabled) << "line " << line;
    }
    EXPECT_EQ(Row(1).Stuff, "Алюминий");
    EXPECT_EQ(Row(6).Stuff, "Медь");
    EXPECT_TRUE(refusals.empty());
}

TEST_F(LineKindTest, CableKindRestoresMaterialsAndKeepsCrossSections)
{
    Row(2).Ff = "35";
    Row(2).Fn = "16";
    ChangeKind(2, "СИП-4");
    EXPECT_FALSE(Lists(2).CrossSectionsEnabled);
    EXPECT_FALSE(Lists(2).CrossSectionsEnabled);
    EXPECT_EQ(Row(2).Stuff, "2*16");
    EXPECT_EQ(Lists(2).Stuff.size(), 9u);

    ChangeKind(2, "Кабель с ПВХ изоляцией");
    EXPECT_EQ(Lists(2).Stuff, (std::vector<std::string>{"Алюминий", "Медь"}));
    EXPECT_EQ(Row(2).Stuff, "Медь");
    EXPECT_TRUE(Lists(2).CrossSectionsEnabled);
    EXPECT_TRUE(Lists(2).CrossSectionsEnabled);
    EXPECT_EQ(Row(2).Ff, "35");
    EXPECT_EQ(Row(2).Fn, "16");
    EXPECT_EQ(Lists(2).Ff.size(), 16u);
}

TEST_F(LineKindTest, EveryKindChangeResetsTheMaterialToTheLineDefault)
{
    Row(1).Stuff = "Медь";
    ChangeKind(1, "Воздушная");
    EXPECT_EQ(Row(1).Stuff, "Алюминий");

    Row(4).Stuff = "Алюминий";
    ChangeKind(4, "Воздушная");
    EXPECT_EQ(Row(4).Stuff, "Медь");

    ChangeKind(5, "СИП-1");
    Row(5).Stuff = "3*240+1*95";
    ChangeKind(5, "СИП-2");
    EXPECT_EQ(Row(5).Stuff, "1*16+1*25");
    EXPECT_EQ(Lists(5).Stuff.size(), 19u);
}

struct KindList
{
    const char *kind;
    std::size_t count;
    const char *first;
    const char *last;
};

TEST_F(LineKindTest, EachKindOffersItsOwnList)
{
    const KindList lists[] = {
            {"СИП-1", 19, "1*16+1*25", "3*240+1*95"},
            {"СИП-2", 19, "1*16+1*25", "3*240+1*95"},
            {"СИП-4", 9, "2*16", "4*120"},
            {"Шинопровод Canalis", 36, "KDP, 20A", nullptr},
            {"Шинопровод E-line", 50, "DAM, 25A", nullptr},
            {"Шинопровод Gersan", 51, "GGDA, 160A", nullptr},
            {"Шинопровод MEMPOWER", 26, "LUX, 25A", nullptr},
            {"Шинопровод Naxso", 29, "LUX, 25A", "NXW, 6300A"},
            {"Шинопровод LV70", 26, "BD01, 40A", nullptr},
            {"Шинопровод WavePro", 32, "LT(Cu), 250A", nullptr},
            {"Шинопровод LS Cable", 25, "LS(Cu), 630A", "LS(Al), 6000A"},
            {"Шинопровод ШМА, ШРА", 20, "ШМА4, 1250A", nullptr},
    };
    for (const KindList &list : lists) {
        SCOPED_TRACE(list.kind);
        ChangeKind(3, list.kind);
        const std::vector<std::string> &stuff = Lists(3).Stuff;
        ASSERT_EQ(stuff.size(), list.count);
        EXPECT_EQ(Row(3).Stuff, list.first);
        EXPECT_EQ(stuff.front(), list.first);
        if (list.last) {
            EXPECT_EQ(stuff.back(), list.last);
        }
        EXPECT_FALSE(Lists(3).CrossSectionsEnabled);
        EXPECT_FALSE(Lists(3).CrossSectionsEnabled);
    }
    EXPECT_TRUE(refusals.empty());

    // Other lines are left alone.
    EXPECT_EQ(Row(2).Stuff, "Медь");
    EXPECT_TRUE(Lists(4).CrossSectionsEnabled);
}

TEST_F(LineKindTest, TypingAKindReportsEveryIncompleteText)
{
    ChangeKind(6, "СИП-1");
    Row(6).Length = "12";
    const TLineInput sip = Row(6);
    const LineRowLists sipLists = Lists(6);
    const std::u32string letters = U"Воздушная";

    std::string typed;
    int reported = 0;
    for (std::size_t count = 1; count <= letters.size(); ++count) {
        // Each letter of this word is two bytes of UTF-8.
        typed = std::string("Воздушная").substr(0, 2 * count);
        const bool accepted = ChangeKind(6, typed);
        EXPECT_EQ(accepted, count == letters.size()) << typed;
        if (count < letters.size()) {
            ++reported;
            EXPECT_EQ(Lists(6).Stuff, sipLists.Stuff);
            EXPECT_EQ(Row(6).Stuff, sip.Stuff);
            EXPECT_FALSE(Lists(6).CrossSectionsEnabled);
        }
    }
    EXPECT_EQ(
            refusals,
            std::vector<std::string>(static_cast<std::size_t>(reported), "Неизвестный тип линии"));
    // The completed word acts as picking the item.
    EXPECT_EQ(Row(6).Stuff, "Медь");
    EXPECT_TRUE(Lists(6).CrossSectionsEnabled);
    EXPECT_EQ(Row(6).Length, "12");
}

TEST_F(LineKindTest, LineNumberOutsideOneToSixChangesNothing)
{
    const MainInputModel before;
    EXPECT_TRUE(Record(model.ApplyLineKind(0)));
    EXPECT_TRUE(Record(model.ApplyLineKind(7)));
    EXPECT_TRUE(refusals.empty());
    for (int line = 1; line <= LineCount; ++line)
        EXPECT_EQ(Row(line).Stuff, before.Lines[static_cast<std::size_t>(line - 1)].Stuff);
}

class WindKindTest : public LineKindTest
{
protected:
    bool ChangeScheme(const std::string &scheme)
    {
        model.WindKind.Text = scheme;
        return Record(model.WindKindComboBoxChange());
    }
};

TEST_F(WindKindTest, SchemeRefillsThePowerListAndDropsTheChosenPower)
{
    EXPECT_EQ(model.TransPower.Text, "25");
    EXPECT_EQ(model.TransPower.Items.size(), 12u);

    ChangeScheme("1/1-0");
    EXPECT_EQ(model.TransPower.Text, "10");
    EXPECT_EQ(model.TransPower.Items, (std::vector<std::string>{"1.25", "2.5", "4", "10"}));

    ChangeScheme("T/Y-0");
    EXPECT_EQ(model.TransPower.Text, "25");
    EXPECT_EQ(model.TransPower.Items.size(), 13u);

    model.TransPower.Text = "250";
    ChangeScheme("Y/Z-0");
    EXPECT_EQ(model.TransPower.Text, "25");
    EXPECT_EQ(model.TransPower.Items.back(), "250");
    EXPECT_TRUE(refusals.empty());
}

TEST_F(WindKindTest, UnknownSchemeLeavesThePowerList)
{
    ChangeScheme("1/1-0");
    model.TransPower.Text = "4";
    for (const char *typed : {"", "Y", "Y/", "y/y-0", "Y/Y-0 "}) {
        EXPECT_FALSE(ChangeScheme(typed)) << typed;
        EXPECT_EQ(model.TransPower.Text, "4") << typed;
        EXPECT_EQ(model.TransPower.Items.size(), 4u) << typed;
    }
    EXPECT_EQ(refusals, std::vector<std::string>(5, "Неизвестная схема обмоток трансформатора"));
}

TEST(MainInputModelTest, CalculationReadsEveryTextUnchanged)
{
    MainInputModel model;
    model.TransPower.Text = " 025";
    model.RArc = "12.6";
    TLineInput &row = model.Lines[3];
    row.KindPerform = "Воздушная";
    row.Stuff = "Алюминий";
    row.Ff = "50";
    row.Fn = "35";
    row.Length = "1,5";
    row.QuanPar = "3";
    row.Temperature = "-5";

    const TCalcInput input = model.ToCalcInput();
    EXPECT_EQ(input.TransPower, " 025");
    EXPECT_EQ(input.WindKind, "Y/Y-0");
    EXPECT_EQ(input.RArc, "12.6");
    const TLineInput &line = input.Lines[3];
    EXPECT_EQ(line.KindPerform, "Воздушная");
    EXPECT_EQ(line.Stuff, "Алюминий");
    EXPECT_EQ(line.Ff, "50");
    EXPECT_EQ(line.Fn, "35");
    EXPECT_EQ(line.Length, "1,5");
    EXPECT_EQ(line.QuanPar, "3");
    EXPECT_EQ(line.Temperature, "-5");
    EXPECT_EQ(input.Lines[2].Stuff, "Медь");
}

} // namespace
} // namespace tormel
