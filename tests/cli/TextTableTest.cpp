#include "cli/TextTable.h"
#include "cli/BatchRunner.h"
#include "feed/BatchInput.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace tormel::cli {
namespace {

std::string tableOf(const std::vector<TextTableRow> &rows,
                    std::vector<std::string> checkHeaders = {},
                    std::size_t blockRows = 1000)
{
    std::string text;
    TextTableWriter writer([&](std::string_view piece) { text += piece; },
                           NumberSeparators::russian(),
                           std::move(checkHeaders),
                           blockRows);
    for (const TextTableRow &row : rows)
        writer.Add(row);
    writer.Finish();
    return text;
}

TextTableRow calculated(std::size_t position, std::string name, double current)
{
    TextTableRow row;
    row.Position = position;
    row.Name = std::move(name);
    row.Ok = true;
    row.Current = current;
    row.DeviceVerdict = "В расчете не определен";
    return row;
}

TEST(TextTableTest, ColumnsFitTheRowsAndMessagesStandUnderTheirRow)
{
    TextTableRow device = calculated(2, "Щ-1", 1234.5);
    device.Margin = 1.5;
    device.DeviceVerdict = "Автомат сработает";
    TextTableRow refused;
    refused.Position = 10;
    refused.DeviceVerdict = "Выполните расчет тока однофазного короткого замыкания";
    refused.Messages = {"Неверная длина линии 1", "Первая строка\nвторая строка"};
    EXPECT_EQ(tableOf({calculated(1, "К-1", 217.5), device, refused}),
              " №  Точка  Iокз, А  Iокз/Iср  Защитный аппарат\n"
              " 1  К-1        218       ---  В расчете не определен\n"
              " 2  Щ-1       1234      1,50  Автомат сработает\n"
              "10  ---        ---       ---  Выполните расчет тока однофазного короткого "
              "замыкания\n"
              "    Неверная длина линии 1\n"
              "    Первая строка\n"
              "    вторая строка\n"
              "\n"
              "Всего объектов: 3, из них с отказами: 1\n");
}

TEST(TextTableTest, UserTextCannotBreakTheTable)
{
    TextTableRow row = calculated(1, "К\n1\t", 100);
    row.Messages = {"Такое название\tуже есть"};
    EXPECT_EQ(tableOf({row}),
              "№  Точка   Iокз, А  Iокз/Iср  Защитный аппарат\n"
              "1  К\\n1\\t      100       ---  В расчете не определен\n"
              "   Такое название\\tуже есть\n"
              "\n"
              "Всего объектов: 1, из них с отказами: 0\n");
}

// A long run holds one block of rows: the rows after it keep the block's widths, and
// a longer cell only pushes its own row.
TEST(TextTableTest, WidthsOfTheFirstBlockHoldForTheRest)
{
    EXPECT_EQ(tableOf({calculated(1, "А", 5),
                       calculated(2, "Б", 50),
                       calculated(3, "ДлинноеИмя", 5000),
                       calculated(4, "В", 5)},
                      {},
                      2),
              "№  Точка  Iокз, А  Iокз/Iср  Защитный аппарат\n"
              "1  А            5       ---  В расчете не определен\n"
              "2  Б           50       ---  В расчете не определен\n"
              "3  ДлинноеИмя     5000       ---  В расчете не определен\n"
              "4  В            5       ---  В расчете не определен\n"
              "\n"
              "Всего объектов: 4, из них с отказами: 0\n");
}

TEST(TextTableTest, FurtherChecksStandBeforeTheDevice)
{
    TextTableRow row = calculated(1, "К-1", 8000);
    row.Checks = {"выдержит"};
    EXPECT_EQ(tableOf({row, calculated(2, "К-2", 90)}, {"Отключение", "Термическая стойкость"}),
              "№  Точка  Iокз, А  Iокз/Iср  Отключение  Термическая стойкость  Защитный аппарат\n"
              "1  К-1       8000       ---  выдержит    ---                    В расчете не "
              "определен\n"
              "2  К-2         90       ---  ---         ---                    В расчете не "
              "определен\n"
              "\n"
              "Всего объектов: 2, из них с отказами: 0\n");
}

TEST(TextTableTest, EmptyRunIsTheHeadingAndTheCount)
{
    EXPECT_EQ(tableOf({}),
              "№  Точка  Iокз, А  Iокз/Iср  Защитный аппарат\n"
              "\n"
              "Всего объектов: 0, из них с отказами: 0\n");
}

std::string readText(const std::string &path)
{
    return testing::readBytes(path);
}

// The table of a document, as the batch computes its objects.
std::string tableOfDocument(const std::string &path)
{
    const BatchInput input = ParseBatchInput(readText(path));
    BatchRun run(NumberSeparators::russian());
    std::string text;
    TextTableWriter writer([&](std::string_view piece) { text += piece; },
                           NumberSeparators::russian());
    for (std::size_t n = 0; n < input.Requests.size(); ++n)
        writer.Add(TextTableRowOf(run.Run(input.Requests[n]), n + 1));
    writer.Finish();
    return text;
}

// The expected files were read through against the main window's status lines and
// messages. A table that differs is left beside the test program for review.
TEST(TextTableTest, ExamplesAndRefusedObjects)
{
    const std::pair<std::string, std::string> documents[] = {
            {TORMEL_EXAMPLES_DIR "/feeder.json", "feeder.txt"},
            {TORMEL_EXAMPLES_DIR "/device-check.json", "device-check.txt"},
            {TORMEL_CLI_TESTS_DIR "/data/refused-and-repeated.json", "refused-and-repeated.txt"},
    };
    for (const auto &[document, expected] : documents) {
        const std::string table = tableOfDocument(document);
        EXPECT_EQ(table, readText(TORMEL_CLI_TESTS_DIR "/expected/" + expected)) << document;
        if (table != readText(TORMEL_CLI_TESTS_DIR "/expected/" + expected))
            testing::writeBytes(expected, table);
    }
}

} // namespace
} // namespace tormel::cli
