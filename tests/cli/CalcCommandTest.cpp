#include "feed/FeedFile.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/Windows1251.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"
#include "sheet/SheetRenderer.h"
#include "tests/feed/FeedTestSupport.h"
#include "tests/support/PdfTools.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace tormel {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using testing::readBytes;
using testing::writeBytes;

void writeFile(const fs::path &file, const std::string &bytes)
{
    writeBytes(file, bytes);
}

std::string readFile(const fs::path &file)
{
    return readBytes(file);
}

std::string quoted(const std::string &text)
{
    std::string result = "'";
    for (char c : text) {
        if (c == '\'')
            result += "'\\''";
        else
            result += c;
    }
    return result + "'";
}

// A report row as the semicolon file writes it.
std::string ReportLine(const Json &cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? ";" : "") + cells[i].get<std::string>();
    return line;
}

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;

    Json json() const { return Json::parse(out); }
};

// Runs the built calculator as a user would from a shell.
class CalcCommandTest : public ::testing::Test
{
protected:
    fs::path path(const std::string &name) const { return m_folder.filePath(name); }

    // `output` redirects the standard output elsewhere ("> /dev/full", ">&-").
    Outcome exec(const std::string &arguments,
                 const std::string &input = {},
                 const std::string &environment = "LC_ALL=C.UTF-8 LANG=C.UTF-8",
                 const std::string &output = {}) const
    {
        writeBytes(path("stdin"), input);
        writeBytes(path("stdout"), "");
        const std::string command = "env " + environment + " " + quoted(TORMEL_CALC_PATH) + " "
                                    + arguments + " < " + quoted(path("stdin")) + " "
                                    + (output.empty() ? "> " + quoted(path("stdout")) : output)
                                    + " 2> " + quoted(path("stderr"));
        const int raw = std::system(command.c_str());
        Outcome result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readBytes(path("stdout"));
        result.err = readBytes(path("stderr"));
        return result;
    }

private:
    testing::TempFolder m_folder;
};

TEST_F(CalcCommandTest, StartStateFromStandardInput)
{
    const Outcome outcome = exec("--locale ru_RU", R"({"Name": "К-1"})");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out["Ok"], true);
    EXPECT_EQ(out["IokzLabel"], "Ток однофазного короткого замыкания равен 217 А");
    EXPECT_EQ(out["StatusDDColor"], "black");
    EXPECT_EQ(out["Messages"], Json::array());
    EXPECT_EQ(out["Result"]["Rsum"].get<double>(), 1957.2 / 3 + 40);
    EXPECT_EQ(out["ResultWindow"]["RsumLabel"], "Rф-н=692,40 мОм");
    EXPECT_EQ(out["ReportRow"][8], "1\u00A0062,38");
    EXPECT_EQ(out["ReportRow"][9], "217");
}

TEST_F(CalcCommandTest, ResultNumbersReadBackToTheSameDoubles)
{
    const Outcome outcome = exec("--locale C", "{}");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out["Name"], nullptr);
    EXPECT_EQ(out["ReportRow"], nullptr);
    // The printed doubles are exact: the current is the quotient of the printed loop.
    const double zsum = out["Result"]["Zsum"].get<double>();
    EXPECT_EQ(out["Result"]["Iokz"].get<double>(), 231000 / zsum);
    EXPECT_EQ(out["Result"]["Xsum"].get<double>(), 2417.24 / 3);
    EXPECT_EQ(out["ResultWindow"]["ZtLabel"], "Zт=3,110.25 мОм");
}

TEST_F(CalcCommandTest, AnalysisOfEachCalculation)
{
    const std::string input = R"json([
        {"Lines": [{"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "25",
                    "Fn": "25", "Length": "100"}],
         "Device": {"TokAVnom": "16", "TokNR": "10 (\"C\")", "KZAV": "1.1"}},
        {},
        {"RArc": "-1"},
        {"Device": {"TokAVnom": "16", "TokNR": "100", "TokNRChecked": true, "KZAV": "1"}}
    ])json";
    const Outcome outcome = exec("", input);
    ASSERT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    ASSERT_EQ(out.size(), 4u);

    const Json &breaker = out[0]["Analysis"];
    const double iokz = out[0]["Result"]["Iokz"].get<double>();
    ASSERT_EQ(breaker["PointCurrents"].size(), 7u);
    EXPECT_NEAR(breaker["PointCurrents"][0].get<double>(), 217.4369, 1e-4);
    EXPECT_EQ(breaker["PointCurrents"][6].get<double>(), iokz); // read back to the bit
    EXPECT_EQ(breaker["Margin"].get<double>(), iokz / 176);
    EXPECT_EQ(breaker["LoopLimit"].get<double>(), 1312.5);
    ASSERT_EQ(breaker["MaxLength"].size(), 6u);
    EXPECT_NEAR(breaker["MaxLength"][0].get<double>(), 211.209464, 1e-5);
    for (int n = 1; n < 6; ++n)
        EXPECT_EQ(breaker["MaxLength"][n], nullptr) << n;
    EXPECT_EQ(breaker["LargestDevice"], "16");

    // No device: only the currents along the feed.
    const Json &bare = out[1]["Analysis"];
    EXPECT_EQ(bare["PointCurrents"][0], bare["PointCurrents"][6]);
    EXPECT_EQ(bare["Margin"], nullptr);
    EXPECT_EQ(bare["LoopLimit"], nullptr);
    EXPECT_EQ(bare["MaxLength"],
              Json::array({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));
    EXPECT_EQ(bare["LargestDevice"], nullptr);

    EXPECT_EQ(out[2]["Analysis"], nullptr); // the calculation failed

    // A release given by its current: a margin, but no list to choose a device from.
    EXPECT_EQ(out[3]["Analysis"]["LoopLimit"].get<double>(), 2310);
    EXPECT_EQ(out[3]["Analysis"]["LargestDevice"], nullptr);
}

