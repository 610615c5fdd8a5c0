#pragma once

#include <array>
#include <string>

namespace tormel {

constexpr int LineCount = 6;

// The metal of a section's conductors; None for a section the program does not check
// for heating (busbar trunking).
enum class ConductorMetal { None, Aluminium, Copper };

// The seven texts of one line section, in the order of its row of controls. TLineInput
// holds them as they stand in the row; a request that may leave some of them out holds
// them as optionals (feed/BatchInput.h), so the seven fields are written down once.
template<typename Text>
struct LineTexts
{
    Text KindPerform;
    Text Stuff;
    Text Ff;
    Text Fn;
    Text Length;
    Text QuanPar;
    Text Temperature;
};

using TLineInput = LineTexts<std::string>;

// The same seven texts held as another type, field by field.
template<typename To, typename From>
LineTexts<To> ConvertLineTexts(const LineTexts<From> &from)
{
    return {from.KindPerform,
            from.Stuff,
            from.Ff,
            from.Fn,
            from.Length,
            from.QuanPar,
            from.Temperature};
}

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
    // What the largest fault currents and the conductors' heating need of each section.
    // The phase conductor's resistance and reactance per metre at 20 degrees, of one
    // conductor (half the loop for SIP and busbars), before the parallel count:
    std::array<double, LineCount> RPhasePerMetre{};
    std::array<double, LineCount> XPhasePerMetre{};
    std::array<int, LineCount> LineParallel{1, 1, 1, 1, 1, 1};
    // The section's loop resistance at 20 degrees: RLine without the temperature factor.
    std::array<double, LineCount> RLineCold{};
    // The cross-sections of one phase and one neutral conductor, mm^2; 0 for a section
    // without conductors and for busbar trunking.
    std::array<double, LineCount> PhaseCrossSection{};
    std::array<double, LineCount> NeutralCrossSection{};
    std::array<ConductorMetal, LineCount> LineMetal{};
    std::array<std::string, LineCount> LineKind{}; // the kind text, as in TLineInput
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
