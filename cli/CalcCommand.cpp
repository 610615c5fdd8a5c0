#include "cli/CalcCommand.h"

#include "cli/BatchRunner.h"
#include "cli/OutputSpool.h"
#include "cli/ParallelBatch.h"
#include "cli/ProgressLine.h"
#include "cli/ReportJoin.h"
#include "cli/TextTable.h"
#include "core/FileAccess.h"
#include "core/LocaleSeparators.h"
#include "core/QuotedText.h"
#include "core/Version.h"
#include "feed/BatchInput.h"
#include "report/ReportFile.h"
#include "report/ReportTexts.h"
#include "session/ReportMenu.h"
#include "sheet/SheetFile.h"

#include <cerrno>
#include <ctime>
#include <functional>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <utility>

#include <unistd.h>

namespace tormel::cli {

namespace {

constexpr const char *Program = "tormel-calc";
constexpr const char *Version = ProgramVersion;

constexpr const char *HelpText
        = "Использование: tormel-calc [--locale ИМЯ] [--open ФАЙЛ] [--report ФАЙЛ]\n"
          "                   [--sheet ФАЙЛ.pdf] [--format text] [--jobs N]\n"
          "                   [--progress | --no-progress] [ВХОД...]\n"
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
          "                  (отчеты нескольких --open соединяются по порядку, как\n"
          "                  отчеты частей одного расчета)\n"
          "  --report ФАЙЛ   сохранить отчет в ФАЙЛ так же, как \"Сохранить\" в окне отчета\n"
          "  --sheet ФАЙЛ    записать в ФАЙЛ (PDF) расчетные листы всех рассчитанных\n"
          "                  объектов, а с --report в конце - лист отчета\n"
          "  --format ФОРМАТ json (по умолчанию) или text - таблица для чтения: точка,\n"
          "                  ток, запас и заключение о защитном аппарате каждого объекта\n"
          "  --jobs N        рассчитывать объекты в N потоков (по умолчанию - по числу\n"
          "                  доступных процессоров); вывод, отчет и листы те же, что с 1\n"
          "  --progress      показывать ход расчета в стандартном потоке ошибок, даже\n"
          "                  если это не терминал (по умолчанию - только на терминале)\n"
          "  --no-progress   не показывать ход расчета\n"
          "  --help          показать эту справку\n"
          "  --version       показать версию\n"
          "\n"
          "Код возврата: 0 - все расчеты выполнены, 1 - часть данных отклонена\n"
          "(или открытый отчет поврежден), 2 - ошибка вызова, входных данных или вывода.\n";

struct Options
{
    std::optional<std::string> Locale;
    std::vector<std::string> Opens; // joined in order
    std::optional<std::string> Report;
    std::optional<std::string> Sheet;
    std::vector<std::string> Inputs;
    bool Text = false; // --format text
    std::optional<std::size_t> Jobs;
    ProgressMode Progress = ProgressMode::Auto;
    bool Help = false;
    bool ShowVersion = false;
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

constexpr std::size_t MaxJobs = 256;

std::size_t parseJobs(const std::string &text)
{
    std::size_t jobs = 0;
    const bool digits = !text.empty() && text.size() <= 3
                        && text.find_first_not_of("0123456789") == std::string::npos;
    if (digits)
        jobs = std::stoul(text);
    if (jobs < 1 || jobs > MaxJobs)
        throw UsageError("неверное число потоков " + QuotedText(text) + ": нужно целое от 1 до "
                         + std::to_string(MaxJobs));
    return jobs;
}

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
            options.Opens.push_back(valueOf(i, "--open"));
            if (options.Opens.back().empty())
                throw UsageError("пустое имя открываемого отчета");
        } else if (!onlyInputs && argument.rfind("--report", 0) == 0) {
            options.Report = valueOf(i, "--report");
            if (options.Report->empty())
                throw UsageError("пустое имя файла отчета");
        } else if (!onlyInputs && argument.rfind("--sheet", 0) == 0) {
            options.Sheet = valueOf(i, "--sheet");
            if (options.Sheet->empty())
                throw UsageError("пустое имя файла расчетных листов");
        } else if (!onlyInputs && argument.rfind("--format", 0) == 0) {
            const std::string format = valueOf(i, "--format");
            if (format != "json" && format != "text")
                throw UsageError("неизвестный формат вывода " + QuotedText(format)
                                 + ": json или text");
            options.Text = format == "text";
        } else if (!onlyInputs && argument.rfind("--jobs", 0) == 0) {
            options.Jobs = parseJobs(valueOf(i, "--jobs"));
        } else if (!onlyInputs && argument == "--progress") {
            options.Progress = ProgressMode::Always;
        } else if (!onlyInputs && argument == "--no-progress") {
            options.Progress = ProgressMode::Never;
        } else if (!onlyInputs && argument.size() > 1 && argument[0] == '-') {
            throw UsageError("неизвестный параметр " + QuotedText(argument));
        } else {
            options.Inputs.push_back(argument);
        }
    }
    return options;
}