TEST_F(CalcCommandTest, MaxCurrentsOfEachCalculation)
{
    const std::string input = R"json([
        {"WindKind": "T/Y-0", "TransPower": "400", "Sk": "", "Uk": "", "Pk": ""},
        {"WindKind": "T/Y-0", "TransPower": "400", "Sk": 200, "Uk": "5.5", "Pk": "5.5",
         "Lines": [{"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "4",
                    "Fn": "4", "Length": "5"}],
         "Device": {"TokAVnom": "16", "TokNR": "10 (\"C\")", "KZAV": "1.1", "Icu": "6"}},
        {"RArc": "-1", "Sk": "0"},
        {"Sk": "0", "Uk": "-1", "Device": {"Icu": "x"}},
        {"WindKind": "1/1-0", "TransPower": "10"}
    ])json";
    const Outcome outcome = exec("", input);
    ASSERT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    ASSERT_EQ(out.size(), 5u);

    // The transformer alone: 231000 / |5.9 + j17.007|, the same at every point.
    const Json &alone = out[0]["MaxCurrents"];
    EXPECT_EQ(out[0]["Ok"], true);
    EXPECT_EQ(alone["Z1T"]["R"].get<double>(), 17.7 / 3);
    EXPECT_EQ(alone["Z1T"]["X"].get<double>(), 51.02 / 3);
    ASSERT_EQ(alone["Ik3"].size(), 7u);
    EXPECT_EQ(alone["Ik3"][0].get<double>(), 231000 / std::hypot(17.7 / 3, 51.02 / 3));
    EXPECT_EQ(alone["Ik3"][6], alone["Ik3"][0]);
    EXPECT_EQ(alone["Ik1"].size(), 7u);
    EXPECT_EQ(alone["Ip"].size(), 7u);
    EXPECT_EQ(alone["Breaking"], nullptr);
    EXPECT_EQ(alone["Thermal"],
              Json::array({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));

    // Everything given: the breaking capacity fails, the thin cable does not withstand.
    const Json &given = out[1]["MaxCurrents"];
    EXPECT_EQ(out[1]["Ok"], true);
    EXPECT_EQ(given["Z1T"]["R"].get<double>(), 5.5);
    const Json &breaking = given["Breaking"];
    EXPECT_EQ(breaking["Icu"].get<double>(), 6000);
    EXPECT_EQ(breaking["Imax"],
              given["Ik1"][0].get<double>() > given["Ik3"][0].get<double>() ? given["Ik1"][0]
                                                                            : given["Ik3"][0]);
    EXPECT_EQ(breaking["Ok"], false);
    const Json &cable = given["Thermal"][0];
    EXPECT_EQ(cable["Time"].get<double>(), 0.4);
    EXPECT_EQ(cable["Current"], out[1]["Analysis"]["PointCurrents"][1]);
    EXPECT_EQ(cable["Ok"], false);
    EXPECT_EQ(given["Thermal"][1], nullptr);

    // A failed calculation: no judgement of the new texts at all.
    EXPECT_EQ(out[2]["MaxCurrents"], nullptr);
    EXPECT_EQ(out[2]["Messages"].size(), 1u);

    // Only the first refused text is told, after the rest, and the object is not Ok;
    // everything else stands.
    EXPECT_EQ(out[3]["Ok"], false);
    EXPECT_EQ(out[3]["MaxCurrents"], nullptr);
    EXPECT_EQ(out[3]["Messages"],
              Json::array({"Неверная мощность короткого замыкания питающей сети"}));
    EXPECT_NE(out[3]["Result"], nullptr);
    EXPECT_NE(out[3]["Analysis"], nullptr);
    EXPECT_EQ(out[3]["IokzLabel"], "Ток однофазного короткого замыкания равен 217 А");

    // A single-phase transformer: no three-phase current.
    const Json &single = out[4]["MaxCurrents"];
    EXPECT_EQ(single["Z1T"], nullptr);
    EXPECT_EQ(single["Ik3"],
              Json::array({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));
    EXPECT_GT(single["Ip"][0].get<double>(), single["Ik1"][0].get<double>());
}

TEST_F(CalcCommandTest, RefusedObjectKeepsTheOthersAndTheReport)
{
    const std::string input = R"([
        {"Name": "К-1", "Lines": [{"Length": "1,5"}]},
        {"Name": "К-2", "TransPower": 400, "WindKind": "T/Y-0",
         "Lines": [{"KindPerform": "Кабель с ПВХ изоляцией", "Ff": 25, "Fn": 25, "Length": 1.5}]},
        {"Name": "К-3", "Device": {"TokAVnom": "abc"}}
    ])";
    const Outcome outcome = exec("--locale ru_RU --report " + quoted(path("report.csv")), input);
    ASSERT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    ASSERT_EQ(out.size(), 3u);

    EXPECT_EQ(out[0]["Ok"], false);
    EXPECT_EQ(out[0]["Messages"], Json::array({"Неверная длина линии 1"}));
    EXPECT_EQ(out[0]["IokzLabel"], "Не хватает данных для расчета!");
    EXPECT_EQ(out[0]["Result"], nullptr);
    EXPECT_EQ(out[0]["ResultWindow"], nullptr);

    EXPECT_EQ(out[1]["Ok"], true);
    EXPECT_EQ(out[1]["ResultWindow"]["StLabel"], "Sном=400 кВ*А");
    EXPECT_EQ(out[1]["ReportRow"][0], "К-2");

    // A refused device: the calculation still runs, but the object is not Ok.
    EXPECT_EQ(out[2]["Ok"], false);
    EXPECT_EQ(out[2]["Messages"].size(), 1u);
    EXPECT_EQ(out[2]["ReportRow"][0], "К-3");

    const std::string bytes = readBytes(path("report.csv"));
    const std::string text = DecodeWindows1251(bytes);
    EXPECT_EQ(text.find("К-1;"), std::string::npos);
    const std::size_t k2 = text.find("\r\nК-2;");
    const std::size_t k3 = text.find("\r\nК-3;");
    ASSERT_NE(k2, std::string::npos);
    ASSERT_NE(k3, std::string::npos);
    EXPECT_LT(k2, k3);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes.find('\n', bytes.size() - 1), bytes.size() - 1);
    EXPECT_NE(bytes.find("\xCA-2;"), std::string::npos); // "К" is 0xCA in Windows-1251
}

