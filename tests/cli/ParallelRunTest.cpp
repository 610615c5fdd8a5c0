// tormel-calc computing on several threads: whatever the number, the same bytes, report,
// sheets, messages and exit status as one object after the other; the progress line on
// a terminal only; the table for a person.
#include "tests/support/PdfTools.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tormel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

std::string quoted(const std::string &text)
{
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// A study of varied feeders: points of the same names again and again, objects
// without a name, refused lengths, devices and names. `ending` closes the document.
std::string study(int count, const std::string &ending = "]")
{
    std::string text = "[";
    for (int i = 0; i < count; ++i) {
        nlohmann::ordered_json object;
        if (i % 13 == 0)
            object["Name"] = "Слишком-длинное";
        else if (i % 4 != 1)
            object["Name"] = "T" + std::to_string(i % 9);
        object["WindKind"] = "T/Y-0";
        object["TransPower"] = std::to_string(i % 2 ? 400 : 630);
        object["Lines"] = {{{"KindPerform", "Кабель с ПВХ изоляцией"},
                            {"Ff", "95"},
                            {"Fn", "50"},
                            {"Length", i % 7 == 3 ? "-1" : std::to_string(10 + i % 300)}},
                           {{"KindPerform", "СИП-2"},
                            {"Stuff", "3*70+1*54.6"},
                            {"Length", std::to_string(i % 500)}}};
        if (i % 5 == 0)
            object["Device"] = {{"TokAVnom", i % 11 == 5 ? "x" : "25"}};
        text += (i ? ",\n" : "\n") + object.dump();
    }
    return text + ending;
}

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
    std::string report; // the saved report's bytes, empty when none was written

    bool operator==(const Outcome &) const = default;
};

std::ostream &operator<<(std::ostream &stream, const Outcome &outcome)
{
    return stream << "status " << outcome.status << ", " << outcome.out.size()
                  << " bytes out, error output \"" << outcome.err << "\", " << outcome.report.size()
                  << " bytes of report";
}

class ParallelRunTest : public ::testing::Test
{
protected:
    std::string path(const std::string &name) const { return m_folder.filePath(name); }

    // The calculator with the arguments (a report "r.csv" may be saved) and the input.
    Outcome exec(const std::string &arguments, const std::string &input = {}) const
    {
        fs::remove(path("r.csv"));
        writeBytes(path("stdin"), input);
        const std::string command = "env LC_ALL=C.UTF-8 " + quoted(TORMEL_CALC_PATH) + " "
                                    + arguments + " < " + quoted(path("stdin")) + " > "
                                    + quoted(path("stdout")) + " 2> " + quoted(path("stderr"));
        const int raw = std::system(command.c_str());
        Outcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.out = readBytes(path("stdout"));
        outcome.err = readBytes(path("stderr"));
        outcome.report = readBytes(path("r.csv"));
        return outcome;
    }

    // Runs with --jobs 1, 2 and 8 and expects the same outcome from each; returns it.
    Outcome sameForAnyJobs(const std::string &arguments, const std::string &input = {}) const
    {
        const Outcome one = exec("--jobs 1 " + arguments, input);
        for (const char *jobs : {"2", "8"})
            EXPECT_EQ(exec("--jobs " + std::string(jobs) + " " + arguments, input), one)
                    << "--jobs " << jobs << " " << arguments;
        return one;
    }

