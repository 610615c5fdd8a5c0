#include "cli/BatchRunner.h"
#include "cli/CalcCommand.h"
#include "cli/OutputSpool.h"
#include "feed/BatchInput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace tormel {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << file.rdbuf();
    return buffer.str();
}

struct CommandRun
{
    int status = -1;
    std::string out;
    std::string err;
};

CommandRun runCommand(std::vector<std::string> arguments, const std::string &input)
{
    arguments.insert(arguments.begin(), {"--locale", "ru_RU"});
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CommandRun run;
    run.status = cli::RunCalcCommand(arguments, in, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The output as a run holding the whole document and all its results gives it.
std::string heldOutput(const std::string &document)
{
    const cli::BatchOutcome outcome
            = cli::RunBatch(ParseBatchInput(document), NumberSeparators::russian());
    return outcome.Output.dump(2) + "\n";
}

// Varied feeders: refused lines, devices, named points (some of the same name), texts
// that the output escapes.
std::string generatedDocument(int count)
{
    nlohmann::json document = nlohmann::json::array();
    for (int i = 0; i < count; ++i) {
        nlohmann::json object;
        object["TransPower"] = std::to_string(25 * (1 + i % 16));
        object["Lines"] = {{{"KindPerform", "Кабель с ПВХ изоляцией"},
                            {"Length", i % 13 == 12 ? "-1" : std::to_string(i % 400)}},
                           {{"KindPerform", "СИП-2"}, {"Length", i % 50}}};
        if (i % 3 == 0)
            object["Device"] = {{"TokAVnom", "25"}, {"Accepted", i % 2 == 0}};
        if (i % 7 == 0)
            object["Name"] = "Т\"" + std::to_string(i % 20) + "\\\t";
        document.push_back(object);
    }
    // Compact and indented documents both occur.
    return count % 2 ? document.dump() : document.dump(1);
}

class StreamedOutputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
                / ("tormel-stream-" + std::to_string(::getpid()) + "-"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

// The results are written one at a time with the bytes of the whole array's dump:
// the shapes, the examples and long generated runs.
TEST_F(StreamedOutputTest, SameBytesAsTheWholeOutput)
{
    struct Case
    {
        std::string name;
        std::string document;
    };
    std::vector<Case> cases = {
            {"single object", R"({"Name": "К-1"})"},
            {"empty object", "{}"},
            {"empty array", "[]"},
            {"array of one", "[{}]"},
            {"refused object", R"([{"Lines": [{"Length": "-1"}]}, {"Name": ""}])"},
            {"generated, 301 objects", generatedDocument(301)},
            {"generated, 2000 objects", generatedDocument(2000)},
    };
    for (const auto &entry : fs::directory_iterator(TORMEL_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".json")
            cases.push_back({entry.path().filename().string(), readFile(entry.path())});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRun run = runCommand({}, c.document);
        ASSERT_LE(run.status, 1) << run.err;
        EXPECT_EQ(run.err, "");
        const std::string held = heldOutput(c.document);
        EXPECT_EQ(run.out.size(), held.size());
        EXPECT_TRUE(run.out == held)
                << "first difference at byte "
                << std::mismatch(run.out.begin(), run.out.end(), held.begin(), held.end()).first
                           - run.out.begin();
    }
}

// Several documents are one array: the same bytes as their objects in one array.
TEST_F(StreamedOutputTest, SeveralDocumentsAreOneArray)
{
    const fs::path first = m_dir / "first.json";
    const fs::path second = m_dir / "second.json";
    std::ofstream(first) << R"({"Name": "А"})";
    std::ofstream(second) << "[]";
    const fs::path third = m_dir / "third.json";
    std::ofstream(third) << R"([{"Name": "Б"}, {}])";
    const CommandRun run = runCommand({first.string(), second.string(), third.string()}, "");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, heldOutput(R"([{"Name": "А"}, {"Name": "Б"}, {}])"));
}

// An error found after many objects were computed still leaves nothing printed and no report
// written.
TEST_F(StreamedOutputTest, ErrorLateInALongRunPrintsNothing)
{
    const std::string objects = generatedDocument(1500);
    const std::string body = objects.substr(0, objects.size() - 1);
    struct Case
    {
        const char *name;
        std::string document;
        std::string error;
    };
    const Case cases[] = {
            {"unknown field in the last object",
             body + R"(, {"Lenght": 1}])",
             "объект 1501, поле \"Lenght\": неизвестное поле"},
            {"document cut short", body + ", {", "неверный JSON"},
            {"number beyond a double", body + R"(, {"RArc": 1e999}])", "число 1e999"},
    };
    const fs::path report = m_dir / "report.csv";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(report) << "keep";
        const CommandRun run = runCommand({"--report", report.string()}, c.document);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_EQ(readFile(report), "keep");
    }
}

// The report is opened before the objects are read, but its failure is told after
// the input errors, as when the whole input was read first, and nothing is computed.
TEST_F(StreamedOutputTest, ReportThatCannotBeOpenedIsToldAfterInputErrors)
{
    const std::string missing = (m_dir / "missing.csv").string();
    const CommandRun inputError = runCommand({"--open", missing}, R"([{}, {"Nmae": 1}])");
    EXPECT_EQ(inputError.status, 2);
    EXPECT_EQ(inputError.out, "");
    EXPECT_NE(inputError.err.find("объект 2, поле \"Nmae\""), std::string::npos) << inputError.err;

    const CommandRun openError = runCommand({"--open", missing}, R"([{}, {"Name": "А"}])");
    EXPECT_EQ(openError.status, 2);
    EXPECT_EQ(openError.out, "");
    EXPECT_NE(openError.err.find("missing.csv"), std::string::npos) << openError.err;
}

// A file that cannot be read to its end is told as such, not as broken JSON.
TEST_F(StreamedOutputTest, InputThatCannotBeReadIsNamed)
{
    const CommandRun run = runCommand({m_dir.string()}, "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("не удалось прочитать"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("JSON"), std::string::npos) << run.err;
}

// Past its memory limit the spool moves to a temporary file and gives back every
// byte in order, also when the consumer stops early.
TEST(OutputSpoolTest, GivesBackWhatItWasGiven)
{
    for (const std::size_t limit : {std::size_t(1), std::size_t(10), std::size_t(1) << 20}) {
        SCOPED_TRACE(limit);
        cli::OutputSpool spool(limit);
        std::string given;
        for (int i = 0; i < 5000; ++i) {
            const std::string piece = std::to_string(i) + (i % 17 ? "," : "\n");
            spool.Append(piece);
            given += piece;
        }
        EXPECT_EQ(spool.Spilled(), limit < given.size());
        std::string copied;
        spool.CopyTo([&](std::string_view piece) {
            copied.append(piece);
            return true;
        });
        EXPECT_TRUE(copied == given);
        int pieces = 0;
        spool.CopyTo([&](std::string_view) { return ++pieces < 1; });
        EXPECT_EQ(pieces, 1);
    }
}

} // namespace
} // namespace tormel