TEST_F(CalcCommandTest, SameNameReplacesTheRow)
{
    const std::string input = R"([{"Name": "A"}, {"Name": "A", "RArc": "0"}])";
    const Outcome outcome = exec("--locale C --report " + quoted(path("r.csv")), input);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out[1]["Messages"],
              Json::array({"Такое название в отчете уже есть. Заменить данные в отчете?"}));
    EXPECT_EQ(out[1]["ReportRow"][5], "0");
    const std::string text = readBytes(path("r.csv"));
    EXPECT_EQ(text.find("A;"), text.rfind("A;"));
}

TEST_F(CalcCommandTest, EmptyReportGivesAnEmptyFile)
{
    writeBytes(path("old.csv"), "old contents");
    const Outcome outcome = exec("--report " + quoted(path("old.csv")), "[{}]");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(readBytes(path("old.csv")), "");
}

TEST_F(CalcCommandTest, ContractErrorsWriteNothing)
{
    struct Case
    {
        const char *input;
        const char *mention;
    };
    const Case cases[] = {
            {R"({"Nmae": "К-1"})", "\"Nmae\""},
            {R"([{}, {"Lines": [{"Lenght": "5"}]}])", "объект 2"},
            {R"({"TransPower": null})", "\"TransPower\""},
            {R"({"Lines": [{"Length": true}]})", "\"Lines[1].Length\""},
            {R"({"Device": {"AV": "yes"}})", "\"Device.AV\""},
            {R"({"Lines": [{}, {}, {}, {}, {}, {}, {}]})", "\"Lines\""},
            {R"({"Lines": {}})", "\"Lines\""},
            {R"([1])", "объект 1"},
            {R"({"Name": "К-1",)", "JSON"},
            {"", "JSON"},
            // Numbers beyond a double: their place, not an abort.
            {R"({"RArc": 1e400})", "строка 1, столбец 10: число 1e400"},
            {"[{},\n {\"Lines\": [{\"Length\": -1e400}]}]", "строка 2, столбец 24: число -1e400"},
            // A field name with a line break or a C1 control stays on its line.
            {R"({"Na\nme": 1})", R"("Na\nme")"},
            {R"({"Device": {"A\u0085V": 1}})", R"("Device.A\u0085V")"},
            // The JSON reader's own words are told in Russian at their place, without the
            // text it read: a raw line break or bytes that are not UTF-8 stay out.
            {"{\"Name\": \"\xD0M\x9A-1\"}", "строка 1, столбец 12: байт не в кодировке UTF-8"},
            {"{\"Name\": \"a\nb\"}", "строка 1, столбец 12: управляющий символ U+000A"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        writeBytes(path("keep.csv"), "keep");
        const Outcome outcome = exec("--report " + quoted(path("keep.csv")), c.input);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.mention), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line";
        EXPECT_EQ(readBytes(path("keep.csv")), "keep");
    }
}

TEST_F(CalcCommandTest, UsageErrors)
{
    EXPECT_EQ(exec("--bogus").status, 2);
    EXPECT_EQ(exec("--locale").status, 2);
    EXPECT_EQ(exec("--locale xx_nonsense", "{}").status, 2);
    EXPECT_EQ(exec(quoted(path("a.json")) + " " + quoted(path("b.json"))).status, 2);
    const Outcome missing = exec(quoted(path("missing.json")));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("missing.json"), std::string::npos);
    const Outcome unwritable = exec("--report " + quoted(path("no-such-folder/r.csv")), "{}");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.out, "");

    const Outcome version = exec("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tormel-calc 2.8.1\n");
    EXPECT_EQ(exec("--help").status, 0);
}

