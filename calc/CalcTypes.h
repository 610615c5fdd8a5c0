#pragma once

#include <array>
#include <string>

namespace tormel {

constexpr int LineCount = 6;

// The seven texts of one line section, exactly as they stand in its row of controls.
struct TLineInput
{
    std::string KindPerform;
    std::string Stuff;
    std::string Ff;
    std::string Fn;
    std::string Length;
    std::string QuanPar;
    std::string Temperature;
};

// The raw texts of one calculation; nothing is converted before the driver reads them.
struct TCalcInput
{
    std::string TransPower;
    std::string WindKind;
    std::array<TLineInput, LineCount> Lines;
    std::string RArc;
};

// The current calculation result, in milliohms and amperes. A successful
// calculation replaces every field except Isr and TimeSR, which only the
// protection device check writes.
struct TCalcResult
{
    double Rt = 0;
    double Xt = 0;
    double Zt = 0;
    std::array<double, LineCount> RLine{};
    std::array<double, LineCount> XLine{};
    std::array<double, LineCount> ZLine{};
    double RLineSum = 0;
    double XLineSum = 0;
    double ZLineSum = 0;
    double Rother = 0;
    double Rsum = 0;
    double Xsum = 0;
    double Zsum = 0;
    double Iokz = 0;
    double Isr = 0;
    std::string TimeSR;

    // How each section entered the loop: its length in metres and its loop resistance and
    // reactance per metre (phase plus neutral, the temperature factor applied to the
    // resistance, divided by the parallel count), so that RLine = RLinePerMetre x length.
    std::array<double, LineCount> LineLength{};
    std::array<double, LineCount> RLinePerMetre{};
    std::array<double, LineCount> XLinePerMetre{};
    // What the data tables gave for each section, before the temperature factor and the
    // parallel count: the loop's resistance and reactance per metre (phase plus neutral),
    // and the temperature factor of the resistance.
    std::array<double, LineCount> RLineTablePerMetre{};
    std::array<double, LineCount> XLineTablePerMetre{};
    std::array<double, LineCount> LineKt{};
};

// Phase voltage of the 0.4 kV network; with the loop in milliohms it gives amperes.
inline constexpr double PhaseVoltageMilliAmps = 231000.0;

// Answer of a line lookup: R and X in milliohms per metre; of one conductor for
// cables and overhead lines, of the whole phase-to-neutral loop for SIP and busbars.
// A refused lookup gives the text of its message box and no values.
struct TLineImpedance
{
    double R = 0;
    double X = 0;
    std::string Refusal; // empty when the lookup gave values

    bool Refused() const { return !Refusal.empty(); }
};

} // namespace tormel
