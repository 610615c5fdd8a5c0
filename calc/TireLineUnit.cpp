#include "calc/TireLineUnit.h"

#include "calc/TireLineData.h"

#include <algorithm>

namespace tormel {

namespace {

const TireFamily *findFamily(const std::string &family)
{
    const auto families = TireFamilyTable();
    const auto it = std::find_if(families.begin(), families.end(), [&](const TireFamily &f) {
        return f.name == family;
    });
    return it == families.end() ? nullptr : &*it;
}

std::vector<std::string> displayList(const TireFamily &family)
{
    std::vector<std::string> list;
    if (family.displayOrder.empty()) {
        for (const TireModel &model : family.models)
            list.emplace_back(model.name);
    } else {
        list.assign(family.displayOrder.begin(), family.displayOrder.end());
    }
    return list;
}

} // namespace

TLineImpedance GetTireLineImpedance(const std::string &model, const std::string &family)
{
    // An unknown family has no models, so its every model is unknown too.
    if (const TireFamily *f = findFamily(family)) {
        for (const TireModel &m : f->models) {
            if (m.name == model)
                return {m.r, m.x, {}};
        }
    }
    return {0, 0, "Неизвестная марка шинопровода"};
}

const std::vector<std::string> &TireModelsInDisplayOrder(const std::string &family)
{
    static const std::vector<std::vector<std::string>> lists = [] {
        std::vector<std::vector<std::string>> all;
        for (const TireFamily &f : TireFamilyTable())
            all.push_back(displayList(f));
        return all;
    }();
    static const std::vector<std::string> none;

    const TireFamily *f = findFamily(family);
    if (f == nullptr)
        return none;
    return lists[static_cast<std::size_t>(f - TireFamilyTable().data())];
}

} // namespace tormel