TEST_F(CalcCommandTest, UsageErrorsQuoteTheUsersTextOnOneLine)
{
    struct Case
    {
        std::string arguments;
        std::string mention;
    };
    const Case cases[] = {
            {quoted("--bo\ngus"), R"("--bo\ngus")"},
            {"--locale " + quoted("ru\r\nRU"), R"("ru\r\nRU")"},
            {quoted(path("miss\ning.json")), R"(miss\ning.json")"},
            {"--report " + quoted(path("no-folder/r\t.csv")), R"(no-folder/r\t.csv")"},
            {"--open " + quoted(path("gone\n.csv")), R"(gone\n.csv")"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = exec(c.arguments, "{}");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.mention), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line";
    }
}

// Results that never reached their reader are a failure, not a success.
TEST_F(CalcCommandTest, OutputThatCannotBeWrittenFails)
{
    std::string many = "[";
    for (int i = 0; i < 30; ++i)
        many += std::string(i ? "," : "") + "{}";
    many += "]";
    struct Case
    {
        std::string arguments;
        std::string input;
        std::string output;
        std::string reason;
    };
    const Case cases[] = {
            {"", "{}", "> /dev/full", "диск переполнен"},
            {"", many, "> /dev/full", "диск переполнен"},
            {"--help", "", "> /dev/full", "диск переполнен"},
            {"", "{}", ">&-", "файл закрыт"},
            {"--version", "", ">&-", "файл закрыт"},
            // A closed output is never taken over by a file the program opens.
            {"--report " + quoted(path("r.csv")) + " " + quoted(path("in.json")),
             "",
             ">&-",
             "файл закрыт"},
    };
    writeFile(path("in.json"), R"({"Name": "A"})");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments + " " + c.output);
        const Outcome outcome = exec(c.arguments, c.input, "LC_ALL=C.UTF-8", c.output);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err,
                  "tormel-calc: не удалось записать стандартный вывод: " + c.reason + "\n");
    }
    EXPECT_EQ(readFile(path("in.json")), R"({"Name": "A"})");
}

TEST_F(CalcCommandTest, ReportIsNeverWrittenOverTheOutput)
{
    const Outcome outcome = exec("--report /dev/stdout", R"({"Name": "A"})");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "tormel-calc: не удалось сохранить отчет \"/dev/stdout\": это файл стандартного "
              "вывода\n");
    const Outcome device = exec("--report /dev/null", R"({"Name": "A"})");
    EXPECT_EQ(device.status, 2);
    EXPECT_EQ(device.err,
              "tormel-calc: не удалось сохранить отчет \"/dev/null\": это устройство, а не файл\n");
}

TEST_F(CalcCommandTest, RefusedPointNameIsNotOk)
{
    const Outcome outcome = exec("--report " + quoted(path("r.csv")), R"({"Name": "ДлинноеИмя"})");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out["Ok"], false);
    EXPECT_EQ(out["Messages"],
              Json::array({"Количество символов в названии не должно превышать 8."}));
    EXPECT_EQ(out["ReportRow"], nullptr);
    EXPECT_EQ(readFile(path("r.csv")), "");
}

TEST_F(CalcCommandTest, SixLinesAreCalculated)
{
    const Outcome outcome = exec("--locale C", R"({"Lines": [{}, {}, {}, {}, {},
        {"KindPerform": "Кабель с ПВХ изоляцией", "Ff": 25, "Fn": 25, "Length": 100}]})");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json result = outcome.json()["Result"];
    EXPECT_DOUBLE_EQ(result["RLine"][5].get<double>(), 148);
    EXPECT_DOUBLE_EQ(result["Rsum"].get<double>(), 840.4);
}

TEST_F(CalcCommandTest, NegativeNumberReachesTheCalculationAsTypedText)
{
    const Outcome number = exec("--locale C", R"({"Lines": [{"Length": -5}]})");
    const Outcome text = exec("--locale C", R"({"Lines": [{"Length": "-5"}]})");
    EXPECT_EQ(number.status, 1) << number.err;
    EXPECT_EQ(number.json()["Messages"], Json::array({"Неверная длина линии 1"}));
    EXPECT_EQ(number.out, text.out);
}

TEST_F(CalcCommandTest, OpenedReportReceivesTheNewPoints)
{
    ASSERT_EQ(
            exec("--report " + quoted(path("old.csv")), R"([{"Name": "A"}, {"Name": "B"}])").status,
            0);
    const std::string old = readFile(path("old.csv"));

    const Outcome outcome
            = exec("--open " + quoted(path("old.csv")) + " --report " + quoted(path("new.csv")),
                   R"([{"Name": "C"}, {"Name": "B", "RArc": 0}])");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out[0]["Messages"], Json::array());
    EXPECT_EQ(out[1]["Messages"],
              Json::array({"Такое название в отчете уже есть. Заменить данные в отчете?"}));
    EXPECT_EQ(readFile(path("old.csv")), old);
    const std::string saved = readFile(path("new.csv"));
    const std::size_t a = saved.find("\r\nA;"), b = saved.find("\r\nB;"), c = saved.find("\r\nC;");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_EQ(saved.substr(b, saved.find("\r\n", b + 2) - b),
              "\r\n" + ReportLine(out[1]["ReportRow"]));

    // Without --report nothing is written.
    const Outcome readOnly = exec("--open " + quoted(path("old.csv")), R"({"Name": "D"})");
    EXPECT_EQ(readOnly.status, 0) << readOnly.err;
    EXPECT_EQ(readFile(path("old.csv")), old);
}

