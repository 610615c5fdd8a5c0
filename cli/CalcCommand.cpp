#include "cli/CalcCommand.h"

#include "cli/BatchRunner.h"
#include "core/FileAccess.h"
#include "core/FileDialogService.h"
#include "core/LocaleSeparators.h"
#include "core/MessageService.h"
#include "core/QuotedText.h"
#include "core/Version.h"
#include "feed/BatchInput.h"
#include "report/ReportFile.h"
#include "report/ReportMenu.h"
#include "sheet/SheetFile.h"

#include <cerrno>
#include <ctime>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include <unistd.h>

namespace tormel::cli {

namespace {

constexpr const char *Program = "tormel-calc";
constexpr const char *Version = ProgramVersion;

constexpr const char *HelpText
        = "Использование: tormel-calc [--locale ИМЯ] [--open ФАЙЛ] [--report ФАЙЛ]\n"
          "                   [--sheet ФАЙЛ.pdf] [ВХОД...]\n"
          "\n"
          "Расчет тока однофазного короткого замыкания сети 0,4 кВ без окон программы.\n"
          "ВХОД - документ JSON (UTF-8) с одним объектом расчета или массивом объектов;\n"
          "без имени или \"-\" - стандартный ввод. Объекты нескольких документов\n"
          "рассчитываются по порядку как один массив с одним отчетом.\n"
          "Результаты выводятся в JSON.\n"
          "\n"
          "  --locale ИМЯ    региональные настройки чисел (ru_RU, en_US, C);\n"
          "                  по умолчанию - из окружения пользователя\n"
          "  --open ФАЙЛ     начать с отчета из ФАЙЛа (csv или okz) так же, как\n"
          "                  \"Открыть...\" в окне отчета; точки расчета добавляются к нему\n"
          "  --report ФАЙЛ   сохранить отчет в ФАЙЛ так же, как \"Сохранить\" в окне отчета\n"
          "  --sheet ФАЙЛ    записать в ФАЙЛ (PDF) расчетные листы всех рассчитанных\n"
          "                  объектов, а с --report в конце - лист отчета\n"
          "  --help          показать эту справку\n"
          "  --version       показать версию\n"
          "\n"
          "Код возврата: 0 - все расчеты выполнены, 1 - часть данных отклонена\n"
          "(или открытый отчет поврежден), 2 - ошибка вызова, входных данных или вывода.\n";

struct Options
{
    std::optional<std::string> Locale;
    std::optional<std::string> Open;
    std::optional<std::string> Report;
    std::optional<std::string> Sheet;
    std::vector<std::string> Inputs;
    bool Help = false;
    bool ShowVersion = false;
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

Options parseArguments(const std::vector<std::string> &arguments)
{
    Options options;
    const auto valueOf = [&](std::size_t &i, const std::string &name) {
        const std::string &argument = arguments[i];
        if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0)
            return argument.substr(name.size() + 1);
        if (argument != name)
            throw UsageError("неизвестный параметр " + QuotedText(argument));
        if (++i == arguments.size())
            throw UsageError("после " + name + " нужно значение");
        return arguments[i];
    };
    bool onlyInputs = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (!onlyInputs && argument == "--") {
            onlyInputs = true;
        } else if (!onlyInputs && argument == "--help") {
            options.Help = true;
        } else if (!onlyInputs && argument == "--version") {
            options.ShowVersion = true;
        } else if (!onlyInputs && argument.rfind("--locale", 0) == 0) {
            options.Locale = valueOf(i, "--locale");
        } else if (!onlyInputs && argument.rfind("--open", 0) == 0) {
            options.Open = valueOf(i, "--open");
            if (options.Open->empty())
                throw UsageError("пустое имя открываемого отчета");
        } else if (!onlyInputs && argument.rfind("--report", 0) == 0) {
            options.Report = valueOf(i, "--report");
            if (options.Report->empty())
                throw UsageError("пустое имя файла отчета");
        } else if (!onlyInputs && argument.rfind("--sheet", 0) == 0) {
            options.Sheet = valueOf(i, "--sheet");
            if (options.Sheet->empty())
                throw UsageError("пустое имя файла расчетных листов");
        } else if (!onlyInputs && argument.size() > 1 && argument[0] == '-') {
            throw UsageError("неизвестный параметр " + QuotedText(argument));
        } else {
            options.Inputs.push_back(argument);
        }
    }
    return options;
}

// The report window's "Открыть..." without a window: the open dialog names the
// file once, and the damaged-file question is answered "Да", so that the
// readable rows are loaded. Every text the window would show is kept.
class OpenWithoutWindow : public IFileDialogService, public IMessageService
{
public:
    explicit OpenWithoutWindow(std::string path)
        : m_path(std::move(path))
    {}

    std::optional<std::string> askSaveFileName(const FileFilter &, const std::string &) override
    {
        return std::nullopt;
    }
    std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &,
                                               const std::string &) override
    {
        return std::exchange(m_path, std::nullopt);
    }

    void showMessage(const std::string &text) override { Texts.push_back(text); }
    MessageAnswer askWarning(const std::string &text) override
    {
        Texts.push_back(text);
        return MessageAnswer::Ok;
    }
    MessageAnswer askQuestion(const std::string &text, bool) override
    {
        Texts.push_back(text);
        return MessageAnswer::Yes;
    }
    void showError(const std::string &text) override { Texts.push_back(text); }

    std::vector<std::string> Texts;

private:
    std::optional<std::string> m_path;
};

