#include "session/MaxCurrentsSheet.h"

#include "calc/CalcDriver.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"
#include "session/MainInputModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tormel {
namespace {

const std::string Nbsp = "\u00A0";

class MaxCurrentsSheetTest : public ::testing::Test
{
protected:
    MaxCurrentsSheetTest()
    {
        input.WindKind = "T/Y-0";
        input.TransPower = "400";
        TLineInput &cable = input.Lines[1];
        cable.KindPerform = "Кабель с ПВХ изоляцией";
        cable.Stuff = "Медь";
        cable.Ff = "4";
        cable.Fn = "4";
        cable.Length = "5";
    }

    std::vector<SheetBlock> build(const TMaxCurrentInput &texts)
    {
        CalcOutcome outcome = CalculateShortCircuit(input);
        EXPECT_TRUE(outcome.Result);
        result = *outcome.Result;
        AlertDeviceDefence(device, result);
        analysis = AnalyseFeed(result, device);
        const TMaxCurrentReading reading = ReadMaxCurrentInput(texts, input.WindKind, 400);
        EXPECT_TRUE(reading.Settings);
        currents = ComputeMaxCurrents(result, analysis, device, *reading.Settings);
        return MaxCurrentsSheetBlocks(
                input, result, texts, analysis, currents, NumberSeparators::russian());
    }

    static bool hasLine(const std::vector<SheetBlock> &blocks, const std::string &text)
    {
        for (const SheetBlock &block : blocks) {
            if (std::find(block.Lines.begin(), block.Lines.end(), text) != block.Lines.end())
                return true;
        }
        return false;
    }

    TCalcInput input = MainInputModel().ToCalcInput();
    TCalcResult result;
    TDeviceDefenceState device;
    TFeedAnalysis analysis;
    TMaxCurrents currents;
};

TEST_F(MaxCurrentsSheetTest, TableTransformerOnUnlimitedSupplyWithoutDevice)
{
    const std::vector<SheetBlock> blocks = build({});
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].Heading,
              "6. Максимальные токи КЗ, отключающая способность и термическая стойкость");
    EXPECT_TRUE(hasLine(blocks, "Питающая сеть: мощность КЗ не ограничена, ZQ = 0."));
    EXPECT_TRUE(hasLine(blocks,
                        "Трансформатор, прямая последовательность по таблице программы (ячейка "
                        "\"T/Y-0\" 400 кВ·А, Z1т = Zт/3): R1т = 5,900 мОм; X1т = 17,007 мОм."));
    EXPECT_TRUE(hasLine(blocks,
                        "Iк(3) = U / |ZQ + Z1т| = 231000 / √(5,900² + 17,007²) = 12" + Nbsp
                                + "833 А (в начале линии)"));
    EXPECT_TRUE(hasLine(blocks, "Отключающая способность: не проверена, аппарат защиты не задан."));
    // A point row per point; the unused section 1 repeats the start.
    ASSERT_TRUE(blocks[0].Table);
    ASSERT_EQ(blocks[0].Table->Rows.size(), 7u);
    EXPECT_EQ(blocks[0].Table->Rows[1][2], "12" + Nbsp + "833");
    EXPECT_NE(blocks[0].Table->Rows[2][2], "12" + Nbsp + "833");
    // Only section 2 is checked for heating; without a device no verdict.
    ASSERT_TRUE(blocks[1].Table);
    ASSERT_EQ(blocks[1].Table->Rows.size(), 1u);
    EXPECT_EQ(blocks[1].Table->Rows[0][0], "2");
    EXPECT_EQ(blocks[1].Table->Rows[0][1], "70/160");
    EXPECT_EQ(blocks[1].Table->Rows[0][6], "---");
    EXPECT_TRUE(hasLine(blocks, "Линия 2: k = 226·√ln((160 + 234,5)/(70 + 234,5)) = 115,0."));
}

TEST_F(MaxCurrentsSheetTest, UsersDataWrittenOutWithTheirNumbers)
{
    TDeviceDefenceInput breaker;
    breaker.TokAVnom = "16";
    breaker.TokNR = "10 (\"C\")";
    breaker.KZAV = "1.1";
    ASSERT_TRUE(ComputeDeviceDefence(breaker, device, result, NumberSeparators::russian()).Line);
    const std::vector<SheetBlock> blocks = build({"200", "5.5", "5.5", "6"});
    EXPECT_TRUE(hasLine(blocks,
                        "Питающая сеть: Sк = 200 МВ·А; ZQ = 160 / Sк = 0,800 мОм; XQ = "
                        "0,995·ZQ = 0,796 мОм; RQ = 0,1·XQ = 0,080 мОм."));
    EXPECT_TRUE(hasLine(blocks,
                        "R1т = Pк·160000 / S² = 5.5·160000 / 400² = 5,500 мОм; Z1т = "
                        "uк/100·160000 / S = 5.5/100·160000 / 400 = 22,000 мОм;"));
    const std::string breaking
            = "Отключающая способность (ПУЭ 3.1.3): Iмакс = "
              + FormatNumber(currents.Imax[0], 0, NumberSeparators::russian()) + " А > Icu = 6"
              + Nbsp + "000 А — недостаточна, запас Icu/Iмакс = "
              + FormatNumber(6000 / currents.Imax[0], 2, NumberSeparators::russian()) + ".";
    EXPECT_TRUE(hasLine(blocks, breaking)) << breaking;
    const std::vector<std::string> &row = blocks[1].Table->Rows[0];
    EXPECT_EQ(row[4], "0,4");
    EXPECT_EQ(row[6], "не проходит");
}

TEST_F(MaxCurrentsSheetTest, SinglePhaseTransformer)
{
    input.WindKind = "1/1-0";
    input.TransPower = "10";
    CalcOutcome outcome = CalculateShortCircuit(input);
    ASSERT_TRUE(outcome.Result);
    analysis = AnalyseFeed(*outcome.Result, device);
    currents = ComputeMaxCurrents(
            *outcome.Result, analysis, device, *ReadMaxCurrentInput({}, "1/1-0", 10).Settings);
    const std::vector<SheetBlock> blocks = MaxCurrentsSheetBlocks(
            input, *outcome.Result, {}, analysis, currents, NumberSeparators::russian());
    EXPECT_TRUE(hasLine(blocks, "Трансформатор однофазный: трехфазное КЗ не рассчитывается."));
    EXPECT_EQ(blocks[0].Table->Rows[0][2], "---");
}

} // namespace
} // namespace tormel
