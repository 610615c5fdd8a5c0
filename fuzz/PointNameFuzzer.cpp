// The point-name checks: a name is refused exactly when a simple reading of the rules
// says so, with the rule's message, and a name that is taken is written into the
// report and read back from the saved file unchanged.

#include "FuzzSupport.h"

#include "calc/CalcTypes.h"
#include "core/MessageService.h"
#include "report/AskNumberModel.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/Windows1251.h"
#include "session/TormelSession.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tormel::MessageAnswer;
using tormel::ReportTable;
using tormel::fuzz::Require;
namespace texts = tormel::ask_number_texts;

class ScriptedMessages : public tormel::IMessageService
{
public:
    MessageAnswer warningAnswer = MessageAnswer::Cancel;
    std::vector<std::string> shown;

    void showMessage(const std::string &text) override { shown.push_back(text); }
    MessageAnswer askWarning(const std::string &text) override
    {
        shown.push_back(text);
        return warningAnswer;
    }
    MessageAnswer askQuestion(const std::string &text, bool) override
    {
        shown.push_back(text);
        return MessageAnswer::No;
    }
    void showError(const std::string &text) override { shown.push_back(text); }
};

// The rules in the order the dialog applies them, each read plainly off the name.
std::optional<std::string_view> expectedRefusal(std::string_view name)
{
    if (name.empty() || name[0] == ' ')
        return texts::EmptyNameMessage;
    std::size_t characters = 0;
    for (char c : name)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (characters > 8)
        return texts::NameTooLongMessage;
    if (name.find(';') != std::string_view::npos)
        return texts::SemicolonInNameMessage;
    if (!tormel::fuzz::IsValidUtf8(name) || tormel::fuzz::HasControlCharacter(name)
        || !tormel::IsWindows1251Text(name))
        return texts::UnstorableNameMessage;
    return std::nullopt;
}

// Whether the name holds a character of U+0080 to U+009F.
bool hasC1(std::string_view name)
{
    for (std::size_t i = 0; i + 1 < name.size(); ++i)
        if (static_cast<unsigned char>(name[i]) == 0xC2
            && (static_cast<unsigned char>(name[i + 1]) & 0xE0) == 0x80)
            return true;
    return false;
}

} // namespace

// The first byte chooses how full the report is beforehand and the answer to the
// replace question; the rest is the name typed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const std::string name(reinterpret_cast<const char *>(data + 1), size - 1);

    const std::optional<std::string_view> refusal = tormel::CheckPointName(name);
    const std::optional<std::string_view> expected = expectedRefusal(name);
    if (refusal != expected && !refusal && hasC1(name)
        && tormel::fuzz::Tolerate(tormel::fuzz::KnownFault::ControlCharacterInName))
        return 0;
    Require(refusal == expected,
            "a point name is refused exactly by the rules, with the rule's message",
            "name \"" + name + "\" answered \"" + std::string(refusal.value_or("")) + "\"");

    // "Да" of the dialog, on a report with some points already (up to a full table).
    ReportTable table;
    const int before = (flags & 15) + (flags & 16 ? ReportTable::MinRowCount : 0);
    table.SetRowCount(std::max(before, ReportTable::MinRowCount));
    for (int row = 0; row < before; ++row)
        table.SetCell(0, row, "К-" + std::to_string(row));
    const ReportTable unchanged = table;
    ScriptedMessages messages;
    messages.warningAnswer = (flags & 32) ? MessageAnswer::Ok : MessageAnswer::Cancel;
    tormel::TormelSession session(messages, tormel::NumberSeparators::russian());
    session.Report() = table;
    session.Result().Iokz = 1234.5;
    session.Result().TimeSR = "0,4";
    const bool closed = session.AddPointNamed(name).Done;
    table = session.Report();

    int sameName = -1;
    for (int row = 0; row < unchanged.RowCount() && sameName < 0; ++row)
        if (!name.empty() && unchanged.Cell(0, row) == name)
            sameName = row;
    if (sameName >= 0) {
        Require(closed == ((flags & 32) != 0), "a point of the same name is replaced when agreed");
        Require(table.RowCount() == unchanged.RowCount(), "a replacement keeps the rows");
        return 0;
    }
    Require(closed == !refusal, "the dialog closes exactly for a good name");
    if (refusal) {
        Require(messages.shown.size() == 1 && messages.shown[0] == *refusal,
                "a refused name shows its message once");
        Require(table.RowCount() == unchanged.RowCount(), "a refused name leaves the report");
        for (int row = 0; row < table.RowCount(); ++row)
            Require(table.Row(row) == unchanged.Row(row), "a refused name leaves the report");
        return 0;
    }
    Require(table.Cell(0, before) == name, "a good name goes below the last point", name);
    Require(table.RowCount() == std::max(before + 1, ReportTable::MinRowCount),
            "the report grows by one row only when it is full");

    // The name is safe in the report's file: saved and read back unchanged.
    const std::string path = tormel::fuzz::ScratchFolder() + "/names.csv";
    const tormel::FileResult saved = tormel::SaveReportFile(table, path);
    Require(saved.Ok, "a report with a good name is saved", saved.Reason);
    tormel::ParsedReport readBack;
    Require(tormel::ReadReportFile(path, tormel::ReportFileFormat::Semicolon, readBack).Ok,
            "the saved file can be read");
    Require(!readBack.Damaged && readBack.Rows.size() == std::size_t(before + 1)
                    && readBack.Rows[std::size_t(before)] == table.Row(before),
            "a good name reads back unchanged from the saved file",
            name);
    return 0;
}
