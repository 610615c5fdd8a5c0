#include "feed/FeedFile.h"
#include "session/SessionFeed.h"

#include "tests/feed/FeedTestSupport.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace tormel {
namespace {

using testing::RecordingMessages;
using testing::TempFolder;

// Every input the windows hold, with the lists and enabled states the change rules set.
void ExpectSameInputs(const TormelSession &a, const TormelSession &b)
{
    const auto same = [](const ComboBoxState &x, const ComboBoxState &y, const char *what) {
        EXPECT_EQ(x.Text, y.Text) << what;
        EXPECT_EQ(x.Items, y.Items) << what;
        EXPECT_EQ(x.Enabled, y.Enabled) << what;
    };
    same(a.Input().WindKind, b.Input().WindKind, "WindKind");
    same(a.Input().TransPower, b.Input().TransPower, "TransPower");
    EXPECT_EQ(a.Input().RArc, b.Input().RArc);
    for (std::size_t n = 0; n < LineCount; ++n) {
        SCOPED_TRACE("line " + std::to_string(n + 1));
        const TLineInput &x = a.Input().Lines[n];
        const TLineInput &y = b.Input().Lines[n];
        EXPECT_EQ(x.KindPerform, y.KindPerform);
        EXPECT_EQ(x.Stuff, y.Stuff);
        EXPECT_EQ(x.Ff, y.Ff);
        EXPECT_EQ(x.Fn, y.Fn);
        EXPECT_EQ(x.QuanPar, y.QuanPar);
        EXPECT_EQ(x.Temperature, y.Temperature);
        EXPECT_EQ(x.Length, y.Length);
        const LineRowLists &xl = a.Input().LineLists[n];
        const LineRowLists &yl = b.Input().LineLists[n];
        EXPECT_EQ(xl.KindPerform, yl.KindPerform);
        EXPECT_EQ(xl.Stuff, yl.Stuff);
        EXPECT_EQ(xl.Ff, yl.Ff);
        EXPECT_EQ(xl.Fn, yl.Fn);
        EXPECT_EQ(xl.QuanPar, yl.QuanPar);
        EXPECT_EQ(xl.Temperature, yl.Temperature);
        EXPECT_EQ(xl.CrossSectionsEnabled, yl.CrossSectionsEnabled);
    }
    const TDeviceDefenceFormModel &f = a.DeviceForm();
    const TDeviceDefenceFormModel &g = b.DeviceForm();
    EXPECT_EQ(f.AVChecked, g.AVChecked);
    EXPECT_EQ(f.BreakerGroupEnabled, g.BreakerGroupEnabled);
    EXPECT_EQ(f.FuseGroupEnabled, g.FuseGroupEnabled);
    EXPECT_EQ(f.TokNRChecked, g.TokNRChecked);
    same(f.TokAVnom, g.TokAVnom, "TokAVnom");
    same(f.TokNR, g.TokNR, "TokNR");
    same(f.KZAV, g.KZAV, "KZAV");
    same(f.TypePP, g.TypePP, "TypePP");
    same(f.TokPP, g.TokPP, "TokPP");
    same(f.KZPP, g.KZPP, "KZPP");
    same(f.TimePP, g.TimePP, "TimePP");
    EXPECT_EQ(a.AskNumber().NumberEditText(), b.AskNumber().NumberEditText());
}

class FeedFileTest : public ::testing::Test
{
protected:
    RecordingMessages messages;
    TormelSession original{messages, NumberSeparators::russian()};
    RecordingMessages reopenedMessages;
    TormelSession reopened{reopenedMessages, NumberSeparators::russian()};
};

TEST_F(FeedFileTest, WindowToFileToWindowGivesTheSameInputsAndResult)
{
    testing::EnterSampleFeed(original);
    ASSERT_TRUE(messages.entries().empty()) << messages.texts().front();
    const std::string document = WriteFeedDocument(FeedFromSession(original));

    LoadFeed(reopened, ReadFeedDocument(document));
    EXPECT_TRUE(reopenedMessages.entries().empty());
    ExpectSameInputs(original, reopened);
    EXPECT_EQ(reopened.Device().DeviceKind, original.Device().DeviceKind);
    EXPECT_EQ(WriteFeedDocument(FeedFromSession(reopened)), document);

    original.Calculate();
    reopened.Calculate();
    ASSERT_TRUE(original.Status().ResultMenuEnabled);
    EXPECT_EQ(reopened.Status().IokzLabel, original.Status().IokzLabel);
    EXPECT_EQ(reopened.Status().StatusDDLabel, original.Status().StatusDDLabel);
    EXPECT_EQ(reopened.Result().Iokz, original.Result().Iokz);
    EXPECT_EQ(reopened.Result().Isr, original.Result().Isr);
    EXPECT_EQ(reopened.ResultWindow().Labels(), original.ResultWindow().Labels());
}

TEST_F(FeedFileTest, OpeningReplacesEveryInputOfTheFeedBefore)
{
    // A feed opened over another one leaves nothing of it: the lines the file keeps at
    // their start texts are back at the start, the device and the result are forgotten.
    testing::EnterSampleFeed(reopened);
    reopened.Calculate();
    ASSERT_TRUE(reopened.Status().ResultMenuEnabled);

    LoadFeed(reopened, ReadFeedDocument(WriteFeedDocument(FeedFromSession(original))));
    ExpectSameInputs(original, reopened);
    EXPECT_FALSE(reopened.AcceptedDeviceForm());
    EXPECT_FALSE(reopened.Status().ResultMenuEnabled);
    EXPECT_EQ(reopened.Status().IokzLabel, original.Status().IokzLabel);
    EXPECT_EQ(reopened.Status().StatusDDLabel, original.Status().StatusDDLabel);
}

TEST_F(FeedFileTest, FileNamesTheDeviceAsAcceptedNotTheTextsCancelledSince)
{
    testing::EnterSampleFeed(original);
    const double isr = original.Device().Isr;
    // Edited in the window and closed with "Отмена": the held device stays the НПН 40 A.
    original.DeviceForm().TokPP.Text = "63";

    LoadFeed(reopened, ReadFeedDocument(WriteFeedDocument(FeedFromSession(original))));
    EXPECT_EQ(reopened.DeviceForm().TokPP.Text, "40");
    EXPECT_EQ(reopened.Device().Isr, isr);
}

TEST_F(FeedFileTest, DeviceNotAcceptedKeepsItsTextsAndJudgesNothing)
{
    TDeviceDefenceFormModel &form = original.DeviceForm();
    TokNRCheckBoxClick(form, true);
    form.TokNR.Text = "500";
    form.TokAVnom.Text = "63";
    const CalcRequest feed = FeedFromSession(original);
    ASSERT_TRUE(feed.Device);
    EXPECT_EQ(feed.Device->Accepted, false);

    LoadFeed(reopened, ReadFeedDocument(WriteFeedDocument(feed)));
    EXPECT_TRUE(reopenedMessages.entries().empty());
    ExpectSameInputs(original, reopened);
    EXPECT_FALSE(reopened.AcceptedDeviceForm());
    EXPECT_EQ(reopened.Device().DeviceKind, ProtectionKind::None);
}

TEST_F(FeedFileTest, AcceptedDeviceThatIsRefusedOnOpeningSaysWhy)
{
    // A file edited by hand: the window shows the refusal as it would to a user pressing "Да".
    LoadFeed(reopened, ReadFeedDocument(R"({"Device": {"Accepted": true, "TokAVnom": "abc"}})"));
    ASSERT_EQ(reopenedMessages.entries().size(), 1u);
    EXPECT_FALSE(reopened.AcceptedDeviceForm());
    EXPECT_EQ(reopened.DeviceForm().TokAVnom.Text, "abc");
}

TEST_F(FeedFileTest, UnknownTextsStandAsTypedWithTheMessagesOfTheirRules)
{
    LoadFeed(reopened,
             ReadFeedDocument(R"({"WindKind": "Y/Y", "Lines": [{}, {"KindPerform": "Кабель"}],
                                  "Device": {"Accepted": false, "TypePP": "ПН"}})"));
    EXPECT_EQ(reopenedMessages.texts(),
              (std::vector<std::string>{"Неизвестная схема обмоток трансформатора",
                                        "Неизвестный тип линии",
                                        "Неизвестный тип предохранителя"}));
    EXPECT_EQ(reopened.Input().WindKind.Text, "Y/Y");
    EXPECT_EQ(reopened.Input().Lines[1].KindPerform, "Кабель");
    EXPECT_EQ(reopened.DeviceForm().TokPP.Text, "0");
    EXPECT_EQ(reopened.Status().IokzLabel, "Не хватает данных для расчета!");
}

TEST(FeedDocumentReading, RefusesWhatTheBatchParserRefusesAndMore)
{
    struct Case
    {
        const char *name;
        std::string document;
        const char *mention;
    };
    const Case cases[] = {
            {"malformed", R"({"WindKind": "Y/Y-0",)", "JSON"},
            {"empty", "", "JSON"},
            {"unknown field", R"({"Lines": [{"Lenght": "5"}]})", "\"Lines[1].Lenght\""},
            {"wrong type", R"({"RArc": true})", "\"RArc\""},
            {"null", R"({"Device": {"KZAV": null}})", "\"Device.KZAV\""},
            {"flag as text", R"({"Device": {"Accepted": "да"}})", "\"Device.Accepted\""},
            {"seven lines", R"({"Lines": [{}, {}, {}, {}, {}, {}, {}]})", "больше 6"},
            {"array", R"([{}])", "массив"},
            {"not UTF-8", "{\"Name\": \"\xCA-1\"}", "не в кодировке UTF-8"},
            {"not UTF-8 outside strings", "{\"Name\": \"1\"}\xFF", "не в кодировке UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ReadFeedDocument(c.document);
            ADD_FAILURE() << "accepted";
        } catch (const InputError &error) {
            EXPECT_NE(std::string(error.what()).find(c.mention), std::string::npos) << error.what();
        }
    }
}

TEST(FeedDocumentReading, NumbersAndAByteOrderMarkAreRead)
{
    const CalcRequest feed = ReadFeedDocument("\xEF\xBB\xBF{\"TransPower\": 400, \"RArc\": 1.5}");
    EXPECT_EQ(feed.TransPower, "400");
    EXPECT_EQ(feed.RArc, "1.5");
}

TEST(FeedDocumentWriting, ExampleFeedFilesAreAsTheWindowWritesThem)
{
    // Opened into the windows and saved again, a feed file comes back byte for byte: the
    // keys keep their order and indentation, and no text is lost or changed on the way.
    int examples = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TORMEL_EXAMPLES_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".tormel.json"))
            continue;
        SCOPED_TRACE(name);
        ++examples;
        const std::string bytes = testing::readBytes(entry.path().string());
        RecordingMessages messages;
        TormelSession session(messages, NumberSeparators::russian());
        LoadFeed(session, ReadFeedDocument(bytes));
        EXPECT_TRUE(messages.entries().empty());
        EXPECT_EQ(WriteFeedDocument(FeedFromSession(session)), bytes);
    }
    EXPECT_GT(examples, 0);
}

