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

LineRowState StartLineRow(int line)
{
    // Line 1 starts as a paper-insulated cable, the others as PVC cables.
    const std::string &kind = LineKinds()[line == 1 ? 0 : 1];

    LineRowState row;
    row.KindPerform = {LineKinds(), kind, true};
    if (std::optional<LineKindChoice> choice = ChoiceForLineKind(kind, line))
        row.Stuff = {std::move(choice->Items), std::move(choice->Text), true};
    row.QuanPar = {{"нет", "2", "3", "4", "5", "6"}, "нет", true};
    row.Ff = {CrossSections(), "0", true};
    row.Fn = {CrossSections(), "0", true};
    row.Temperature = {{"20", "60", "70", "90", "130"}, "20", true};
    return row;
}

} // namespace

MainInputModel::MainInputModel()
    : WindKind{WindKinds(), StartWindKind, true}
    , TransPower(StartPowerList())
{
    for (int line = 1; line <= LineCount; ++line)
        Lines[static_cast<std::size_t>(line - 1)] = StartLineRow(line);
}

TCalcInput MainInputModel::ToCalcInput() const
{
    TCalcInput input;
    input.TransPower = TransPower.Text;
    input.WindKind = WindKind.Text;
    for (std::size_t n = 0; n < Lines.size(); ++n) {
        const LineRowState &row = Lines[n];
        TLineInput &line = input.Lines[n];
        line.KindPerform = row.KindPerform.Text;
        line.Stuff = row.Stuff.Text;
        line.Ff = row.Ff.Text;
        line.Fn = row.Fn.Text;
        line.Length = row.Length;
        line.QuanPar = row.QuanPar.Text;
        line.Temperature = row.Temperature.Text;
    }
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
    LineRowState &row = Lines[static_cast<std::size_t>(line - 1)];

    std::optional<LineKindChoice> choice = ChoiceForLineKind(row.KindPerform.Text, line);
    // The kind list reports every keystroke, so a half-typed kind ends up here too.
    if (!choice)
        return "Неизвестный тип линии";

    row.Ff.Enabled = choice->CrossSectionsEnabled;
    row.Fn.Enabled = choice->CrossSectionsEnabled;
    row.Stuff.Items = std::move(choice->Items);
    row.Stuff.Text = std::move(choice->Text);
    return std::nullopt;
}

} // namespace tormel