TEST_F(CalcCommandTest, OpenedOkzReportIsSavedAsCsv)
{
    // "К-7" in Windows-1251, with twelve cells between thirteen bars.
    writeFile(path("old.okz"), "|\xCA-7|1|2|3|4|5|6|7|8|9|10|11|\r\n");
    const Outcome outcome
            = exec("--open " + quoted(path("old.okz")) + " --report " + quoted(path("new.csv")),
                   R"({"Name": "К-8"})");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.json()["Messages"], Json::array());
    const std::string saved = DecodeWindows1251(readFile(path("new.csv")));
    EXPECT_NE(saved.find("\r\nК-7;1;2;3;4;5;6;7;8;9;10;11\r\nК-8;"), std::string::npos) << saved;
}

TEST_F(CalcCommandTest, DamagedReportLoadsItsReadableRowsAndSaysSo)
{
    // The second point's line lacks its last two fields.
    writeFile(path("old.csv"),
              "h;h;h;h;h;h;h;h;h;h;h;h\r\nu;u;u;u;u;u;u;u;u;u;u;u\r\n"
              "P;1;2;3;4;5;6;7;8;9;10;11\r\nQ;1;2;3;4;5;6;7;8;9\r\n");
    const Outcome outcome = exec("--open " + quoted(path("old.csv")), R"([{"Name": "R"}, {}])");
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out[0]["Messages"],
              Json::array({"Формат файла поврежден. Продолжить загрузку данных?"}));
    EXPECT_EQ(out[0]["Ok"], true);
    EXPECT_EQ(out[1]["Messages"], Json::array());
    EXPECT_EQ(out[0]["ReportRow"][0], "R");

    // The damaged line keeps its separators in a cell, which the semicolon file cannot
    // hold: the report is not saved, and the message names the row.
    const Outcome save
            = exec("--open " + quoted(path("old.csv")) + " --report " + quoted(path("new.csv")),
                   R"([{"Name": "R"}])");
    EXPECT_EQ(save.status, 2);
    EXPECT_NE(save.err.find("в строке 2 содержит точку с запятой"), std::string::npos) << save.err;
    EXPECT_EQ(save.out, "");
    EXPECT_FALSE(fs::exists(path("new.csv")));

    // With no object to carry it, the exit status still tells.
    EXPECT_EQ(exec("--open " + quoted(path("old.csv")), "[]").status, 1);
}

TEST_F(CalcCommandTest, ReportThatCannotBeOpenedStopsTheRun)
{
    fs::create_directory(path("folder.csv"));
    writeFile(path("notes.txt"), "x");
    struct Case
    {
        std::string file;
        std::string err;
    };
    const Case cases[] = {
            {path("missing.csv"),
             "Не удалось прочитать файл \"" + path("missing.csv").string()
                     + "\": нет такого файла или папки."},
            {path("folder.csv"),
             "Не удалось прочитать файл \"" + path("folder.csv").string()
                     + "\": это папка, а не файл."},
            {path("notes.txt"), "Отчет можно открыть только из файла с расширением csv или okz."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(path("keep.csv"), "keep");
        const Outcome outcome
                = exec("--open " + quoted(c.file) + " --report " + quoted(path("keep.csv")),
                       R"({"Name": "A"})");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "tormel-calc: " + c.err + "\n");
        EXPECT_EQ(readFile(path("keep.csv")), "keep");
    }
    EXPECT_EQ(exec("--open", "{}").status, 2);
    EXPECT_EQ(exec("--open=", "{}").status, 2);
}

TEST_F(CalcCommandTest, DefaultSeparatorsComeFromTheEnvironment)
{
    const Outcome russian = exec("", "{}", "LC_ALL= LANG=ru_RU.UTF-8");
    ASSERT_EQ(russian.status, 0) << russian.err;
    EXPECT_EQ(russian.json()["ResultWindow"]["RsumLabel"], "Rф-н=692,40 мОм");
    const Outcome plain = exec("", "{}", "LC_ALL=C");
    EXPECT_EQ(plain.json()["ResultWindow"]["RsumLabel"], "Rф-н=692.40 мОм");
}

TEST_F(CalcCommandTest, ExamplesRun)
{
    const Outcome feeder = exec(quoted(std::string(TORMEL_EXAMPLES_DIR) + "/feeder.json"));
    ASSERT_EQ(feeder.status, 0) << feeder.out;
    const Json points = feeder.json();
    ASSERT_EQ(points.size(), 3u);
    // Each section added further along the feeder lowers the current.
    EXPECT_GT(points[0]["Result"]["Iokz"], points[1]["Result"]["Iokz"]);
    EXPECT_GT(points[1]["Result"]["Iokz"], points[2]["Result"]["Iokz"]);

    const Outcome devices = exec(quoted(std::string(TORMEL_EXAMPLES_DIR) + "/device-check.json"));
    ASSERT_EQ(devices.status, 0) << devices.out;
    EXPECT_EQ(devices.json()[0]["StatusDDColor"], "black");
    EXPECT_EQ(devices.json()[1]["StatusDDColor"], "red");
}

// What the window shows after "Расчет" and the point-name dialog's "Да", for the texts
// it holds now.
struct WindowOutcome
{
    std::vector<std::string> Messages;
    std::string IokzLabel, StatusDDLabel;
    std::vector<std::pair<std::string, std::string>> Labels;
    Json ReportRow;
};