// A window's message as one line: the file name it quotes as it stands is
// quoted with its control characters escaped.
std::string OneLineMessage(std::string text, const std::string &path)
{
    const std::string asShown = "\"" + path + "\"";
    if (const std::size_t at = text.find(asShown); at != std::string::npos)
        text.replace(at, asShown.size(), QuotedText(path));
    return text;
}

} // namespace

int RunCalcCommand(const std::vector<std::string> &arguments,
                   std::istream &in,
                   std::ostream &out,
                   std::ostream &err,
                   int errorDescriptor)
{
    std::optional<ProgressWriter> progress;
    const auto fail = [&](const std::string &text) {
        if (progress)
            progress->Finish();
        err << Program << ": " << text << "\n";
        return ExitUsage;
    };
    // Results that did not reach their reader (a full disk, a closed output)
    // are a failure of the run, whatever was computed.
    const auto print = [&](const std::function<void()> &write, int status) -> int {
        errno = 0;
        write();
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
        return print([&] { out << HelpText; }, ExitAllOk);
    }
    if (options.ShowVersion) {
        return print([&] { out << Program << " " << Version << "\n"; }, ExitAllOk);
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

    // The report is opened before the objects are read, so that they can be computed
    // as they come; a failure to open it is told after the input errors, which come
    // first, and then nothing is computed.
    ReportTable opened;
    std::vector<std::string> openMessages;
    std::optional<std::string> openFailure;
    // Several reports are joined in order, as the runs of the parts of a study.
    for (const std::string &path : options.Opens) {
        // Read as the report window's "Открыть..." reads the named file; a damaged file
        // is answered "Да", so that its readable rows are loaded, and its question is told.
        ReportOpening opening = ReadReportToOpen(path);
        if (!opening.Report) {
            openFailure = OneLineMessage(opening.Refusal, path);
            break;
        }
        if (opening.Report->Damaged)
            openMessages.emplace_back(report_texts::DamagedFileQuestion);
        ReportTable part;
        LoadParsedReport(part, std::move(*opening.Report));
        part.SetReportFile(path);
        if (&path == &options.Opens.front())
            opened = std::move(part);
        else
            JoinReport(opened, part);
    }

    BatchRun run(separators, std::move(opened));
    const std::string sheetDateTime = SheetDateTime(std::time(nullptr));
    if (options.Sheet)
        run.KeepSheets(sheetDateTime);
    std::string feedFileName; // of the objects being read, for their sheets
    OutputSpool spool;
    ResultWriter writer([&](std::string_view text) { spool.Append(text); });
    TextTableWriter table([&](std::string_view text) { spool.Append(text); }, separators);
    progress.emplace(errorDescriptor, options.Progress, separators);
    if (const auto size = InputFilesSize(options.Inputs))
        progress->SetBytesTotal(*size);
    // Several documents give one array of results, in the order of their objects.
    bool asArray = options.Inputs.size() > 1;
    // The only box of an opening that succeeded is the damaged-file question. It comes
    // first in the first object's messages, as the window's box comes before the
    // calculations.
    const bool openQuestion = !openMessages.empty();
    std::size_t submitted = 0;
    std::size_t done = 0;
    ParallelBatch batch(run,
                        options.Jobs.value_or(UsableCores()),
                        separators,
                        options.Sheet ? std::optional(sheetDateTime) : std::nullopt,
                        [&](FinishedObject &&object) {
                            if (++done == 1 && openQuestion) {
                                nlohmann::ordered_json messages = openMessages;
                                for (const auto &text : object.Output["Messages"])
                                    messages.push_back(text);
                                object.Output["Messages"] = std::move(messages);
                            }
                            if (options.Text)
                                table.Add(TextTableRowOf(object.Output, done));
                            else if (object.Text)
                                writer.AddText(*object.Text, object.InArray);
                            else
                                writer.Add(object.Output, object.InArray);
                            progress->AddObject();
                        });
    const CalcRequestHandler compute = [&](CalcRequest &&request, bool inArray) {
        if (openFailure)
            return;
        const bool early = !options.Text && !(submitted++ == 0 && openQuestion);
        batch.Submit({std::move(request), feedFileName, asArray || inArray, early});
    };

    for (const std::string &name : options.Inputs) {
        const bool standardInput = name == "-";
        feedFileName = standardInput ? std::string() : name;
        FileReader file;
        if (!standardInput) {
            if (const FileResult opening = file.Open(name); !opening.Ok)
                return fail("не удалось прочитать " + QuotedText(name) + ": " + opening.Reason);
        }
        const ReadDocumentPiece read = [&](char *buffer, std::size_t size) -> std::size_t {
            std::size_t got = 0;
            if (!standardInput) {
                got = file.Read(buffer, size);
            } else {
                in.read(buffer, std::streamsize(size));
                got = std::size_t(in.gcount());
            }
            progress->AddBytesRead(got);
            return got;
        };
        // A document cut short by a read error is told as that error.
        const auto readFailure = [&]() -> std::optional<std::string> {
            if (standardInput && in.bad())
                return "не удалось прочитать стандартный ввод";
            if (!standardInput && !file.Status().Ok)
                return "не удалось прочитать " + QuotedText(name) + ": " + file.Status().Reason;
            return std::nullopt;
        };
        try {
            asArray = ReadBatchInput(read, compute) || asArray;
        } catch (const InputError &error) {
            if (const auto failure = readFailure())
                return fail(*failure);
            // With several documents the message names the one it is about.
            return fail(options.Inputs.size() > 1 ? QuotedText(name) + ": " + error.what()
                                                  : error.what());
        } catch (const OutputSpool::Failure &error) {
            return fail(std::string("не удалось записать временный файл результатов: ")
                        + error.what());
        }
        if (const auto failure = readFailure())
            return fail(*failure);
    }
    try {
        batch.Finish();
    } catch (const OutputSpool::Failure &error) {
        return fail(std::string("не удалось записать временный файл результатов: ") + error.what());
    }
    if (openFailure)
        return fail(*openFailure);
    // The damaged-file question makes the status tell of it even without an object.
    if (!openMessages.empty())
        run.SetNotAllOk();

    if (options.Report) {
        // Replacing the file that the results go to would lose them.
        const FileResult saved = IsOpenFile(*options.Report, STDOUT_FILENO)
                                         ? FileResult::failure("это файл стандартного вывода")
                                         : SaveReportFile(run.Report(), *options.Report);
        if (!saved.Ok)
            return fail("не удалось сохранить отчет " + QuotedText(*options.Report) + ": "
                        + saved.Reason);
        // The report now belongs to its file, as after "Сохранить"; its sheet names it.
        run.Report().SetReportFile(*options.Report);
    }

    if (options.Sheet) {
        SheetDocument sheets{std::move(run.Sheets()), std::nullopt};
        if (options.Report)
            sheets.Report = BuildReportSheet(run.Report(), sheetDateTime);
        const std::unique_ptr<QGuiApplication> fonts = OffscreenGuiApplication();
        const FileResult written = IsOpenFile(*options.Sheet, STDOUT_FILENO)
                                           ? FileResult::failure("это файл стандартного вывода")
                                           : WriteSheetPdf(*options.Sheet, sheets);
        if (!written.Ok)
            return fail("не удалось записать расчетные листы " + QuotedText(*options.Sheet) + ": "
                        + written.Reason);
    }

    progress->Finish();
    try {
        if (options.Text)
            table.Finish();
        else
            writer.Finish(asArray);
        return print(
                [&] {
                    spool.CopyTo([&](std::string_view text) {
                        out.write(text.data(), std::streamsize(text.size()));
                        return bool(out);
                    });
                },
                run.AllOk() ? ExitAllOk : ExitRefused);
    } catch (const OutputSpool::Failure &error) {
        return fail(std::string("не удалось записать временный файл результатов: ") + error.what());
    }
}

} // namespace tormel::cli
