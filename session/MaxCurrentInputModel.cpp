#include "session/MaxCurrentInputModel.h"

#include "core/NumberFormat.h"
#include "core/NumberReading.h"

namespace tormel {

MaxCurrentInputModel::Placeholders
MaxCurrentInputModel::PlaceholdersFor(const std::string &windKind,
                                      const std::string &transPower,
                                      const NumberSeparators &separators)
{
    namespace T = MaxCurrentInputText;
    Placeholders shown{std::string(T::Unlimited), {}, {}, std::string(T::NotGiven)};
    const std::optional<double> power = ReadReal(transPower);
    const std::optional<TShortCircuitRating> rating
            = power ? DefaultShortCircuitRating(windKind, *power) : std::nullopt;
    if (rating) {
        shown.Uk = FormatNumber(rating->Uk, 2, separators);
        shown.Pk = FormatNumber(rating->Pk, 2, separators);
    } else {
        const std::string_view none = windKind == "1/1-0" ? T::NotNeeded : T::NoData;
        shown.Uk = shown.Pk = none;
    }
    return shown;
}

} // namespace tormel