WindowOutcome calculateInWindow(TormelSession &session, testing::RecordingMessages &messages)
{
    if (session.Calculate().AskPointName)
        session.AddPoint();
    WindowOutcome outcome;
    outcome.Messages = messages.texts();
    outcome.IokzLabel = session.Status().IokzLabel;
    outcome.StatusDDLabel = session.Status().StatusDDLabel;
    outcome.Labels = session.ResultWindow().Labels();
    outcome.ReportRow = Json::array();
    for (int col = 0; col < ReportTable::ColCount; ++col)
        outcome.ReportRow.push_back(session.Report().Cell(col, 0));
    return outcome;
}

void expectSameAsWindow(const Json &out, const WindowOutcome &window)
{
    EXPECT_EQ(out["Messages"], Json(window.Messages));
    EXPECT_EQ(out["IokzLabel"], window.IokzLabel);
    EXPECT_EQ(out["StatusDDLabel"], window.StatusDDLabel);
    for (const auto &[name, text] : window.Labels)
        EXPECT_EQ(out["ResultWindow"][name], text) << name;
    EXPECT_EQ(out["ReportRow"], window.ReportRow);
}

TEST_F(CalcCommandTest, FeedFileOfTheWindowComputesToWhatTheWindowShowed)
{
    testing::RecordingMessages messages;
    TormelSession session(messages, NumberSeparators::russian());
    testing::EnterSampleFeed(session);
    ASSERT_TRUE(messages.entries().empty());
    writeFile(path("sample.tormel.json"), WriteFeedDocument(FeedFromSession(session)));
    const WindowOutcome window = calculateInWindow(session, messages);
    ASSERT_EQ(window.ReportRow[0], "К-7");

    const Outcome outcome = exec("--locale ru_RU " + quoted(path("sample.tormel.json")));
    ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
    expectSameAsWindow(outcome.json(), window);
}

TEST_F(CalcCommandTest, FeedFileWithADeviceNotAcceptedAndATooLongNameGivesTheSameMessages)
{
    testing::RecordingMessages messages;
    TormelSession session(messages, NumberSeparators::russian());
    session.Input().Lines[0].Length = "30";
    TokNRCheckBoxClick(session.DeviceForm(), true);
    session.DeviceForm().TokNR.Text = "900";
    session.AskNumber().SetNumberEditText("слишком длинное");
    writeFile(path("typed.tormel.json"), WriteFeedDocument(FeedFromSession(session)));
    if (session.Calculate().AskPointName)
        session.AddPoint();

    const Outcome outcome = exec("--locale ru_RU " + quoted(path("typed.tormel.json")));
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Json out = outcome.json();
    EXPECT_EQ(out["Messages"], Json(messages.texts()));
    ASSERT_FALSE(messages.texts().empty());
    EXPECT_EQ(out["StatusDDLabel"], session.Status().StatusDDLabel);
    EXPECT_EQ(out["IokzLabel"], session.Status().IokzLabel);
}

TEST_F(CalcCommandTest, SeveralInputFilesRunInOrderAsOneBatchWithOneReport)
{
    writeFile(path("one.tormel.json"), R"({"Name": "К-1"})");
    writeFile(path("two.json"), R"([{"Name": "К-2", "RArc": "0"}, {"Name": "К-1", "RArc": "5"}])");
    const Outcome outcome
            = exec("--locale ru_RU --report " + quoted(path("r.csv")) + " "
                   + quoted(path("one.tormel.json")) + " " + quoted(path("two.json")));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Json out = outcome.json();
    ASSERT_TRUE(out.is_array());
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0]["Name"], "К-1");
    EXPECT_EQ(out[1]["Name"], "К-2");
    EXPECT_EQ(out[2]["ResultWindow"]["RotherLabel"], "Rпр=5 мОм");
    // The third object replaced the first one's row: the report runs across the files.
    const std::string report = DecodeWindows1251(readFile(path("r.csv")));
    EXPECT_EQ(report.find("\nК-1;"), report.rfind("\nК-1;"));
    EXPECT_NE(report.find("\nК-1;"), std::string::npos);
    EXPECT_NE(report.find("\nК-2;"), std::string::npos);

    // One object alone keeps the shape of its file; a refused file is named.
    const Outcome single = exec(quoted(path("one.tormel.json")));
    EXPECT_TRUE(single.json().is_object());
    writeFile(path("bad.json"), R"({"Lines": {}})");
    const Outcome refused = exec(quoted(path("one.tormel.json")) + " " + quoted(path("bad.json")));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("bad.json\": объект 1, поле \"Lines\""), std::string::npos)
            << refused.err;
}

} // namespace
} // namespace tormel

