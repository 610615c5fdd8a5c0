#include "calc/TransUnit.h"

#include <array>
#include <cmath>
#include <string_view>

namespace tormel {

namespace {

struct Cell
{
    double r;
    double x;
};

constexpr std::size_t kSchemeCount = 4;

// One rated power: its value, the text the power list shows, and a cell per scheme.
struct Rating
{
    double kva;
    std::string_view text;
    std::array<Cell, kSchemeCount> cells;
};

// The winding schemes in table column order, with the power text the power list
// takes when the scheme is chosen.
struct Scheme
{
    std::string_view name;
    std::string_view defaultPower;
};

constexpr std::array<Scheme, kSchemeCount> kSchemes = {{
        {"Y/Y-0", "25"},
        {"T/Y-0", "25"},
        {"Y/Z-0", "25"},
        {"1/1-0", "10"},
}};

// Transformer R and X to a single-phase fault in mOhm (three-phase total; three times
// the phase value for "1/1-0"); {0, 0} means there is no such transformer.
// clang-format off
constexpr Rating kRatings[] = {
    // kVA  text     "Y/Y-0" R, X       "T/Y-0" R, X       "Y/Z-0" R, X       "1/1-0" R, X
    {1.25, "1.25", {{{0,      0},       {0,     0},        {0,      0},       {6094,  3409}}}},
    {2.5,  "2.5",  {{{0,      0},       {0,     0},        {0,      0},       {2285,  2639}}}},
    {4,    "4",    {{{0,      0},       {0,     0},        {0,      0},       {1388,  1245}}}},
    {10,   "10",   {{{0,      0},       {0,     0},        {0,      0},       {428.5, 667.9}}}},
    {25,   "25",   {{{1957.2, 2417.24}, {460.8, 730.86},   {426.28, 522.35},  {0,     0}}}},
    {40,   "40",   {{{1128,   1583.04}, {264,   471.07},   {244,    331.8},   {0,     0}}}},
    {63,   "63",   {{{607.2,  1076.95}, {154.8, 305.92},   {146.52, 219.23},  {0,     0}}}},
    {100,  "100",  {{{318,    711},     {96,    193.49},   {88.24,  142.3},   {0,     0}}}},
    {160,  "160",  {{{183.5,  450.93},  {48.75, 125.89},   {47.08,  92.49},   {0,     0}}}},
    {250,  "250",  {{{115.44, 289.4},   {32.26, 80.15},    {26.13,  60.68},   {0,     0}}}},
    {320,  "320",  {{{92.65,  239.88},  {0,     0},        {0,      0},       {0,     0}}}},
    {400,  "400",  {{{66.6,   183.28},  {17.7,  51.02},    {0,      0},       {0,     0}}}},
    {630,  "630",  {{{36.33,  123.06},  {10.28, 40.62},    {0,      0},       {0,     0}}}},
    {800,  "800",  {{{0,      0},       {7.2,   32.2},     {0,      0},       {0,     0}}}},
    {1000, "1000", {{{23.06,  77.86},   {5.18,  25.89},    {0,      0},       {0,     0}}}},
    {1250, "1250", {{{19.05,  73.77},   {4.15,  20.71},    {0,      0},       {0,     0}}}},
    {1600, "1600", {{{18.36,  61.82},   {3.09,  17.73},    {0,      0},       {0,     0}}}},
    {2500, "2500", {{{0,      0},       {1.92,  10.38},    {0,      0},       {0,     0}}}},
};
// clang-format on

bool isFilled(const Cell &cell)
{
    return cell.r != 0 && cell.x != 0;
}

const Rating *findRating(double power)
{
    for (const Rating &rating : kRatings) {
        if (rating.kva == power)
            return &rating;
    }
    return nullptr;
}

std::size_t findScheme(const std::string &windKind)
{
    std::size_t i = 0;
    while (i < kSchemes.size() && kSchemes[i].name != windKind)
        ++i;
    return i;
}

TTransformerImpedance refuse(const char *text)
{
    TTransformerImpedance answer;
    answer.Refusal = text;
    return answer;
}

} // namespace

TTransformerImpedance GetTransformerImpedance(const std::string &windKind, double power)
{
    const Rating *rating = findRating(power);
    if (rating == nullptr)
        return refuse("Трансформатор выбранной мощности не заложен в программу");
    const std::size_t scheme = findScheme(windKind);
    if (scheme == kSchemes.size())
        return refuse("Неправильная схема соединения обмоток трансформатора");
    const Cell &cell = rating->cells[scheme];
    if (!isFilled(cell))
        return refuse("Неизвестная марка трансформатора. Попробуйте выбрать трансформатор "
                      "другой мощности или изменить схему соединения обмоток");
    return {cell.r, cell.x, std::sqrt(cell.r * cell.r + cell.x * cell.x), {}};
}

std::optional<TTransformerCell> FindTransformerCell(const std::string &windKind, double power)
{
    const Rating *rating = findRating(power);
    const std::size_t scheme = findScheme(windKind);
    if (rating == nullptr || scheme == kSchemes.size() || !isFilled(rating->cells[scheme]))
        return std::nullopt;
    return TTransformerCell{rating->cells[scheme].r, rating->cells[scheme].x};
}

const std::vector<std::string> &WindKinds()
{
    static const std::vector<std::string> kinds = [] {
        std::vector<std::string> names;
        for (const Scheme &scheme : kSchemes)
            names.emplace_back(scheme.name);
        return names;
    }();
    return kinds;
}

const TransformerPowerList *FindTransformerPowerList(const std::string &windKind)
{
    // Each scheme offers exactly the powers whose cells it fills, in ascending order.
    static const std::array<TransformerPowerList, kSchemeCount> lists = [] {
        std::array<TransformerPowerList, kSchemeCount> all;
        for (std::size_t s = 0; s < kSchemeCount; ++s) {
            all[s].text = kSchemes[s].defaultPower;
            for (const Rating &rating : kRatings) {
                if (isFilled(rating.cells[s]))
                    all[s].items.emplace_back(rating.text);
            }
        }
        return all;
    }();
    const std::size_t scheme = findScheme(windKind);
    return scheme == kSchemes.size() ? nullptr : &lists[scheme];
}

} // namespace tormel