    // The calculator with its error output on a terminal and its output in a file;
    // what the terminal received.
    std::string execOnTerminal(const std::vector<std::string> &arguments) const
    {
        int master = -1;
        int terminal = -1;
        winsize size{};
        size.ws_col = 100;
        size.ws_row = 24;
        if (::openpty(&master, &terminal, nullptr, nullptr, &size) != 0)
            return "openpty failed";
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open(path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(terminal, STDERR_FILENO);
            ::close(master);
            std::vector<char *> argv{const_cast<char *>(TORMEL_CALC_PATH)};
            for (const std::string &argument : arguments)
                argv.push_back(const_cast<char *>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(TORMEL_CALC_PATH, argv.data());
            ::_exit(127);
        }
        ::close(terminal);
        std::string shown;
        char buffer[4096];
        ssize_t got;
        // The terminal side reads EIO once the program has ended.
        while ((got = ::read(master, buffer, sizeof buffer)) > 0)
            shown.append(buffer, std::size_t(got));
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(master);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        return shown;
    }

private:
    testing::TempFolder m_folder;
};

TEST_F(ParallelRunTest, ExamplesAreTheSameForAnyNumberOfJobs)
{
    for (const char *example : {"feeder.json", "device-check.json", "start.json"}) {
        const Outcome outcome = sameForAnyJobs("--locale ru_RU --report " + path("r.csv") + " "
                                               + TORMEL_EXAMPLES_DIR + "/" + example);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_FALSE(outcome.report.empty());
    }
}

// Points of the same name replace each other in input order; the replacement question,
// refused names, lengths and devices stand in their objects' messages.
TEST_F(ParallelRunTest, StudyIsTheSameForAnyNumberOfJobs)
{
    writeBytes(path("study.json"), study(400));
    const Outcome outcome
            = sameForAnyJobs("--locale ru_RU --report " + path("r.csv") + " " + path("study.json"));
    ASSERT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const nlohmann::json out = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(out.size(), 400u);
    EXPECT_EQ(out.at(1).at("Messages"), nlohmann::json::array());
    EXPECT_EQ(
            out.at(11).at("Messages"),
            nlohmann::json::array({"Такое название в отчете уже есть. Заменить данные в отчете?"}));

    // Several documents and the standard input, on top of an opened report.
    writeBytes(path("opened.csv"), outcome.report);
    writeBytes(path("small.json"), study(30));
    const Outcome several
            = sameForAnyJobs("--open " + path("opened.csv") + " --report " + path("r.csv") + " "
                                     + path("small.json") + " - " + path("small.json"),
                             study(50));
    EXPECT_EQ(several.status, 1) << several.err;
    EXPECT_EQ(nlohmann::json::parse(several.out).size(), 110u);
    EXPECT_NE(several.report, outcome.report);
}

// An input error found late still prints nothing and writes nothing, and its message
// is the same.
TEST_F(ParallelRunTest, LateInputErrorLeavesNothingForAnyNumberOfJobs)
{
    const std::string lateErrors[] = {
            study(300, ",\n{\"Name\": \"X\", \"Lenght\": 5}]"), // a field the contract lacks
            study(300, ",\n{\"Name\": \"X\",]"),                // broken JSON
    };
    for (const std::string &document : lateErrors) {
        writeBytes(path("study.json"), document);
        const Outcome outcome = sameForAnyJobs("--locale ru_RU --report " + path("r.csv") + " "
                                               + path("study.json"));
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.report, "");
        EXPECT_EQ(outcome.err.rfind("tormel-calc: ", 0), 0u) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
    }
}

// A study split into parts that run apart (as separate processes or on other machines):
// their reports, joined with --open in the parts' order, are the whole study's report.
TEST_F(ParallelRunTest, ReportsOfThePartsJoinIntoTheWholeStudysReport)
{
    const nlohmann::json objects = nlohmann::json::parse(study(120));
    writeBytes(path("study.json"), objects.dump());
    const Outcome whole = exec("--report " + path("r.csv") + " " + path("study.json"));
    ASSERT_EQ(whole.status, 1) << whole.err;

    std::string opens;
    const int bounds[] = {0, 37, 38, 120};
    for (int part = 0; part < 3; ++part) {
        const nlohmann::json slice(objects.begin() + bounds[part],
                                   objects.begin() + bounds[part + 1]);
        writeBytes(path("part.json"), slice.dump());
        const std::string report = path("part" + std::to_string(part) + ".csv");
        writeBytes(report,
                   exec("--jobs 1 --report " + path("r.csv") + " " + path("part.json")).report);
        opens += " --open " + report;
    }
    const Outcome joined = exec(opens + " --report " + path("r.csv"), "[]");
    EXPECT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(joined.out, "[]\n");
    EXPECT_EQ(joined.report, whole.report);
}