// A window's message as one line: the file name it quotes as it stands is
// quoted with its control characters escaped.
std::string OneLineMessage(std::string text, const std::string &path)
{
    const std::string asShown = "\"" + path + "\"";
    if (const std::size_t at = text.find(asShown); at != std::string::npos)
        text.replace(at, asShown.size(), QuotedText(path));
    return text;
}

std::string readAll(std::istream &stream)
{
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    return buffer.str();
}

} // namespace

int RunCalcCommand(const std::vector<std::string> &arguments,
                   std::istream &in,
                   std::ostream &out,
                   std::ostream &err)
{
    const auto fail = [&](const std::string &text) {
        err << Program << ": " << text << "\n";
        return ExitUsage;
    };
    // Results that did not reach their reader (a full disk, a closed output)
    // are a failure of the run, whatever was computed.
    const auto print = [&](const std::string &text, int status) -> int {
        errno = 0;
        out << text;
        out.flush();
        if (out)
            return status;
        const int reason = errno;
        return fail("не удалось записать стандартный вывод"
                    + (reason != 0 ? ": " + SystemErrorReason(reason) : std::string()));
    };

    Options options;
    try {
        options = parseArguments(arguments);
    } catch (const UsageError &error) {
        return fail(std::string(error.what()) + " (см. --help)");
    }
    if (options.Help) {
        return print(HelpText, ExitAllOk);
    }
    if (options.ShowVersion) {
        return print(std::string(Program) + " " + Version + "\n", ExitAllOk);
    }

    NumberSeparators separators = SystemNumberSeparators();
    if (options.Locale) {
        const std::optional<NumberSeparators> named = NamedNumberSeparators(*options.Locale);
        if (!named)
            return fail("неизвестные региональные настройки " + QuotedText(*options.Locale));
        separators = *named;
    }

    if (options.Inputs.empty())
        options.Inputs.push_back("-");
    BatchInput input;
    std::vector<std::string> feedFileNames; // of each object, for its sheet
    for (const std::string &name : options.Inputs) {
        std::string document;
        if (name == "-") {
            document = readAll(in);
            if (in.bad())
                return fail("не удалось прочитать стандартный ввод");
        } else {
            const FileResult read = ReadFileBytes(name, document);
            if (!read.Ok)
                return fail("не удалось прочитать " + QuotedText(name) + ": " + read.Reason);
        }
        BatchInput one;
        try {
            one = ParseBatchInput(document);
        } catch (const InputError &error) {
            // With several documents the message names the one it is about.
            return fail(options.Inputs.size() > 1 ? QuotedText(name) + ": " + error.what()
                                                  : error.what());
        }
        // Several documents give one array of results, in the order of their objects.
        input.IsArray = input.IsArray || one.IsArray || options.Inputs.size() > 1;
        feedFileNames.insert(feedFileNames.end(), one.Requests.size(), name == "-" ? "" : name);
        for (CalcRequest &request : one.Requests)
            input.Requests.push_back(std::move(request));
    }

    ReportTable opened;
    std::vector<std::string> openMessages;
    if (options.Open) {
        OpenWithoutWindow window(*options.Open);
        if (!OpenReportMenuClick(opened, window, window)) {
            return fail(window.Texts.empty()
                                ? "не удалось открыть отчет " + QuotedText(*options.Open)
                                : OneLineMessage(window.Texts.back(), *options.Open));
        }
        openMessages = std::move(window.Texts);
    }

    std::optional<SheetRequest> sheetRequest;
    if (options.Sheet)
        sheetRequest = SheetRequest{SheetDateTime(std::time(nullptr)), std::move(feedFileNames)};
    BatchOutcome outcome = RunBatch(input, separators, std::move(opened), sheetRequest);
    // The only box of an opening that succeeded is the damaged-file question. It
    // comes first in the first object's messages, as the window's box comes before
    // the calculations, and the exit status tells of it even without an object.
    if (!openMessages.empty()) {
        outcome.AllOk = false;
        nlohmann::ordered_json *first = nullptr;
        if (!input.IsArray)
            first = &outcome.Output;
        else if (!outcome.Output.empty())
            first = &outcome.Output.front();
        if (first) {
            nlohmann::ordered_json messages = openMessages;
            for (const auto &text : (*first)["Messages"])
                messages.push_back(text);
            (*first)["Messages"] = std::move(messages);
        }
    }

    if (options.Report) {
        // Replacing the file that the results go to would lose them.
        const FileResult saved = IsOpenFile(*options.Report, STDOUT_FILENO)
                                         ? FileResult::failure("это файл стандартного вывода")
                                         : SaveReportFile(outcome.Report, *options.Report);
        if (!saved.Ok)
            return fail("не удалось сохранить отчет " + QuotedText(*options.Report) + ": "
                        + saved.Reason);
        // The report now belongs to its file, as after "Сохранить"; its sheet names it.
        outcome.Report.SetReportFile(*options.Report);
    }

    if (options.Sheet) {
        SheetDocument sheets{std::move(outcome.Sheets), std::nullopt};
        if (options.Report)
            sheets.Report = BuildReportSheet(outcome.Report, sheetRequest->DateTime);
        const std::unique_ptr<QGuiApplication> fonts = OffscreenGuiApplication();
        const FileResult written = IsOpenFile(*options.Sheet, STDOUT_FILENO)
                                           ? FileResult::failure("это файл стандартного вывода")
                                           : WriteSheetPdf(*options.Sheet, sheets);
        if (!written.Ok)
            return fail("не удалось записать расчетные листы " + QuotedText(*options.Sheet) + ": "
                        + written.Reason);
    }

    return print(outcome.Output.dump(2) + "\n", outcome.AllOk ? ExitAllOk : ExitRefused);
}

} // namespace tormel::cli
