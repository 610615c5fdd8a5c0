#include "session/MainInputModel.h"

#include "calc/LineUnit.h"
#include "calc/TransUnit.h"

namespace tormel {

namespace {

const char *const StartWindKind = "Y/Y-0";

ComboBoxState StartPowerList()
{
    ComboBoxState power;
    if (const TransformerPowerList *list = FindTransformerPowerList(StartWindKind)) {
        power.Items = list->items;
        power.Text = list->text;
    }
    return power;
}

// The texts and lists of line `line` (1..6) as the program starts.
void StartLineRow(int line, TLineInput &texts, LineRowLists &lists)
{
    // Line 1 starts as a paper-insulated cable, the others as PVC cables.
    const std::string &kind = LineKinds()[line == 1 ? 0 : 1];
    texts.KindPerform = kind;
    lists.KindPerform = LineKinds();
    if (std::optional<LineKindChoice> choice = ChoiceForLineKind(kind, line)) {
        lists.Stuff = std::move(choice->Items);
        texts.Stuff = std::move(choice->Text);
    }
    lists.QuanPar = {"нет", "2", "3", "4", "5", "6"};
    texts.QuanPar = "нет";
    lists.Ff = CrossSections();
    texts.Ff = "0";
    lists.Fn = CrossSections();
    texts.Fn = "0";
    lists.Temperature = {"20", "60", "70", "90", "130"};
    texts.Temperature = "20";
    texts.Length = "0";
}

} // namespace

MainInputModel::MainInputModel()
    : WindKind{WindKinds(), StartWindKind, true}
    , TransPower(StartPowerList())
{
    for (int line = 1; line <= LineCount; ++line)
        StartLineRow(line,
                     Lines[static_cast<std::size_t>(line - 1)],
                     LineLists[static_cast<std::size_t>(line - 1)]);
}

TCalcInput MainInputModel::ToCalcInput() const
{
    TCalcInput input;
    input.TransPower = TransPower.Text;
    input.WindKind = WindKind.Text;
    input.Lines = Lines;
    input.RArc = RArc;
    return input;
}

std::optional<std::string> MainInputModel::WindKindComboBoxChange()
{
    const TransformerPowerList *list = FindTransformerPowerList(WindKind.Text);
    // Typing a scheme letter by letter passes through texts that are no scheme yet.
    if (!list)
        return "Неизвестная схема обмоток трансформатора";
    // The earlier power is dropped even when the new scheme offers it too.
    TransPower.Items = list->items;
    TransPower.Text = list->text;
    return std::nullopt;
}

std::optional<std::string> MainInputModel::ApplyLineKind(int line)
{
    if (line < 1 || line > LineCount)
        return std::nullopt;
    const std::size_t n = static_cast<std::size_t>(line - 1);

    std::optional<LineKindChoice> choice = ChoiceForLineKind(Lines[n].KindPerform, line);
    // The kind list reports every keystroke, so a half-typed kind ends up here too.
    if (!choice)
        return "Неизвестный тип линии";

    LineLists[n].CrossSectionsEnabled = choice->CrossSectionsEnabled;
    LineLists[n].Stuff = std::move(choice->Items);
    Lines[n].Stuff = std::move(choice->Text);
    return std::nullopt;
}

} // namespace tormel
