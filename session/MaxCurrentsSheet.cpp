#include "session/MaxCurrentsSheet.h"

#include "calc/CalcTypes.h"
#include "core/NumberFormat.h"
#include "core/NumberReading.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"

#include <cmath>

namespace tormel {

namespace {

class Writer
{
public:
    explicit Writer(const NumberSeparators &separators)
        : m_separators(separators)
    {}
    std::string ohms(double value) const { return FormatNumber(value, 3, m_separators); }
    std::string amps(double value) const { return FormatNumber(value, 0, m_separators); }
    std::string general(double value) const { return FormatGeneral(value, m_separators); }
    std::string fixed(double value, int decimals) const
    {
        return FormatNumber(value, decimals, m_separators);
    }
    // "√(5,900² + 17,007²)"
    std::string modulus(const TImpedance &z) const
    {
        return "√(" + ohms(z.R) + "² + " + ohms(z.X) + "²)";
    }

private:
    const NumberSeparators &m_separators;
};

std::vector<std::string>
supplyLines(const TMaxCurrentInput &texts, const TMaxCurrents &currents, const Writer &w)
{
    if (texts.Sk.empty())
        return {"Питающая сеть: мощность КЗ не ограничена, ZQ = 0."};
    const TImpedance &q = currents.Supply;
    return {"Питающая сеть: Sк = " + texts.Sk + " МВ·А; ZQ = 160 / Sк = "
            + w.ohms(160 / ReadReal(texts.Sk).value_or(0)) + " мОм; XQ = 0,995·ZQ = " + w.ohms(q.X)
            + " мОм; RQ = 0,1·XQ = " + w.ohms(q.R) + " мОм."};
}

std::vector<std::string> transformerLines(const TCalcInput &input,
                                          const TMaxCurrentInput &texts,
                                          const TMaxCurrents &currents,
                                          const Writer &w)
{
    if (!currents.Z1T) {
        if (input.WindKind == "1/1-0")
            return {"Трансформатор однофазный: трехфазное КЗ не рассчитывается."};
        return {"Для трансформатора " + input.TransPower
                + " кВ·А схемы \"T/Y-0\" нет данных: "
                  "трехфазное КЗ не рассчитывается, пока не заданы uк и Pк."};
    }
    const TImpedance &z = *currents.Z1T;
    if (!texts.Uk.empty() && !texts.Pk.empty()) {
        const std::string &s = input.TransPower;
        return {"Трансформатор, прямая последовательность по uк = " + texts.Uk
                        + " % и Pк = " + texts.Pk + " кВт:",
                "R1т = Pк·160000 / S² = " + texts.Pk + "·160000 / " + s + "² = " + w.ohms(z.R)
                        + " мОм; Z1т = uк/100·160000 / S = " + texts.Uk + "/100·160000 / " + s
                        + " = " + w.ohms(std::hypot(z.R, z.X)) + " мОм;",
                "X1т = √(Z1т² − R1т²) = " + w.ohms(z.X) + " мОм."};
    }
    return {"Трансформатор, прямая последовательность по таблице программы (ячейка \"T/Y-0\" "
            + input.TransPower + " кВ·А, Z1т = Zт/3): R1т = " + w.ohms(z.R)
            + " мОм; X1т = " + w.ohms(z.X) + " мОм."};
}

std::vector<std::string> terminalLines(const TMaxCurrents &c, const Writer &w)
{
    const std::string u = w.general(PhaseVoltageMilliAmps);
    std::vector<std::string> lines;
    if (c.ZThree[0])
        lines.push_back("Iк(3) = U / |ZQ + Z1т| = " + u + " / " + w.modulus(*c.ZThree[0]) + " = "
                        + w.amps(*c.Ik3[0]) + " А (в начале линии)");
    lines.push_back("Iк(1)макс = U / |2/3·ZQ + Zт/3| = " + u + " / " + w.modulus(c.ZSingle[0])
                    + " = " + w.amps(c.Ik1[0]) + " А");
    const TImpedance &z = c.ZThree[0] && *c.Ik3[0] >= c.Ik1[0] ? *c.ZThree[0] : c.ZSingle[0];
    lines.push_back("κ = 1,02 + 0,98·e^(−3·R/X) = 1,02 + 0,98·e^(−3·" + w.ohms(z.R) + "/"
                    + w.ohms(z.X) + ") = " + w.fixed(c.Kappa[0], 3)
                    + "; iуд = κ·√2·Iмакс = " + w.fixed(c.Kappa[0], 3) + "·√2·" + w.amps(c.Imax[0])
                    + " = " + w.amps(c.Ip[0]) + " А");
    lines.push_back("Вдоль линии: Z1 += (rф + j·xф)·L/n; Z(1) += Rл(20 °C) + j·Xл.");
    return lines;
}

SheetTable pointTable(const TFeedAnalysis &analysis, const TMaxCurrents &c, const Writer &w)
{
    SheetTable table;
    table.Header = {{"Точка",
                     "|Z1|, мОм",
                     "Iк(3), А",
                     "|Z(1)|, мОм",
                     "Iк(1)макс, А",
                     "κ",
                     "iуд, А",
                     "Iокз, А"}};
    table.Widths = {1.6, 1.2, 1.2, 1.2, 1.3, 0.8, 1.2, 1.1};
    for (std::size_t p = 0; p < c.Ik1.size(); ++p) {
        table.Rows.push_back({p == 0 ? std::string("Начало") : "Конец " + std::to_string(p),
                              c.ZThree[p] ? w.ohms(std::hypot(c.ZThree[p]->R, c.ZThree[p]->X))
                                          : std::string("---"),
                              c.Ik3[p] ? w.amps(*c.Ik3[p]) : std::string("---"),
                              w.ohms(std::hypot(c.ZSingle[p].R, c.ZSingle[p].X)),
                              w.amps(c.Ik1[p]),
                              w.fixed(c.Kappa[p], 3),
                              w.amps(c.Ip[p]),
                              w.amps(analysis.PointCurrents[p])});
    }
    return table;
}

std::string breakingLine(const TMaxCurrents &c, const Writer &w)
{
    if (!c.Breaking) {
        return c.NoBreakingReason == BreakingGap::NoIcu
                       ? "Отключающая способность: не проверена, Icu аппарата не задана."
                       : "Отключающая способность: не проверена, аппарат защиты не задан.";
    }
    const TBreakingCheck &b = *c.Breaking;
    return "Отключающая способность (ПУЭ 3.1.3): Iмакс = " + w.amps(b.Imax)
           + (b.Ok ? " А ≤ Icu = " : " А > Icu = ") + w.amps(b.Icu) + " А — "
           + (b.Ok ? "достаточна" : "недостаточна") + ", запас Icu/Iмакс = " + w.fixed(b.Margin, 2)
           + ".";
}

std::vector<std::string>
thermalLines(const TCalcResult &result, const TMaxCurrents &c, const Writer &w)
{
    std::vector<std::string> lines
            = {"Термическая стойкость: k = K·√ln((θк + β)/(θн + β)); Sмин = Iокз·√t / k; "
               "I²t = (k·n·Sмин.пр)²; tдоп = (k·n·Sмин.пр / Iмакс)², где Sмин.пр — меньшее из "
               "сечений фазы и нуля."};
    for (std::size_t n = 0; n < c.Thermal.size(); ++n) {
        if (!c.Thermal[n])
            continue;
        const TSectionWithstand &e = *c.Thermal[n];
        std::string line = "Линия " + std::to_string(n + 1) + ": k = " + w.general(e.Metal.K)
                           + "·√ln((" + w.general(e.Temperatures.Final) + " + "
                           + w.general(e.Metal.Beta) + ")/(" + w.general(e.Temperatures.Initial)
                           + " + " + w.general(e.Metal.Beta) + ")) = " + w.fixed(e.K, 1);
        if (e.Smin) {
            const double parallel = result.LineParallel[n];
            line += "; Sмин = " + w.amps(e.Current) + "·√" + w.general(*e.Time) + " / "
                    + w.fixed(e.K, 1) + " = " + w.fixed(*e.Smin, 2)
                    + " мм²; n·Sф = " + w.general(parallel * result.PhaseCrossSection[n])
                    + " мм², n·Sн = " + w.general(parallel * result.NeutralCrossSection[n])
                    + " мм² — " + (*e.Ok ? "проходит" : "не проходит");
        }
        lines.push_back(line + ".");
    }
    if (lines.size() == 1)
        lines.push_back("Участков для проверки нет.");
    return lines;
}

SheetTable thermalTable(const TMaxCurrents &c, const Writer &w)
{
    SheetTable table;
    table.Header = {{"№",
                     "θн/θк, °C",
                     "k",
                     "Iокз, А",
                     "t, с",
                     "Sмин, мм²",
                     "Проверка",
                     "I²t, кА²·с",
                     "tдоп, с"}};
    table.Widths = {0.5, 1.2, 0.8, 1.1, 0.7, 1.1, 1.3, 1.2, 1.0};
    for (std::size_t n = 0; n < c.Thermal.size(); ++n) {
        if (!c.Thermal[n])
            continue;
        const TSectionWithstand &e = *c.Thermal[n];
        const std::string none = "---";
        table.Rows.push_back(
                {std::to_string(n + 1),
                 w.general(e.Temperatures.Initial) + "/" + w.general(e.Temperatures.Final),
                 w.fixed(e.K, 1),
                 w.amps(e.Current),
                 e.Time ? w.general(*e.Time) : none,
                 e.Smin ? w.fixed(*e.Smin, 2) : none,
                 e.Ok ? std::string(*e.Ok ? "проходит" : "не проходит") : none,
                 w.fixed(e.Capacity / 1e6, 2),
                 w.fixed(e.TimeAtMax, 3)});
    }
    return table;
}

} // namespace

std::vector<SheetBlock> MaxCurrentsSheetBlocks(const TCalcInput &input,
                                               const TCalcResult &result,
                                               const TMaxCurrentInput &texts,
                                               const TFeedAnalysis &analysis,
                                               const TMaxCurrents &currents,
                                               const NumberSeparators &separators)
{
    const Writer w(separators);
    std::vector<std::string> lines = {std::string(SheetText::MaxCurrentsBasis)};
    for (std::vector<std::string> part : {supplyLines(texts, currents, w),
                                          transformerLines(input, texts, currents, w),
                                          terminalLines(currents, w)})
        lines.insert(lines.end(), part.begin(), part.end());

    std::vector<SheetBlock> blocks;
    blocks.push_back({std::string(SheetText::MaxCurrentsHeading),
                      std::move(lines),
                      pointTable(analysis, currents, w)});
    SheetBlock checks{{}, {breakingLine(currents, w)}, std::nullopt};
    for (std::string &line : thermalLines(result, currents, w))
        checks.Lines.push_back(std::move(line));
    SheetTable thermal = thermalTable(currents, w);
    if (!thermal.Rows.empty())
        checks.Table = std::move(thermal);
    blocks.push_back(std::move(checks));
    return blocks;
}

} // namespace tormel
