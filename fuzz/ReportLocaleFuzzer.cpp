// A report made under any locale saves and reads back: the points of random results,
// written with the separators of a named locale or of a random pair, come back from the
// saved file with every cell the same, or with each separator that Windows-1251 lacks
// written as one stand-in character, the same one each time, that keeps the decimal
// separator apart from the group separator.

#include "FuzzSupport.h"

#include "calc/CalcTypes.h"
#include "core/LocaleSeparators.h"
#include "report/AskNumberModel.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/Windows1251.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using tormel::NumberSeparators;
using tormel::ReportRow;
using tormel::ReportTable;
using tormel::fuzz::Require;

constexpr std::array<const char *, 16> Locales = {"ru_RU",
                                                  "en_US",
                                                  "de_DE",
                                                  "fr_FR",
                                                  "fr_CH",
                                                  "de_CH",
                                                  "ar_EG",
                                                  "fa_IR",
                                                  "hi_IN",
                                                  "pt_BR",
                                                  "nb_NO",
                                                  "pl_PL",
                                                  "uk_UA",
                                                  "kk_KZ",
                                                  "es_ES",
                                                  "C"};
// Every separator of the toolkit's locale database, and a few that the user may set
// by hand; the middle dot is one that Windows-1251 holds.
constexpr std::array<const char *, 4> Decimals = {".", ",", "\u066B", "\u00B7"};
constexpr std::array<const char *, 11> Groups
        = {",", ".", "\u00A0", "\u202F", "\u2009", " ", "'", "\u2019", "\u066C", "\u2E41", ""};
constexpr std::array<const char *, 5> TripTimes = {"", "0,4", "5", "Тср < 0,4 с", "---"};

double consumeValue(FuzzedDataProvider &input)
{
    if (input.ConsumeIntegralInRange(0, 7) == 0)
        return input.ConsumeFloatingPoint<double>();
    return input.ConsumeFloatingPointInRange(-2e7, 2e7);
}

tormel::TCalcResult consumeResult(FuzzedDataProvider &input)
{
    tormel::TCalcResult result;
    for (double *field : {&result.Rt,
                          &result.Xt,
                          &result.RLineSum,
                          &result.XLineSum,
                          &result.Rother,
                          &result.Rsum,
                          &result.Xsum,
                          &result.Zsum,
                          &result.Iokz,
                          &result.Isr})
        *field = consumeValue(input);
    result.TimeSR = input.PickValueInArray(TripTimes);
    return result;
}

// The first UTF-8 character at text[at]; empty at the end.
std::string characterAt(const std::string &text, std::size_t at)
{
    if (at >= text.size())
        return {};
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return text.substr(at, end - at);
}

struct StandIns
{
    std::optional<std::string> decimal;
    std::optional<std::string> group;
};

// Whether the cell read back is the cell written with each separator replaced by its
// stand-in; a separator that the code page holds stands for itself.
bool sameWithStandIns(const std::string &written,
                      const std::string &read,
                      const NumberSeparators &separators,
                      StandIns &standIns)
{
    std::size_t r = 0;
    for (std::size_t w = 0; w < written.size();) {
        const bool isDecimal
                = written.compare(w, separators.decimal.size(), separators.decimal) == 0;
        const bool isGroup = !isDecimal && !separators.group.empty()
                             && written.compare(w, separators.group.size(), separators.group) == 0;
        if (!isDecimal && !isGroup) {
            if (r >= read.size() || read[r] != written[w])
                return false;
            ++w;
            ++r;
            continue;
        }
        const std::string &separator = isDecimal ? separators.decimal : separators.group;
        std::optional<std::string> &standIn = isDecimal ? standIns.decimal : standIns.group;
        const std::string replacement = tormel::IsWindows1251Text(separator)
                                                ? read.substr(r, separator.size())
                                                : characterAt(read, r);
        if (replacement.empty()
            || (tormel::IsWindows1251Text(separator) && replacement != separator)
            || replacement.find_first_of("0123456789-E;") != std::string::npos)
            return false;
        if (standIn && *standIn != replacement)
            return false;
        standIn = replacement;
        w += separator.size();
        r += replacement.size();
    }
    return r == read.size();
}

std::string describeRow(const ReportRow &row)
{
    std::string text;
    for (const std::string &cell : row)
        text += "[" + cell + "]";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    NumberSeparators separators;
    if (input.ConsumeBool()) {
        // The toolkit's locale lookup is slow and not what is tested here: once per name.
        static std::map<std::string, NumberSeparators> known;
        const std::string name = input.PickValueInArray(Locales);
        if (known.count(name) == 0) {
            const std::optional<NumberSeparators> named = tormel::NamedNumberSeparators(name);
            Require(named.has_value(), "the toolkit knows the locale", name);
            known[name] = *named;
        }
        separators = known[name];
    } else {
        separators.decimal = input.PickValueInArray(Decimals);
        separators.group = input.PickValueInArray(Groups);
        // The toolkit only ever gives the pairs of its named locales, every one of which
        // the unit tests save; a pair whose two stand-ins would coincide is none of them.
        if (separators.group == separators.decimal
            || tormel::WithWindows1251Separators(separators.group)
                       == tormel::WithWindows1251Separators(separators.decimal))
            separators.group.clear();
    }

    ReportTable table;
    const int points = input.ConsumeIntegralInRange(1, 16);
    table.SetRowCount(std::max(points, ReportTable::MinRowCount));
    for (int point = 0; point < points; ++point)
        table.SetRow(point,
                     tormel::MakeReportRow(
                             "К-" + std::to_string(point + 1), consumeResult(input), separators));

    const bool separatorsFit = tormel::IsWindows1251Text(separators.decimal)
                               && tormel::IsWindows1251Text(separators.group);
    const std::string path = tormel::fuzz::ScratchFolder() + "/locale.csv";
    const tormel::FileResult saved = tormel::SaveReportFile(table, path);
    if (!saved.Ok) {
        if (!separatorsFit
            && tormel::fuzz::Tolerate(tormel::fuzz::KnownFault::SeparatorOutsideCodePage))
            return 0;
        Require(false,
                "a report of any locale is saved",
                "decimal \"" + separators.decimal + "\", group \"" + separators.group
                        + "\": " + saved.Reason);
    }

    tormel::ParsedReport readBack;
    const tormel::FileResult read
            = tormel::ReadReportFile(path, tormel::ReportFileFormat::Semicolon, readBack);
    Require(read.Ok, "the saved file can be read", read.Reason);
    Require(!readBack.Damaged, "the program's own file is sound");
    Require(readBack.Rows.size() == std::size_t(points), "every point reads back");
    StandIns standIns;
    for (int point = 0; point < points; ++point) {
        const ReportRow &written = table.Row(point);
        const ReportRow &row = readBack.Rows[std::size_t(point)];
        for (std::size_t col = 0; col < written.size(); ++col)
            Require(sameWithStandIns(written[col], row[col], separators, standIns),
                    "each cell reads back, its separators as one stand-in each",
                    describeRow(written) + " read back as " + describeRow(row));
    }
    Require(!standIns.decimal || !standIns.group || *standIns.decimal != *standIns.group,
            "the decimal separator stays apart from the group separator",
            *standIns.decimal);
    return 0;
}
