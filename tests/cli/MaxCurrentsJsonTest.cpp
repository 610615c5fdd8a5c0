#include "cli/MaxCurrentsJson.h"

#include "protection/MaxCurrents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tormel {
namespace {

using Json = nlohmann::ordered_json;

// Values whose shortest decimal form needs all 17 digits.
const double Third = 1.0 / 3;
const double Awkward = 0.1 + 0.2;

TMaxCurrents sample()
{
    TMaxCurrents c;
    c.Z1T = TImpedance{Third, Awkward};
    for (std::size_t p = 0; p < c.Ik1.size(); ++p) {
        c.Ik3[p] = 12832.6 / (p + Third);
        c.Ik1[p] = 9000 * Awkward / (p + 1);
        c.Ip[p] = std::sqrt(2.0) * (p + 1);
    }
    c.Breaking = TBreakingCheck{12832.6 + Third, 25000, 25000 / (12832.6 + Third), true};
    TSectionWithstand full{
            115.0 + Third, 4000 + Awkward, 0.4, 22.1 + Third, 1e10 / 3, Awkward, false, {}, {}};
    c.Thermal[1] = full;
    TSectionWithstand noDevice = full;
    noDevice.Time.reset();
    noDevice.Smin.reset();
    noDevice.Ok.reset();
    c.Thermal[4] = noDevice;
    return c;
}

TEST(MaxCurrentsJson, EveryNumberReadsBackToTheSameDouble)
{
    const TMaxCurrents c = sample();
    const Json back = Json::parse(cli::MaxCurrentsJson(c).dump(2));

    EXPECT_EQ(back["Z1T"]["R"].get<double>(), Third);
    EXPECT_EQ(back["Z1T"]["X"].get<double>(), Awkward);
    ASSERT_EQ(back["Ik3"].size(), 7u);
    ASSERT_EQ(back["Ik1"].size(), 7u);
    ASSERT_EQ(back["Ip"].size(), 7u);
    for (std::size_t p = 0; p < 7; ++p) {
        EXPECT_EQ(back["Ik3"][p].get<double>(), *c.Ik3[p]);
        EXPECT_EQ(back["Ik1"][p].get<double>(), c.Ik1[p]);
        EXPECT_EQ(back["Ip"][p].get<double>(), c.Ip[p]);
    }
    const Json &breaking = back["Breaking"];
    EXPECT_EQ(breaking["Imax"].get<double>(), c.Breaking->Imax);
    EXPECT_EQ(breaking["Icu"].get<double>(), 25000);
    EXPECT_EQ(breaking["Margin"].get<double>(), c.Breaking->Margin);
    EXPECT_EQ(breaking["Ok"], true);

    ASSERT_EQ(back["Thermal"].size(), 6u);
    const Json &entry = back["Thermal"][1];
    const TSectionWithstand &expected = *c.Thermal[1];
    EXPECT_EQ(entry["K"].get<double>(), expected.K);
    EXPECT_EQ(entry["Current"].get<double>(), expected.Current);
    EXPECT_EQ(entry["Time"].get<double>(), 0.4);
    EXPECT_EQ(entry["Smin"].get<double>(), *expected.Smin);
    EXPECT_EQ(entry["Capacity"].get<double>(), expected.Capacity);
    EXPECT_EQ(entry["TimeAtMax"].get<double>(), expected.TimeAtMax);
    EXPECT_EQ(entry["Ok"], false);
}

TEST(MaxCurrentsJson, WhatIsNotComputedIsNull)
{
    TMaxCurrents c = sample();
    c.Z1T.reset();
    c.Ik3.fill(std::nullopt);
    c.Breaking.reset();
    const Json json = cli::MaxCurrentsJson(c);

    // The members in the documented order.
    std::string order;
    for (const auto &[key, value] : json.items())
        order += key + " ";
    EXPECT_EQ(order, "Z1T Ik3 Ik1 Ip Breaking Thermal ");
    EXPECT_TRUE(json["Z1T"].is_null());
    for (const Json &value : json["Ik3"])
        EXPECT_TRUE(value.is_null());
    EXPECT_TRUE(json["Breaking"].is_null());
    for (std::size_t n : {0u, 2u, 3u, 5u})
        EXPECT_TRUE(json["Thermal"][n].is_null()) << n;

    // Without a device the time, the least cross-section and the verdict are null, the
    // rest is given.
    const Json &noDevice = json["Thermal"][4];
    EXPECT_TRUE(noDevice["Time"].is_null());
    EXPECT_TRUE(noDevice["Smin"].is_null());
    EXPECT_TRUE(noDevice["Ok"].is_null());
    EXPECT_TRUE(noDevice["K"].is_number());
    EXPECT_TRUE(noDevice["Current"].is_number());
    EXPECT_TRUE(noDevice["Capacity"].is_number());
    EXPECT_TRUE(noDevice["TimeAtMax"].is_number());
}

} // namespace
} // namespace tormel
