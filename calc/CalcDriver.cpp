#include "calc/CalcDriver.h"

#include "calc/LineKindCatalogue.h"
#include "calc/LineUnit.h"
#include "calc/SipLineUnit.h"
#include "calc/TempWireUnit.h"
#include "calc/TireLineUnit.h"
#include "calc/TransUnit.h"
#include "core/NumberFormat.h"
#include "core/NumberReading.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace tormel {

namespace {

// Per-metre values and factors of one line section while it is being calculated.
struct SectionValues
{
    double Rph = 0, Xph = 0; // phase conductor, mOhm per metre
    double Rn = 0, Xn = 0;   // neutral conductor, mOhm per metre
    double Length = 0;       // metres
    int Parallel = 1;
    double Kt = 1;
    double PhaseSection = 0, NeutralSection = 0; // mm^2
    ConductorMetal Metal = ConductorMetal::None;
};

std::string LineNumber(std::size_t index)
{
    return std::to_string(index + 1);
}

CalcOutcome Refuse(CalcStep step, std::string message)
{
    return {std::nullopt, std::move(message), step};
}

// Fills the per-metre values of one section; gives the refusal's text when the section
// is refused (a lookup's or its own), nothing when it is accepted.
std::optional<std::string>
ReadLineBlock(const TLineInput &line, std::size_t index, SectionValues &section)
{
    const std::optional<LineKindGroup> group = FindLineKindGroup(line.KindPerform);
    // Without a known kind no lookup can give values, and values of an earlier
    // calculation would silently enter this one.
    if (!group)
        return "Неизвестный тип линии";

    if (*group == LineKindGroup::Cable) {
        const TLineImpedance phase = GetCableLineImpedance(line.Ff, line.Stuff, line.KindPerform);
        if (phase.Refused())
            return phase.Refusal;
        const TLineImpedance neutral = GetCableLineImpedance(line.Fn, line.Stuff, line.KindPerform);
        if (neutral.Refused())
            return neutral.Refusal;
        section.Rph = phase.R;
        section.Xph = phase.X;
        section.Rn = neutral.R;
        section.Xn = neutral.X;
        section.PhaseSection = CableCrossSection(line.Ff).value_or(0);
        section.NeutralSection = CableCrossSection(line.Fn).value_or(0);
        section.Metal
                = line.Stuff == "Алюминий" ? ConductorMetal::Aluminium : ConductorMetal::Copper;
    } else {
        // SIP and busbar data give the whole loop; half of it goes to each conductor so
        // that these sections pass through the same pair check and sums as cables.
        const TLineImpedance loop = *group == LineKindGroup::Sip
                                            ? GetSipLineImpedance(line.Stuff, line.KindPerform)
                                            : GetTireLineImpedance(line.Stuff, line.KindPerform);
        if (loop.Refused())
            return loop.Refusal;
        section.Rph = section.Rn = loop.R / 2;
        section.Xph = section.Xn = loop.X / 2;
        if (*group == LineKindGroup::Sip) {
            const std::optional<SipConductors> conductors = SipCrossSections(line.Stuff);
            section.PhaseSection = conductors ? conductors->Phase : 0;
            section.NeutralSection = conductors ? conductors->Neutral : 0;
            section.Metal = ConductorMetal::Aluminium;
        }
    }

    if (section.Rph != 0 && section.Rn == 0)
        return "Выберите сечение жилы нулевого провода линии " + LineNumber(index);
    if (section.Rph == 0 && section.Rn != 0)
        return "Выберите сечение жилы фазного провода линии " + LineNumber(index);
    return std::nullopt;
}

std::string LengthMessage(std::size_t index)
{
    return "Неверная длина линии " + LineNumber(index);
}

const char *const ArcMessage = "Неправильно введено сопротивление электрической дуги. "
                               "Рекомендуемый диапазон значений 0..40 мОм";

// The index of the section with the largest impedance, which is the one whose length
// pushed a sum beyond what a double holds.
std::size_t LargestSection(const TCalcResult &result)
{
    std::size_t largest = 0;
    for (std::size_t n = 1; n < result.ZLine.size(); ++n) {
        if (!(result.ZLine[n] <= result.ZLine[largest]))
            largest = n;
    }
    return largest;
}

} // namespace