// Runs the schema check of the repository over files and folders; its exit status.
int CheckSchema(const std::string &targets)
{
    const std::string command = std::string("'") + TORMEL_PYTHON + "' '" + TORMEL_SCHEMA_CHECK
                                + "' '" + TORMEL_FEED_SCHEMA + "' " + targets;
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The inputs of the largest fault currents are written where the parser reads them, and
// only when given, so that a feed without them is written as before.
TEST(FeedDocumentWriting, LargestCurrentInputsRoundTripAndAreLeftOutWhenAbsent)
{
    CalcRequest feed;
    feed.WindKind = "T/Y-0";
    feed.Sk = "200";
    feed.Uk = "4.5";
    feed.Pk = "5,9"; // kept as typed, judged only by a calculation
    feed.Device = DeviceRequest{};
    feed.Device->Icu = "25";
    const std::string document = WriteFeedDocument(feed);
    const CalcRequest back = ReadFeedDocument(document);
    EXPECT_EQ(back.Sk, "200");
    EXPECT_EQ(back.Uk, "4.5");
    EXPECT_EQ(back.Pk, "5,9");
    EXPECT_EQ(back.Device->Icu, "25");
    EXPECT_EQ(WriteFeedDocument(back), document);

    feed.Sk = feed.Uk = feed.Pk = std::nullopt;
    feed.Device->Icu.reset();
    const std::string without = WriteFeedDocument(feed);
    for (const char *key : {"\"Sk\"", "\"Uk\"", "\"Pk\"", "\"Icu\""})
        EXPECT_EQ(without.find(key), std::string::npos) << key;
}

TEST(FeedSchema, ExamplesAndEveryFileWrittenAreValid)
{
    TempFolder folder;
    RecordingMessages messages;
    TormelSession start(messages, NumberSeparators::russian());
    testing::writeBytes(folder.filePath("start.json"), WriteFeedDocument(FeedFromSession(start)));

    TormelSession sample(messages, NumberSeparators::russian());
    testing::EnterSampleFeed(sample);
    testing::writeBytes(folder.filePath("sample.json"), WriteFeedDocument(FeedFromSession(sample)));

    TormelSession typed(messages, NumberSeparators::russian());
    typed.Input().WindKind.Text = "нет такой";
    typed.ChangeWindKind();
    TokNRCheckBoxClick(typed.DeviceForm(), true);
    typed.AskNumber().SetNumberEditText(" \"К\"\\1");
    testing::writeBytes(folder.filePath("typed.json"), WriteFeedDocument(FeedFromSession(typed)));

    EXPECT_EQ(CheckSchema("'" + folder.path().string() + "' '" + TORMEL_EXAMPLES_DIR + "'"), 0);
}

TEST(FeedSchema, RefusesWhatTheParserRefuses)
{
    // The schema is no looser than the program: a file it passes the program reads.
    TempFolder folder;
    const char *const documents[] = {
            R"({"Lines": [{"Lenght": "5"}]})",
            R"({"RArc": true})",
            R"({"Device": {"KZAV": null}})",
            R"({"Lines": [{}, {}, {}, {}, {}, {}, {}]})",
            R"({"Extra": 1})",
    };
    for (const char *document : documents) {
        SCOPED_TRACE(document);
        const std::string path = folder.filePath("bad.json");
        testing::writeBytes(path, document);
        EXPECT_EQ(CheckSchema("'" + path + "'"), 1);
        EXPECT_THROW(ReadFeedDocument(document), InputError);
    }
}

} // namespace
} // namespace tormel