TEST_F(ParallelRunTest, SheetsAreTheSameForAnyNumberOfJobs)
{
    writeBytes(path("study.json"), study(40));
    // The sheets are dated to the minute, which may turn between two runs.
    const auto sheetText = [&](const std::string &jobs) {
        exec("--jobs " + jobs + " --locale ru_RU --report " + path("r.csv") + " --sheet "
             + path("s.pdf") + " " + path("study.json"));
        static const std::regex date(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d)");
        return std::regex_replace(testing::PdfText(path("s.pdf")), date, "<date>");
    };
    const std::string one = sheetText("1");
    EXPECT_NE(one.find("T8"), std::string::npos);
    EXPECT_EQ(sheetText("8"), one);
}

TEST_F(ParallelRunTest, TextTableOfTheExamples)
{
    const std::pair<std::string, std::string> documents[] = {
            {TORMEL_EXAMPLES_DIR "/feeder.json", "feeder.txt"},
            {TORMEL_EXAMPLES_DIR "/device-check.json", "device-check.txt"},
            {TORMEL_CLI_TESTS_DIR "/data/refused-and-repeated.json", "refused-and-repeated.txt"},
    };
    for (const auto &[document, expected] : documents) {
        const Outcome outcome = sameForAnyJobs("--format text --locale ru_RU " + document);
        EXPECT_EQ(outcome.out, readBytes(TORMEL_CLI_TESTS_DIR "/expected/" + expected)) << document;
    }
    // The same objects in JSON, the default.
    EXPECT_EQ(exec("--format json " + std::string(TORMEL_EXAMPLES_DIR "/feeder.json")),
              exec(TORMEL_EXAMPLES_DIR "/feeder.json"));
}

TEST_F(ParallelRunTest, ProgressLineOnlyOnATerminal)
{
    writeBytes(path("study.json"), study(200));
    const std::string input = path("study.json");
    const Outcome quiet = exec("--locale ru_RU " + quoted(input));
    EXPECT_EQ(quiet.err, "");

    const std::string shown = execOnTerminal({"--locale", "ru_RU", input});
    EXPECT_EQ(shown.rfind("\rОбъектов: 1 · ", 0), 0u) << shown;
    EXPECT_NE(shown.find(" КБ (", 0), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\x1b[K") << shown; // erased at the end
    EXPECT_EQ(readBytes(path("stdout")), quiet.out);

    EXPECT_EQ(execOnTerminal({"--no-progress", input}), "");

    // Forced into a file, the line is written there just the same.
    const Outcome forced = exec("--progress --locale ru_RU " + quoted(input));
    EXPECT_EQ(forced.out, quiet.out);
    EXPECT_EQ(forced.err.rfind("\rОбъектов: 1 · ", 0), 0u) << forced.err;
    EXPECT_EQ(forced.err.substr(forced.err.size() - 4), "\r\x1b[K");
}

TEST_F(ParallelRunTest, UsageErrors)
{
    const std::pair<std::string, std::string> cases[] = {
            {"--jobs 0",
             "tormel-calc: неверное число потоков \"0\": нужно целое от 1 до 256 (см. "
             "--help)\n"},
            {"--jobs=x",
             "tormel-calc: неверное число потоков \"x\": нужно целое от 1 до 256 (см. "
             "--help)\n"},
            {"--jobs", "tormel-calc: после --jobs нужно значение (см. --help)\n"},
            {"--format xml",
             "tormel-calc: неизвестный формат вывода \"xml\": json или text (см. --help)\n"},
    };
    for (const auto &[arguments, message] : cases) {
        const Outcome outcome = exec(arguments, "{}");
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_EQ(outcome.err, message) << arguments;
    }
}

} // namespace
} // namespace tormel