namespace tormel {
namespace {

TEST_F(CalcCommandTest, SheetsOfEveryCalculatedObjectThenTheReport)
{
    const std::string feeder = quoted(std::string(TORMEL_EXAMPLES_DIR) + "/feeder.json");
    const std::string refused = quoted(path("refused.json"));
    writeBytes(path("refused.json"), R"({"Name": "Х-1", "Lines": [{"Length": "-5"}]})");
    const std::string sheet = path("листы.pdf").string();

    const Outcome plain = exec("--locale ru_RU " + feeder + " " + refused);
    const Outcome outcome = exec("--locale ru_RU --sheet " + quoted(sheet) + " --report "
                                 + quoted(path("r.csv")) + " " + feeder + " " + refused);
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.out, plain.out); // the sheets change no result
    const int pages = testing::PdfPageCount(sheet);
    ASSERT_GE(pages, 4);
    const std::string text = testing::PdfText(sheet);
    for (const std::string point : {"К-1", "К-2", "К-3"})
        EXPECT_NE(text.find("Точка короткого замыкания: " + point), std::string::npos) << point;
    // Each sheet names the file its object came from.
    EXPECT_NE(testing::PdfText(sheet, 1).find("Файл схемы: " + std::string(TORMEL_EXAMPLES_DIR)
                                              + "/feeder.json"),
              std::string::npos);
    EXPECT_EQ(text.find("Х-1"), std::string::npos); // refused: no sheet, no report row
    const Json out = outcome.json();
    const std::string current = out[2]["IokzLabel"].get<std::string>();
    EXPECT_NE(text.find(current), std::string::npos);
    EXPECT_EQ(testing::PdfText(sheet, pages).rfind("Отчет о расчете", 0), 0u);
    EXPECT_NE(testing::PdfText(sheet, pages).find("Файл отчета: " + path("r.csv").string()),
              std::string::npos);
    EXPECT_NE(testing::PdfText(sheet, pages).find(out[2]["ReportRow"][9].get<std::string>()),
              std::string::npos);

    // Without --report the sheets end with the last calculation.
    ASSERT_EQ(exec("--locale ru_RU --sheet " + quoted(sheet) + " " + feeder).status, 0);
    EXPECT_EQ(testing::PdfText(sheet).find("Отчет о расчете"), std::string::npos);
}

TEST_F(CalcCommandTest, SheetThatCannotBeWrittenIsAFailureOfTheRun)
{
    const std::string missing = path("нет").string() + "/листы.pdf";
    const Outcome outcome = exec("--sheet " + quoted(missing), R"({"Name": "A"})");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind(
                      "tormel-calc: не удалось записать расчетные листы \"" + missing + "\": ", 0),
              0u)
            << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1);

    const Outcome output = exec("--sheet /dev/stdout", "{}");
    EXPECT_EQ(output.status, 2);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err,
              "tormel-calc: не удалось записать расчетные листы \"/dev/stdout\": это файл "
              "стандартного вывода\n");

    const Outcome empty = exec("--sheet=", "{}");
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.err, "tormel-calc: пустое имя файла расчетных листов (см. --help)\n");
    EXPECT_NE(exec("--help").out.find("--sheet ФАЙЛ"), std::string::npos);
}

} // namespace
} // namespace tormel

namespace tormel {
namespace {

// An output never replaces a file that the same run reads or writes, whatever name it is
// given: refused before anything is computed, with one line, and every file as it was.
TEST_F(CalcCommandTest, OutputThatNamesAFileOfTheRunIsRefusedAndNothingIsWritten)
{
    const std::string feed = path("a.tormel.json").string();
    const std::string feedText = R"({"Name": "К-1"})";
    writeFile(feed, feedText);
    const std::string report = path("r.csv").string();
    writeFile(report, "old report");
    fs::create_symlink(feed, path("link.csv"));
    fs::create_directory(path("sub"));
    const std::string standardInput = path("stdin").string();
    const std::string standardError = path("stderr").string();
    const std::string reportPrefix = "tormel-calc: не удалось сохранить отчет ";
    const std::string sheetPrefix = "tormel-calc: не удалось записать расчетные листы ";
    struct Case
    {
        const char *name;
        std::string arguments;
        std::string error;
    };
    const Case cases[] = {
            {"the sheet is the report",
             "--report " + quoted(report) + " --sheet " + quoted(report) + " " + quoted(feed),
             sheetPrefix + "\"" + report + "\": это файл отчета"},
            {"the sheet is the new report under another name",
             "--report " + quoted(path("new.csv")) + " --sheet "
                     + quoted(path("sub").string() + "/../new.csv") + " " + quoted(feed),
             sheetPrefix + "\"" + path("sub").string() + "/../new.csv\": это файл отчета"},
            {"the report is an input",
             "--report " + quoted(feed) + " " + quoted(feed),
             reportPrefix + "\"" + feed + "\": это входной файл \"" + feed + "\""},
            {"the report is a link to an input",
             "--report " + quoted(path("link.csv")) + " " + quoted(feed),
             reportPrefix + "\"" + path("link.csv").string() + "\": это входной файл \"" + feed
                     + "\""},
            {"the sheet is the opened report",
             "--open " + quoted(report) + " --sheet " + quoted(report) + " " + quoted(feed),
             sheetPrefix + "\"" + report + "\": это открываемый отчет"},
            {"the sheet is the error output",
             "--sheet " + quoted(standardError) + " " + quoted(feed),
             sheetPrefix + "\"" + standardError + "\": это файл стандартного вывода ошибок"},
            {"the report is the standard input",
             "--report /dev/stdin",
             reportPrefix + "\"/dev/stdin\": это файл стандартного ввода"},
            {"the report is the standard input by its name",
             "--report " + quoted(standardInput),
             reportPrefix + "\"" + standardInput + "\": это файл стандартного ввода"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = exec(c.arguments, feedText);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.error + "\n");
        EXPECT_EQ(readFile(feed), feedText);
        EXPECT_EQ(readFile(report), "old report");
        EXPECT_EQ(readFile(standardInput), feedText);
        EXPECT_FALSE(fs::exists(path("new.csv")));
    }

    // Updating the opened report is what --open and --report together are for.
    ASSERT_TRUE(SaveReportFile(ReportTable(), report).Ok);
    const Outcome update
            = exec("--open " + quoted(report) + " --report " + quoted(report) + " " + quoted(feed));
    EXPECT_EQ(update.status, 0) << update.err;
    EXPECT_NE(DecodeWindows1251(readFile(report)).find("\nК-1;"), std::string::npos);
}

// The sheet and the report are put in place together at the end: a sheet that cannot be
// written leaves the old report as it was, and the other way round.
TEST_F(CalcCommandTest, ReportAndSheetAreWrittenBothOrNeither)
{
    const std::string feed = quoted(std::string(TORMEL_EXAMPLES_DIR) + "/feeder.json");
    const std::string report = path("old.csv").string();
    const std::string sheet = path("s.pdf").string();
    writeFile(report, "old report");
    fs::create_directory(sheet);
    const Outcome folder
            = exec("--report " + quoted(report) + " --sheet " + quoted(sheet) + " " + feed);
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.out, "");
    EXPECT_EQ(folder.err,
              "tormel-calc: не удалось записать расчетные листы \"" + sheet
                      + "\": это папка, а не файл\n");
    EXPECT_EQ(readFile(report), "old report");

