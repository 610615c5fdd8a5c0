#include "calc/LineUnit.h"

#include "core/NumberReading.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

namespace tormel {

namespace {

constexpr std::array<std::string_view, 2> kMaterials = {"Алюминий", "Медь"};
constexpr std::array<std::string_view, 3> kLineKinds
        = {"Кабель с бумажной изоляцией", "Кабель с ПВХ изоляцией", "Воздушная"};

// One cross-section row: its key (the integer part of the cross-section), the text the
// cross-section lists show, R of one conductor by material and X by line kind.
struct CableRow
{
    int key;
    std::string_view text;
    std::array<double, kMaterials.size()> r;
    std::array<double, kLineKinds.size()> x;
};

// Cable and overhead line data in mOhm per metre of one conductor; -1 marks a
// combination that is not used.
// clang-format off
constexpr CableRow kRows[] = {
    // key text   R aluminium    copper    X paper   PVC     overhead
    {1,   "1.5",   {-1,          12.3},     {0,      0.126,  -1}},
    {2,   "2.5",   {12.5,        7.4},      {0.104,  0.116,  -1}},
    {4,   "4",     {7.81,        4.63},     {0.095,  0.107,  0.37}},
    {6,   "6",     {5.21,        3.09},     {0.09,   0.1,    0.36}},
    {10,  "10",    {3.12,        1.84},     {0.073,  0.099,  0.34}},
    {16,  "16",    {1.95,        1.16},     {0.0675, 0.095,  0.33}},
    {25,  "25",    {1.25,        0.74},     {0.0662, 0.091,  0.31}},
    {35,  "35",    {0.894,       0.53},     {0.0637, 0.088,  0.3}},
    {50,  "50",    {0.625,       0.37},     {0.0625, 0.085,  0.29}},
    {70,  "70",    {0.447,       0.265},    {0.0612, 0.082,  0.28}},
    {95,  "95",    {0.329,       0.195},    {0.0602, 0.081,  0.27}},
    {120, "120",   {0.261,       0.154},    {0.0602, 0.08,   0.26}},
    {150, "150",   {0.208,       0.124},    {0.0596, 0.079,  0.25}},
    {185, "185",   {0.169,       0.1},      {0.0596, 0.078,  0.25}},
    {240, "240",   {0.13,        0.077},    {0.0587, 0.077,  0.25}},
    {0,   "0",     {0,           0},        {0,      0,      0}},
};
// clang-format on

// The row of a cross-section: the number is cut toward zero to its integer part.
// The comparison stays in floating point, so a number far beyond any integer type
// (1e300) simply finds no row.
const CableRow *findRow(double crossSection)
{
    const double key = std::trunc(crossSection);
    for (const CableRow &row : kRows) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}

template<std::size_t N>
std::optional<std::size_t> indexOf(const std::array<std::string_view, N> &texts,
                                   const std::string &text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (texts[i] == text)
            return i;
    }
    return std::nullopt;
}

TLineImpedance refuse(const char *text)
{
    return {0, 0, text};
}

} // namespace

TLineImpedance GetCableLineImpedance(const std::string &crossSection,
                                     const std::string &stuff,
                                     const std::string &kindPerform)
{
    const std::optional<double> section = ReadReal(crossSection);
    if (!section)
        return refuse("Неверное сечение жилы");
    const CableRow *row = findRow(*section);
    if (row == nullptr)
        return refuse("Неизвестное сечение жилы");
    const std::optional<std::size_t> material = indexOf(kMaterials, stuff);
    if (!material)
        return refuse("Неизвестный материал жилы проводника");
    const std::optional<std::size_t> kind = indexOf(kLineKinds, kindPerform);
    if (!kind)
        return refuse("Неверный тип линии");

    const double r = row->r[*material];
    const double x = row->x[*kind];
    if (r < 0 || x < 0)
        return refuse("Тип линии с выбранным сечением не используется. Выберите другое сечение.");
    return {r, x, {}};
}

std::optional<double> CableCrossSection(const std::string &crossSection)
{
    const std::optional<double> section = ReadReal(crossSection);
    const CableRow *row = section ? findRow(*section) : nullptr;
    if (row == nullptr)
        return std::nullopt;
    return ReadReal(row->text);
}

const std::vector<std::string> &CrossSections()
{
    // The lists offer "no conductor" first, then the sections in ascending order.
    static const std::vector<std::string> sections = [] {
        std::vector<std::string> texts;
        for (const CableRow &row : kRows) {
            if (row.key == 0)
                texts.emplace(texts.begin(), row.text);
            else
                texts.emplace_back(row.text);
        }
        return texts;
    }();
    return sections;
}

} // namespace tormel
