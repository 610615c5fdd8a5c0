#include "calc/LineKindCatalogue.h"

#include "calc/CalcTypes.h"
#include "calc/SipLineUnit.h"
#include "calc/TireLineUnit.h"

namespace tormel {

namespace {

struct KindEntry
{
    const char *Text;
    LineKindGroup Group;
};

constexpr KindEntry Kinds[] = {
        {"Кабель с бумажной изоляцией", LineKindGroup::Cable},
        {"Кабель с ПВХ изоляцией", LineKindGroup::Cable},
        {"Воздушная", LineKindGroup::Cable},
        {"СИП-1", LineKindGroup::Sip},
        {"СИП-2", LineKindGroup::Sip},
        {"СИП-4", LineKindGroup::Sip},
        {"Шинопровод Canalis", LineKindGroup::Tire},
        {"Шинопровод E-line", LineKindGroup::Tire},
        {"Шинопровод Gersan", LineKindGroup::Tire},
        {"Шинопровод MEMPOWER", LineKindGroup::Tire},
        {"Шинопровод Naxso", LineKindGroup::Tire},
        {"Шинопровод LV70", LineKindGroup::Tire},
        {"Шинопровод WavePro", LineKindGroup::Tire},
        {"Шинопровод LS Cable", LineKindGroup::Tire},
        {"Шинопровод ШМА, ШРА", LineKindGroup::Tire},
};

} // namespace

const std::vector<std::string> &LineKinds()
{
    static const std::vector<std::string> kinds = [] {
        std::vector<std::string> texts;
        for (const KindEntry &kind : Kinds)
            texts.emplace_back(kind.Text);
        return texts;
    }();
    return kinds;
}

std::optional<LineKindGroup> FindLineKindGroup(const std::string &kindPerform)
{
    for (const KindEntry &kind : Kinds) {
        if (kindPerform == kind.Text)
            return kind.Group;
    }
    return std::nullopt;
}

const std::vector<std::string> &CableMaterials()
{
    static const std::vector<std::string> materials = {"Алюминий", "Медь"};
    return materials;
}

std::optional<LineKindChoice> ChoiceForLineKind(const std::string &kindPerform, int line)
{
    const std::optional<LineKindGroup> group = FindLineKindGroup(kindPerform);
    if (!group)
        return std::nullopt;

    LineKindChoice choice;
    switch (*group) {
    case LineKindGroup::Cable:
        choice.Items = CableMaterials();
        // Line 1 usually leaves the transformer in aluminium, the lines after it in copper.
        choice.Text = line == 1 ? choice.Items[0] : choice.Items[1];
        choice.CrossSectionsEnabled = true;
        return choice;
    case LineKindGroup::Sip:
        choice.Items = SipMarkings(kindPerform);
        break;
    case LineKindGroup::Tire:
        choice.Items = TireModelsInDisplayOrder(kindPerform);
        break;
    }
    // SIP and busbar values come whole from the marking or model, so the cross-sections
    // play no part and their lists are greyed.
    if (!choice.Items.empty())
        choice.Text = choice.Items.front();
    choice.CrossSectionsEnabled = false;
    return choice;
}

} // namespace tormel
