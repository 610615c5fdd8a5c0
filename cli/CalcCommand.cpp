#include "cli/CalcCommand.h"

#include "cli/BatchRunner.h"
#include "core/LocaleSeparators.h"
#include "feed/BatchInput.h"
#include "report/FileAccess.h"
#include "report/ReportFile.h"

#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>

namespace tormel::cli {

namespace {

constexpr const char *Program = "tormel-calc";
constexpr const char *Version = "2.8.1";

constexpr const char *HelpText
        = "Использование: tormel-calc [--locale ИМЯ] [--report ФАЙЛ] [ВХОД...]\n"
          "\n"
          "Расчет тока однофазного короткого замыкания сети 0,4 кВ без окон программы.\n"
          "ВХОД - документ JSON (UTF-8) с одним объектом расчета или массивом объектов;\n"
          "без имени или \"-\" - стандартный ввод. Объекты нескольких документов\n"
          "рассчитываются по порядку как один массив с одним отчетом.\n"
          "Результаты выводятся в JSON.\n"
          "\n"
          "  --locale ИМЯ    региональные настройки чисел (ru_RU, en_US, C);\n"
          "                  по умолчанию - из окружения пользователя\n"
          "  --report ФАЙЛ   сохранить отчет в ФАЙЛ так же, как \"Сохранить\" в окне отчета\n"
          "  --help          показать эту справку\n"
          "  --version       показать версию\n"
          "\n"
          "Код возврата: 0 - все расчеты выполнены, 1 - часть данных отклонена,\n"
          "2 - ошибка вызова или входных данных.\n";

struct Options
{
    std::optional<std::string> Locale;
    std::optional<std::string> Report;
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
            throw UsageError("неизвестный параметр " + argument);
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
        } else if (!onlyInputs && argument.rfind("--report", 0) == 0) {
            options.Report = valueOf(i, "--report");
            if (options.Report->empty())
                throw UsageError("пустое имя файла отчета");
        } else if (!onlyInputs && argument.size() > 1 && argument[0] == '-') {
            throw UsageError("неизвестный параметр " + argument);
        } else {
            options.Inputs.push_back(argument);
        }
    }
    return options;
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

    Options options;
    try {
        options = parseArguments(arguments);
    } catch (const UsageError &error) {
        return fail(std::string(error.what()) + " (см. --help)");
    }
    if (options.Help) {
        out << HelpText;
        return ExitAllOk;
    }
    if (options.ShowVersion) {
        out << Program << " " << Version << "\n";
        return ExitAllOk;
    }

    NumberSeparators separators = SystemNumberSeparators();
    if (options.Locale) {
        const std::optional<NumberSeparators> named = NamedNumberSeparators(*options.Locale);
        if (!named)
            return fail("неизвестные региональные настройки " + *options.Locale);
        separators = *named;
    }

    if (options.Inputs.empty())
        options.Inputs.push_back("-");
    BatchInput input;
    for (const std::string &name : options.Inputs) {
        std::string document;
        if (name == "-") {
            document = readAll(in);
            if (in.bad())
                return fail("не удалось прочитать стандартный ввод");
        } else {
            const FileResult read = ReadFileBytes(name, document);
            if (!read.Ok)
                return fail("не удалось прочитать " + name + ": " + read.Reason);
        }
        BatchInput one;
        try {
            one = ParseBatchInput(document);
        } catch (const InputError &error) {
            // With several documents the message names the one it is about.
            return fail(options.Inputs.size() > 1 ? name + ": " + error.what() : error.what());
        }
        // Several documents give one array of results, in the order of their objects.
        input.IsArray = input.IsArray || one.IsArray || options.Inputs.size() > 1;
        for (CalcRequest &request : one.Requests)
            input.Requests.push_back(std::move(request));
    }

    BatchOutcome outcome = RunBatch(input, separators);

    if (options.Report) {
        const FileResult saved = SaveReportFile(outcome.Report, *options.Report);
        if (!saved.Ok)
            return fail("не удалось сохранить отчет " + *options.Report + ": " + saved.Reason);
    }

    out << outcome.Output.dump(2) << "\n";
    return outcome.AllOk ? ExitAllOk : ExitRefused;
}

} // namespace tormel::cli