CalcOutcome CalculateShortCircuit(const TCalcInput &input)
{
    const std::optional<double> power = ReadReal(input.TransPower);
    if (!power)
        return Refuse(CalcStep::Power, "Неверная мощность трансформатора");

    const TTransformerImpedance transformer = GetTransformerImpedance(input.WindKind, *power);
    if (transformer.Refused())
        return Refuse(CalcStep::Transformer, transformer.Refusal);

    std::array<SectionValues, LineCount> sections{};
    for (std::size_t n = 0; n < sections.size(); ++n) {
        if (std::optional<std::string> refusal = ReadLineBlock(input.Lines[n], n, sections[n]))
            return Refuse(CalcStep::Line, std::move(*refusal));
    }

    for (std::size_t n = 0; n < sections.size(); ++n) {
        const std::optional<double> length = ReadReal(input.Lines[n].Length);
        if (!length || *length < 0)
            return Refuse(CalcStep::Length, LengthMessage(n));
        sections[n].Length = *length;
    }

    for (std::size_t n = 0; n < sections.size(); ++n) {
        const std::string &text = input.Lines[n].QuanPar;
        const std::optional<int> parallel = text == "нет" ? std::optional<int>(1) : ReadWhole(text);
        if (!parallel || *parallel < 1)
            return Refuse(CalcStep::Parallel,
                          "Неверное количество параллельных проводов линии " + LineNumber(n));
        sections[n].Parallel = *parallel;
    }

    const std::optional<double> rother = ReadReal(input.RArc);
    if (!rother || *rother < 0)
        return Refuse(CalcStep::Arc, ArcMessage);

    for (std::size_t n = 0; n < sections.size(); ++n) {
        const TLineInput &line = input.Lines[n];
        const TTemperatureFactor factor
                = GetTemperatureFactor(line.Temperature, line.Stuff, line.KindPerform);
        if (factor.Refused())
            return Refuse(CalcStep::Temperature, factor.Refusal);
        sections[n].Kt = factor.Kt;
    }

    TCalcResult next;
    next.Rt = transformer.R;
    next.Xt = transformer.X;
    next.Zt = transformer.Z;
    next.RLineSum = 0;
    next.XLineSum = 0;
    for (std::size_t n = 0; n < sections.size(); ++n) {
        const SectionValues &s = sections[n];
        next.RLine[n] = (s.Rph + s.Rn) * s.Length * s.Kt / s.Parallel;
        next.XLine[n] = (s.Xph + s.Xn) * s.Length / s.Parallel;
        next.ZLine[n] = std::hypot(next.RLine[n], next.XLine[n]);
        next.LineLength[n] = s.Length;
        next.RLinePerMetre[n] = (s.Rph + s.Rn) * s.Kt / s.Parallel;
        next.XLinePerMetre[n] = (s.Xph + s.Xn) / s.Parallel;
        next.RLineTablePerMetre[n] = s.Rph + s.Rn;
        next.XLineTablePerMetre[n] = s.Xph + s.Xn;
        next.LineKt[n] = s.Kt;
        next.RPhasePerMetre[n] = s.Rph;
        next.XPhasePerMetre[n] = s.Xph;
        next.LineParallel[n] = s.Parallel;
        next.RLineCold[n] = (s.Rph + s.Rn) * s.Length / s.Parallel;
        next.PhaseCrossSection[n] = s.PhaseSection;
        next.NeutralCrossSection[n] = s.NeutralSection;
        next.LineMetal[n] = s.Metal;
        next.LineKind[n] = input.Lines[n].KindPerform;
        if (!std::isfinite(next.ZLine[n])) // a length near the limit of a double is no length
            return Refuse(CalcStep::Sum, LengthMessage(n));
        next.RLineSum += next.RLine[n];
        next.XLineSum += next.XLine[n];
    }
    next.ZLineSum = std::hypot(next.RLineSum, next.XLineSum);
    if (!std::isfinite(next.ZLineSum))
        return Refuse(CalcStep::Sum, LengthMessage(LargestSection(next)));
    next.Rother = *rother;
    next.Rsum = next.Rt / 3 + next.RLineSum + next.Rother;
    next.Xsum = next.Xt / 3 + next.XLineSum;
    next.Zsum = std::hypot(next.Rsum, next.Xsum);
    if (!std::isfinite(next.Zsum))
        return Refuse(CalcStep::Sum, ArcMessage);
    // Zsum > 0: every transformer that the lookup accepts has a positive resistance.
    next.Iokz = PhaseVoltageMilliAmps / next.Zsum;
    return {next, {}, CalcStep::None};
}

} // namespace tormel
