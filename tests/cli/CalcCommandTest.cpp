#include "report/Windows1251.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tormel {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string readFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << file.rdbuf();
    return buffer.str();
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
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
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
                / ("tormel-cli-" + std::to_string(::getpid()) + "-"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const std::string &name) const { return m_dir / name; }

    Outcome exec(const std::string &arguments,
                 const std::string &input = {},
                 const std::string &environment = "LC_ALL=C.UTF-8 LANG=C.UTF-8") const
    {
        writeFile(path("stdin"), input);
        const std::string command = "env " + environment + " " + quoted(TORMEL_CALC_PATH) + " "
                                    + arguments + " < " + quoted(path("stdin")) + " > "
                                    + quoted(path("stdout")) + " 2> " + quoted(path("stderr"));
        const int raw = std::system(command.c_str());
        Outcome result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readFile(path("stdout"));
        result.err = readFile(path("stderr"));
        return result;
    }

private:
    fs::path m_dir;
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

    const std::string bytes = readFile(path("report.csv"));
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
    const std::string text = readFile(path("r.csv"));
    EXPECT_EQ(text.find("A;"), text.rfind("A;"));
}

TEST_F(CalcCommandTest, EmptyReportGivesAnEmptyFile)
{
    writeFile(path("old.csv"), "old contents");
    const Outcome outcome = exec("--report " + quoted(path("old.csv")), "[{}]");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(readFile(path("old.csv")), "");
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        writeFile(path("keep.csv"), "keep");
        const Outcome outcome = exec("--report " + quoted(path("keep.csv")), c.input);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(c.mention), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line";
        EXPECT_EQ(readFile(path("keep.csv")), "keep");
    }
}

TEST_F(CalcCommandTest, UsageErrors)
{
    EXPECT_EQ(exec("--bogus").status, 2);
    EXPECT_EQ(exec("--locale").status, 2);
    EXPECT_EQ(exec("--locale xx_nonsense", "{}").status, 2);
    EXPECT_EQ(exec("a.json b.json").status, 2);
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

} // namespace
} // namespace tormel
