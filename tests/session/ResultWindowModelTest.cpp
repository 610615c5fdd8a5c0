#include "session/ResultWindowModel.h"

#include "core/NumberFormat.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tormel {
namespace {

TEST(ResultWindowModelTest, RoundsTheArcResistanceToWholeMilliohms)
{
    TCalcResult result;
    result.Rother = 12.6;
    TCalcInput input;
    const TDeviceDefenceState device;
    ResultWindowModel window(device);
    window.Fill(input, result, NumberSeparators::english());
    EXPECT_EQ(window.RotherLabel, "Rпр=13 мОм");
}

TEST(ResultWindowModelTest, LabelsAreListedOnceEachInWindowOrder)
{
    TDeviceDefenceState device;
    ResultWindowModel window(device);
    window.XLineLabels[3] = "1.00";
    device.TimeSR = "Tср < 5 с";

    const auto labels = window.Labels();
    ASSERT_EQ(labels.size(), 5u + 18u + 3u + 6u + 5u);
    std::set<std::string> names;
    for (const auto &label : labels)
        names.insert(label.first);
    EXPECT_EQ(names.size(), labels.size());

    EXPECT_EQ(labels.front().first, "StLabel");
    EXPECT_EQ(labels[5].first, "RLine1Label");
    EXPECT_EQ(labels[7].first, "ZLine1Label");
    EXPECT_EQ(labels[5 + 3 * 3 + 1], (std::pair<std::string, std::string>{"XLine4Label", "1.00"}));
    EXPECT_EQ(labels[5 + 18 + 3 + 4],
              (std::pair<std::string, std::string>{"TimeSRLabel", "Tср < 5 с"}));
    EXPECT_EQ(labels.back().first, "IokzrezLabel");
}

} // namespace
} // namespace tormel
