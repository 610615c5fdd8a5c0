#pragma once

#include "calc/CalcTypes.h"

#include <array>
#include <optional>
#include <string>

namespace tormel {

struct TDeviceDefenceState;

// How far a calculated feed is from the edge of tripping its protection device, drawn
// from the values the calculation and the device already hold.
struct TFeedAnalysis
{
    // The current of a fault at the transformer's terminals (index 0) and at the end of
    // each section (1..6), with the contact and arc resistance at the fault point; A.
    // The last is Iokz.
    std::array<double, LineCount + 1> PointCurrents{};
    // Iokz over the device's trip current; none without a device.
    std::optional<double> Margin;
    // The largest loop impedance at which the device still trips, mOhm; none without a
    // device.
    std::optional<double> LoopLimit;
    // Per section, the longest length at which the device still trips with every other
    // input unchanged, m; 0 when even no length trips it; none without a device or for a
    // section without impedance.
    std::array<std::optional<double>, LineCount> MaxLength{};
    // The largest rated current of the device's own list that still trips at Iokz with
    // everything else of the device unchanged, as the list shows it; none without a
    // device, for a breaker given by its release current, or when no entry trips.
    std::optional<std::string> LargestDevice;
};

// The analysis of a successful calculation `result` protected by `device`.
TFeedAnalysis AnalyseFeed(const TCalcResult &result, const TDeviceDefenceState &device);

// The longest length L >= 0 of a section with loop values r and x per metre, added to the
// rest of the loop r0 + j x0, at which |Z| stays within `limit`: 0 when the rest alone
// exceeds it, none when the section has no impedance or no finite limit can be given.
std::optional<double> PermittedLength(double r0, double x0, double r, double x, double limit);

} // namespace tormel