    fs::remove(sheet);
    writeFile(sheet, "old sheet");
    // A report that cannot be written (an opened cell with a semicolon, which would read
    // back shifted) leaves the old sheet too.
    writeFile(path("o.okz"), "|К;1|a|b|c|d|e|f|g|h|i|j|k|\r\n");
    const Outcome unwritable = exec("--open " + quoted(path("o.okz")) + " --report "
                                            + quoted(report) + " --sheet " + quoted(sheet),
                                    "{}");
    EXPECT_EQ(unwritable.status, 2) << unwritable.err;
    EXPECT_EQ(unwritable.out, "");
    EXPECT_EQ(readFile(report), "old report");
    EXPECT_EQ(readFile(sheet), "old sheet");

    const Outcome both
            = exec("--report " + quoted(report) + " --sheet " + quoted(sheet) + " " + feed);
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_NE(readFile(report), "old report");
    EXPECT_EQ(readFile(sheet).rfind("%PDF", 0), 0u);
}

// The report is written only in the semicolon format: a name that "Открыть..." would
// read as the bar-separated format is refused, so that the file's points are not lost
// when it is opened again.
TEST_F(CalcCommandTest, ReportNamedAsTheOtherFormatIsRefused)
{
    const std::string okz = path("p.okz").string();
    const std::string okzText = "|К-1|a|b|c|d|e|f|g|h|i|j|k|\r\n";
    writeFile(okz, okzText);
    for (const std::string &arguments :
         {"--report " + quoted(okz), "--open " + quoted(okz) + " --report " + quoted(okz)}) {
        SCOPED_TRACE(arguments);
        const Outcome outcome = exec(arguments, R"({"Name": "К-2"})");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err,
                  "tormel-calc: не удалось сохранить отчет \"" + okz
                          + "\": файл okz читается в другом формате, отчет сохраняется только "
                            "в формате csv\n");
        EXPECT_EQ(readFile(okz), okzText);
    }
    // Other names keep working as they did.
    EXPECT_EQ(exec("--report " + quoted(path("p.txt")), R"({"Name": "К-2"})").status, 0);
}

// Opening reads only a regular file of a bounded size, at once: a link to a device or a
// pipe is refused without reading or waiting.
TEST_F(CalcCommandTest, OpenedReportMustBeARegularFile)
{
    fs::create_symlink("/dev/zero", path("zero.csv"));
    ASSERT_EQ(::mkfifo(path("fifo.csv").c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
            {path("zero.csv").string(), "это устройство, а не файл"},
            {path("fifo.csv").string(), "это канал, а не файл"},
    };
    for (const auto &[file, reason] : cases) {
        const Outcome outcome = exec("--open " + quoted(file), "{}");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err,
                  "tormel-calc: Не удалось прочитать файл \"" + file + "\": " + reason + ".\n");
    }
}

// The sheets name only the points that the report holds, and a run without a calculated
// object gets a page that says so rather than one numbered 0.
TEST_F(CalcCommandTest, SheetsShowWhatTheReportHolds)
{
    const std::string sheet = path("s.pdf").string();
    const Outcome refused
            = exec("--locale ru_RU --sheet " + quoted(sheet), R"({"Name": "слишком длинное"})");
    EXPECT_EQ(refused.status, 1) << refused.err;
    const std::string text = testing::PdfText(sheet);
    EXPECT_EQ(text.find("слишком длинное"), std::string::npos);
    EXPECT_NE(text.find("Точка короткого замыкания: не задана"), std::string::npos) << text;

    const Outcome empty = exec("--sheet " + quoted(sheet), "[]");
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(testing::PdfPageCount(sheet), 1);
    EXPECT_NE(testing::PdfText(sheet).find(std::string(EmptySheetText)), std::string::npos);
    EXPECT_EQ(testing::PdfText(sheet).find("Лист 0"), std::string::npos);
}

} // namespace
} // namespace tormel
