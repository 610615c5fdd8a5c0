#include "feed/BatchInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tormel {
namespace {

struct Read
{
    std::vector<CalcRequest> requests;
    std::vector<bool> inArray;
    bool isArray = false;
    std::string error; // empty when the document was accepted
};

// Reads the document handed over in pieces of the given size.
Read readInPieces(const std::string &document, std::size_t piece)
{
    std::size_t consumed = 0;
    const ReadDocumentPiece read = [&](char *buffer, std::size_t size) {
        const std::size_t count = std::min({size, piece, document.size() - consumed});
        document.copy(buffer, count, consumed);
        consumed += count;
        return count;
    };
    Read result;
    try {
        result.isArray = ReadBatchInput(read, [&](CalcRequest &&request, bool inArray) {
            result.requests.push_back(std::move(request));
            result.inArray.push_back(inArray);
        });
    } catch (const InputError &error) {
        result.error = error.what();
    }
    return result;
}

std::string names(const std::vector<CalcRequest> &requests)
{
    std::string text;
    for (const CalcRequest &request : requests)
        text += request.Name.value_or("-") + ";";
    return text;
}

// Objects are handed on in order, as soon as they are read, whatever the pieces.
TEST(BatchInputTest, ObjectsArriveInOrderWithTheDocumentsShape)
{
    struct Case
    {
        const char *name;
        std::string document;
        std::string names;
        bool isArray;
    };
    const Case cases[] = {
            {"single object", R"({"Name": "A", "Lines": [{"Length": 5}]})", "A;", false},
            {"array", R"([{"Name": "A"}, {}, {"Name": "В"}])", "A;-;В;", true},
            {"empty array", " [ ] ", "", true},
            {"nested arrays stay in their object",
             R"([{"Lines": [{"Length": "1"}, {"Length": 2.5}]}, {"Name": "Б"}])",
             "-;Б;",
             true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(1) << 20}) {
            const Read read = readInPieces(c.document, piece);
            ASSERT_EQ(read.error, "");
            EXPECT_EQ(names(read.requests), c.names);
            EXPECT_EQ(read.isArray, c.isArray);
            EXPECT_EQ(std::count(read.inArray.begin(), read.inArray.end(), c.isArray),
                      std::ptrdiff_t(read.inArray.size()));
        }
    }
    const Read lines = readInPieces(
            R"([{"Lines": [{"Length": "1"}, {"Length": 2.5, "Temperature": -20}]}])", 2);
    ASSERT_EQ(lines.requests.size(), 1u);
    ASSERT_EQ(lines.requests[0].Lines.size(), 2u);
    EXPECT_EQ(lines.requests[0].Lines[1].Length, "2.5");
    EXPECT_EQ(lines.requests[0].Lines[1].Temperature, "-20");
}

// A contract error is told only when the rest of the document is well-formed, so that
// the message is the one a reading of the whole document gives; the objects before it
// have been handed on, none after it.
TEST(BatchInputTest, ErrorsAreThoseOfTheWholeDocument)
{
    struct Case
    {
        const char *name;
        std::string document;
        std::string error;
        std::string namesBefore;
    };
    const Case cases[] = {
            {"contract error mid-way",
             R"([{"Name": "A"}, {"Nmae": 1}, {"Name": "C"}])",
             "объект 2, поле \"Nmae\": неизвестное поле",
             "A;"},
            {"syntax error after a contract error",
             R"([{"Name": "A"}, {"Nmae": 1}, {"Name": "C"},])",
             "неверный JSON: строка 1, столбец 44: здесь не может стоять \"]\", ожидается значение",
             "A;"},
            {"scalar element",
             R"([{}, 7])",
             "объект 2: ожидается объект расчета, а не число",
             "-;"},
            {"scalar root", R"("A")", "объект 1: ожидается объект расчета, а не строка", ""},
            {"empty document",
             "",
             "неверный JSON: строка 1, столбец 1: текст оборвался, ожидается значение",
             ""},
            {"text after the document",
             R"({} {})",
             "неверный JSON: строка 1, столбец 4: здесь не может стоять \"{\", ожидается конец "
             "текста",
             "-;"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t(1), std::size_t(1) << 20}) {
            const Read read = readInPieces(c.document, piece);
            EXPECT_EQ(read.error, c.error);
            EXPECT_EQ(names(read.requests), c.namesBefore);
        }
    }
}

