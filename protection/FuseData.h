#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tormel {

// One rated current of a fuse link: its text in the window's list, the table key (the
// whole part of the current) and the currents, in A, at which the link melts within
// 5 s and within 0.4 s.
struct FuseRatedCurrentData
{
    std::string_view Text;
    double Key;
    double Imelt5s;
    double Imelt04s;
};

struct FuseTypeData
{
    std::string_view Name;       // as the type list shows it: "ППН", "ПН2", "НПН"
    std::string_view DeviceText; // the device type text of the result window
    std::span<const FuseRatedCurrentData> RatedCurrents;
};

// The normative time within which a fuse link has to melt.
enum class FuseTimeClass { None, Time5s, Time04s };

// The rated currents that the breaker's list offers, in its order.
std::span<const std::string_view> BreakerRatedCurrentTexts();

// The fuse types in the order of the window's type list.
std::span<const FuseTypeData> FuseTypes();

// The type whose name is exactly `name`, or nullptr.
const FuseTypeData *FindFuseType(std::string_view name);

// The melting current of the link whose key is `key` within the normative time of
// `timeClass`; nothing when the type has no such rated current.
std::optional<double>
FuseMeltingCurrent(const FuseTypeData &type, FuseTimeClass timeClass, double key);

} // namespace tormel
