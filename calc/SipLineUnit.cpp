#include "calc/SipLineUnit.h"

#include "core/NumberReading.h"

#include <iterator>
#include <string_view>
#include <utility>

namespace tormel {

namespace {

struct SharedSipRow
{
    std::string_view marking;
    double r;
    double x1;
    double x2;
};

struct SipRow
{
    std::string_view marking;
    double r;
    double x;
};

// SIP data: R and X of the phase-to-neutral loop in mOhm per metre, markings in the
// order of the model list.

// clang-format off
// "СИП-1" and "СИП-2": the same markings and R, their own X.
constexpr SharedSipRow kSip12[] = {
    // marking       R      X СИП-1  X СИП-2
    {"1*16+1*25",    3.29,  0.149,   0.149},
    {"3*16+1*25",    3.29,  0.149,   0.16},
    {"3*16+1*54.6",  2.54,  0.146,   0.155},
    {"3*25+1*35",    2.186, 0.143,   0.153},
    {"3*25+1*54.6",  1.83,  0.142,   0.151},
    {"3*35+1*50",    1.588, 0.139,   0.149},
    {"3*35+1*54.6",  1.498, 0.14,    0.149},
    {"3*50+1*50",    1.361, 0.139,   0.148},
    {"3*50+1*54.6",  1.271, 0.139,   0.148},
    {"3*50+1*70",    1.134, 0.139,   0.148},
    {"3*70+1*54.6",  1.073, 0.138,   0.147},
    {"3*70+1*70",    0.936, 0.137,   0.146},
    {"3*70+1*95",    0.806, 0.138,   0.146},
    {"3*95+1*70",    0.813, 0.134,   0.143},
    {"3*95+1*95",    0.683, 0.134,   0.142},
    {"3*120+1*95",   0.616, 0.132,   0.14},
    {"3*150+1*95",   0.569, 0.13,    0.138},
    {"3*185+1*95",   0.527, 0.13,    0.137},
    {"3*240+1*95",   0.488, 0.129,   0.135},
};

// "СИП-4".
constexpr SipRow kSip4[] = {
    // marking    R      X
    {"2*16",      3.82,  0.151},
    {"2*25",      2.4,   0.143},
    {"4*16",      3.82,  0.146},
    {"4*25",      2.4,   0.141},
    {"4*35",      1.736, 0.149},
    {"4*50",      1.282, 0.148},
    {"4*70",      0.886, 0.146},
    {"4*95",      0.64,  0.142},
    {"4*120",     0.506, 0.14},
};
// clang-format on

struct SipKind
{
    std::string_view name;
    std::vector<SipRow> rows;
    std::vector<std::string> markings;
};

SipKind makeKind(std::string_view name, std::vector<SipRow> rows)
{
    SipKind kind{name, std::move(rows), {}};
    for (const SipRow &row : kind.rows)
        kind.markings.emplace_back(row.marking);
    return kind;
}

// The three kinds in the order the lookup tests them.
const std::vector<SipKind> &sipKinds()
{
    static const std::vector<SipKind> kinds = [] {
        std::vector<SipRow> sip1;
        std::vector<SipRow> sip2;
        for (const SharedSipRow &row : kSip12) {
            sip1.push_back({row.marking, row.r, row.x1});
            sip2.push_back({row.marking, row.r, row.x2});
        }
        return std::vector<SipKind>{makeKind("СИП-1", std::move(sip1)),
                                    makeKind("СИП-2", std::move(sip2)),
                                    makeKind("СИП-4", {std::begin(kSip4), std::end(kSip4)})};
    }();
    return kinds;
}

const SipKind *findKind(const std::string &kindPerform)
{
    for (const SipKind &kind : sipKinds()) {
        if (kind.name == kindPerform)
            return &kind;
    }
    return nullptr;
}

} // namespace

TLineImpedance GetSipLineImpedance(const std::string &marking, const std::string &kindPerform)
{
    // A kind that is not SIP has no markings, so every marking is unknown for it.
    if (const SipKind *kind = findKind(kindPerform)) {
        for (const SipRow &row : kind->rows) {
            if (row.marking == marking)
                return {row.r, row.x, {}};
        }
    }
    return {0, 0, "Неизвестная марка СИП"};
}

std::optional<SipConductors> SipCrossSections(std::string_view marking)
{
    const std::size_t star = marking.find('*');
    if (star == std::string_view::npos)
        return std::nullopt;
    const std::size_t plus = marking.find('+', star);
    const std::optional<double> phase = ReadReal(marking.substr(star + 1, plus - star - 1));
    if (!phase || !(*phase > 0))
        return std::nullopt;
    if (plus == std::string_view::npos)
        return SipConductors{*phase, *phase};
    const std::string_view rest = marking.substr(plus + 1);
    if (!rest.starts_with("1*"))
        return std::nullopt;
    const std::optional<double> neutral = ReadReal(rest.substr(2));
    if (!neutral || !(*neutral > 0))
        return std::nullopt;
    return SipConductors{*phase, *neutral};
}

const std::vector<std::string> &SipMarkings(const std::string &kindPerform)
{
    static const std::vector<std::string> none;
    const SipKind *kind = findKind(kindPerform);
    return kind ? kind->markings : none;
}

} // namespace tormel