// A syntax error is told in the program's words, with its place as line and column, and
// never with the library's English or the text it read.
TEST(BatchInputTest, SyntaxErrorsAreToldInRussianWithTheirPlace)
{
    struct Case
    {
        const char *name;
        std::string document;
        std::string error;
    };
    const Case cases[] = {
            {"line break inside a string",
             "{\n  \"Name\": \"К-1\",\n  \"Lines\": [\n    {\n      \"Length\": \"30\n",
             "строка 5, столбец 20: управляющий символ U+000A внутри строки (пишется как \\u000A)"},
            {"string cut short",
             R"({"Name": "К-1)",
             "строка 1, столбец 15: строка не закрыта кавычкой"},
            {"missing value",
             R"({"Name": })",
             "строка 1, столбец 10: здесь не может стоять \"}\", ожидается значение"},
            {"missing colon",
             R"({"Name" "A"})",
             "строка 1, столбец 11: здесь не может стоять строка, ожидается \":\""},
            {"word that is no literal",
             R"({"RArc": nil})",
             "строка 1, столбец 11: неизвестное слово (допустимы true, false и null)"},
            {"number without digits",
             R"({"RArc": -x})",
             "строка 1, столбец 11: неверное число: после \"-\" нет цифры"},
            {"control character in a string",
             "{\"Name\": \"a\tb\"}",
             "строка 1, столбец 12: управляющий символ U+0009 внутри строки (пишется как \\u0009)"},
            {"byte that is no UTF-8, quoted nowhere",
             "{\"Name\": \"\xff\"}",
             "строка 1, столбец 11: байт не в кодировке UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readInPieces(c.document, 1 << 20).error, "неверный JSON: " + c.error);
    }
}

// The library takes a NUL for the end of the text; the reader refuses it where it stands,
// so that nothing after it is taken unread and a text of NULs is not "cut short".
TEST(BatchInputTest, NulIsRefusedWhereItStands)
{
    using namespace std::string_literals;
    struct Case
    {
        const char *name;
        std::string document;
        std::string place;
        std::string namesBefore;
    };
    const Case cases[] = {
            {"after the document",
             "[{\"Name\": \"A\"}]\0[{\"Name\": \"B\"}]"s,
             "строка 1, столбец 16",
             "A;"},
            {"after a line break", "{}\n\n\0junk"s, "строка 3, столбец 1", "-;"},
            {"in a string", "{\"Name\": \"A\0B\"}"s, "строка 1, столбец 12", ""},
            {"only NULs", std::string(4096, '\0'), "строка 1, столбец 1", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t(1), std::size_t(1) << 20}) {
            const Read read = readInPieces(c.document, piece);
            EXPECT_EQ(read.error, "неверный JSON: " + c.place + ": нулевой байт");
            EXPECT_EQ(names(read.requests), c.namesBefore);
        }
    }
}

// The library does not say where a number too large for a double stands; the reader
// counts the lines itself, also across its pieces and when a line break follows the
// number at once.
TEST(BatchInputTest, NumberBeyondADoubleIsPlacedByLineAndColumn)
{
    const std::string longLine(70000, ' ');
    struct Case
    {
        const char *name;
        std::string document;
        std::string place;
    };
    const Case cases[] = {
            {"first line", R"({"RArc": 1e400})", "строка 1, столбец 10: число 1e400"},
            {"line break just after",
             "[\n{\"RArc\": -1e400\n}]",
             "строка 2, столбец 10: число -1e400"},
            {"after a long line",
             "[{}," + longLine + "\n\n  {\"RArc\":1e999}]",
             "строка 3, столбец 11: число 1e999"},
            {"far along the first line",
             "[" + longLine + "{\"RArc\":1e999}]",
             "строка 1, столбец 70010: число 1e999"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(1) << 20}) {
            const Read read = readInPieces(c.document, piece);
            EXPECT_EQ(read.error, "неверный JSON: " + c.place + " слишком велико по модулю");
        }
    }
}

TEST(BatchInputTest, ParseBatchInputReadsTheSameAsPieces)
{
    const std::string document
            = R"([{"Name": "К-1", "WindKind": "T/Y-0", "Device": {"AV": true, "TokAVnom": 25}}])";
    const BatchInput whole = ParseBatchInput(document);
    const Read pieces = readInPieces(document, 5);
    ASSERT_EQ(whole.Requests.size(), 1u);
    ASSERT_EQ(pieces.requests.size(), 1u);
    EXPECT_TRUE(whole.IsArray);
    EXPECT_EQ(whole.Requests[0].Name, pieces.requests[0].Name);
    ASSERT_TRUE(whole.Requests[0].Device);
    EXPECT_EQ(whole.Requests[0].Device->AV, true);
    EXPECT_EQ(whole.Requests[0].Device->TokAVnom, "25");
    EXPECT_EQ(pieces.requests[0].Device->TokAVnom, "25");
}

// The inputs of the largest fault currents read as texts like the others; absent ones stay
// absent, and a null is refused as everywhere.
TEST(BatchInputTest, SupplyTransformerAndBreakingCapacityTexts)
{
    const BatchInput input = ParseBatchInput(
            R"([{"Sk": 200, "Uk": "4.5", "Pk": 5.9, "Device": {"Icu": "25"}}, {}])");
    ASSERT_EQ(input.Requests.size(), 2u);
    const CalcRequest &given = input.Requests[0];
    EXPECT_EQ(given.Sk, "200");
    EXPECT_EQ(given.Uk, "4.5");
    EXPECT_EQ(given.Pk, "5.9");
    EXPECT_EQ(given.Device->Icu, "25");
    EXPECT_FALSE(input.Requests[1].Sk);
    EXPECT_FALSE(input.Requests[1].Uk);
    EXPECT_FALSE(input.Requests[1].Pk);
    EXPECT_EQ(readInPieces(R"({"Device": {"Icu": null}})", 7).error,
              "объект 1, поле \"Device.Icu\": значение null не допускается");
}

} // namespace
} // namespace tormel
