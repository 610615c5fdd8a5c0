#include "session/FeedDocument.h"

#include "feed/FeedFile.h"
#include "session/SessionFeed.h"
#include "tests/feed/FeedTestSupport.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace tormel {
namespace {

using testing::MemoryRecentStore;
using testing::readBytes;
using testing::RecordingFileDialogs;
using testing::RecordingMessages;
using testing::TempFolder;
using testing::writeBytes;

const std::string Title = "Тормел 2.8.1";
const std::string SaveQuestion(feed_texts::SaveChangesQuestion);

class FeedDocumentTest : public ::testing::Test
{
protected:
    // The feed of the window as it would be written now.
    std::string current() const { return WriteFeedDocument(FeedFromSession(session)); }

    // A saved feed file with a scheme other than the start one.
    std::string savedFeed(const std::string &name, const std::string &windKind)
    {
        const std::string path = folder.filePath(name);
        writeBytes(path, "{\"WindKind\": \"" + windKind + "\"}\n");
        return path;
    }

    TempFolder folder;
    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
    RecordingFileDialogs dialogs;
    MemoryRecentStore recent;
    FeedDocument feed{session, dialogs, recent, Title};
};

TEST_F(FeedDocumentTest, CaptionNamesTheFileAndMarksChanges)
{
    EXPECT_EQ(feed.Caption(), Title);
    session.Input().RArc = "20";
    EXPECT_TRUE(feed.IsModified());
    EXPECT_EQ(feed.Caption(), Title + " - Новая схема*");
    // Undone by hand: no change left to save.
    session.Input().RArc = "40";
    EXPECT_EQ(feed.Caption(), Title);

    session.Input().RArc = "20";
    dialogs.paths = {folder.filePath("ТП-5.tormel.json")};
    ASSERT_TRUE(feed.SaveFeedMenuClick());
    EXPECT_EQ(feed.Caption(), Title + " - ТП-5.tormel.json");
    session.AskNumber().SetNumberEditText("К-2");
    EXPECT_EQ(feed.Caption(), Title + " - ТП-5.tormel.json*");
}

TEST_F(FeedDocumentTest, SaveWritesTheWindowAndSaveAgainNeedsNoName)
{
    testing::EnterSampleFeed(session);
    const std::string path = folder.filePath("feed.tormel.json");
    dialogs.paths = {path};
    ASSERT_TRUE(feed.SaveFeedMenuClick());
    EXPECT_EQ(dialogs.saveDialogs(), 1);
    EXPECT_EQ(readBytes(path), current());
    EXPECT_EQ(feed.FileName(), path);
    EXPECT_FALSE(feed.IsModified());

    session.Input().Lines[5].Length = "12";
    ASSERT_TRUE(feed.SaveFeedMenuClick());
    EXPECT_EQ(dialogs.saveDialogs(), 1);
    EXPECT_EQ(readBytes(path), current());
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(FeedDocumentTest, SaveAsAsksBeforeReplacingAnotherFile)
{
    const std::string other = savedFeed("other.tormel.json", "T/Y-0");
    const std::string mine = folder.filePath("mine.tormel.json");
    // "Cancel" to the overwrite question offers the dialog again.
    dialogs.paths = {other, mine};
    messages.answers = {MessageAnswer::Cancel};
    ASSERT_TRUE(feed.SaveAsFeedMenuClick());
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Такой файл уже существует. Переписать файл?"});
    EXPECT_EQ(readBytes(other), "{\"WindKind\": \"T/Y-0\"}\n");
    EXPECT_EQ(feed.FileName(), mine);

    dialogs.paths = {other};
    messages.answers = {MessageAnswer::Ok};
    ASSERT_TRUE(feed.SaveAsFeedMenuClick());
    EXPECT_EQ(readBytes(other), current());
}

TEST_F(FeedDocumentTest, FailedSaveSaysWhyAndKeepsTheChanges)
{
    session.Input().RArc = "20";
    dialogs.paths = {folder.filePath("no-such-folder/feed.tormel.json")};
    EXPECT_FALSE(feed.SaveFeedMenuClick());
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_NE(messages.texts()[0].find("no-such-folder"), std::string::npos);
    EXPECT_TRUE(feed.IsModified());
    EXPECT_EQ(feed.FileName(), "");
    EXPECT_TRUE(recent.Stored.empty());
}

TEST_F(FeedDocumentTest, OpenSetsTheFileAndRefusedFilesChangeNothing)
{
    session.Input().RArc = "7";
    const std::string before = current();
    struct Case
    {
        const char *name;
        std::string bytes;
    };
    const Case cases[] = {
            {"malformed", "{\"RArc\": "},
            {"wrong type", "{\"RArc\": [1]}"},
            {"unknown field", "{\"Device\": {\"Type\": \"ППН\"}}"},
            {"seven lines", "{\"Lines\": [{}, {}, {}, {}, {}, {}, {}]}"},
            {"not UTF-8", "{\"Name\": \"\xCA-1\"}"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        const std::string path = folder.filePath("bad.json");
        writeBytes(path, c.bytes);
        EXPECT_FALSE(feed.OpenFeedFile(path));
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.texts()[0].rfind("Файл схемы \"" + path + "\" не прочитан: ", 0), 0u)
                << messages.texts()[0];
        EXPECT_EQ(current(), before);
        EXPECT_EQ(feed.FileName(), "");
    }
    // Unreadable: missing, or a folder.
    for (const std::string &path :
         {folder.filePath("missing.tormel.json"), folder.path().string()}) {
        messages.clear();
        EXPECT_FALSE(feed.OpenFeedFile(path));
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
        EXPECT_EQ(current(), before);
    }
    EXPECT_TRUE(recent.Stored.empty());

    const std::string good = savedFeed("good.tormel.json", "1/1-0");
    messages.clear();
    ASSERT_TRUE(feed.OpenFeedFile(good));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(session.Input().WindKind.Text, "1/1-0");
    EXPECT_EQ(session.Input().TransPower.Text, "10");
    EXPECT_EQ(session.Input().RArc, "40");
    EXPECT_EQ(feed.FileName(), good);
    EXPECT_FALSE(feed.IsModified());
}

// Each command that would lose the changes asks first: Yes saves, No drops them, Cancel
// keeps everything as it was.
TEST_F(FeedDocumentTest, UnsavedChangesQuestionAnsweredEachWay)
{
    const std::string next = savedFeed("next.tormel.json", "Y/Z-0");
    struct Command
    {
        const char *name;
        std::function<bool(FeedDocument &, RecordingFileDialogs &)> run;
        std::string windKindAfter; // when it went on
    };
    const Command commands[] = {
            {"Новая",
             [](FeedDocument &f, RecordingFileDialogs &) { return f.NewFeedMenuClick(); },
             "Y/Y-0"},
            {"Открыть...",
             [next](FeedDocument &f, RecordingFileDialogs &d) {
                 d.paths.push_back(next);
                 return f.OpenFeedMenuClick();
             },
             "Y/Z-0"},
            {"recent file",
             [next](FeedDocument &f, RecordingFileDialogs &) { return f.OpenRecentFeed(next); },
             "Y/Z-0"},
            {"closing",
             [](FeedDocument &f, RecordingFileDialogs &) { return f.QueryClose(); },
             "T/Y-0"},
    };
    for (const Command &command : commands) {
        SCOPED_TRACE(command.name);
        for (const MessageAnswer answer :
             {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}) {
            SCOPED_TRACE(static_cast<int>(answer));
            RecordingMessages askMessages;
            TormelSession s(askMessages, NumberSeparators::russian());
            RecordingFileDialogs d;
            MemoryRecentStore r;
            FeedDocument f(s, d, r, Title);
            s.Input().WindKind.Text = "T/Y-0";
            s.ChangeWindKind();
            const std::string saved = folder.filePath("saved.tormel.json");
            std::filesystem::remove(saved);
            if (answer == MessageAnswer::Yes)
                d.paths.push_back(saved); // the save dialog comes before any other
            askMessages.answers = {answer};

            const bool wentOn = command.run(f, d);
            ASSERT_FALSE(askMessages.entries().empty());
            EXPECT_EQ(askMessages.entries()[0].text, SaveQuestion);
            EXPECT_TRUE(askMessages.entries()[0].withCancel);
            EXPECT_EQ(wentOn, answer != MessageAnswer::Cancel);
            EXPECT_EQ(std::filesystem::exists(saved), answer == MessageAnswer::Yes);
            if (answer == MessageAnswer::Yes) {
                EXPECT_NE(readBytes(saved).find("\"T/Y-0\""), std::string::npos);
            }
            EXPECT_EQ(s.Input().WindKind.Text,
                      answer == MessageAnswer::Cancel ? "T/Y-0" : command.windKindAfter);
        }
    }
}

TEST_F(FeedDocumentTest, NoQuestionWithoutChangesAndNoneAfterACancelledSaveDialog)
{
    EXPECT_TRUE(feed.QueryClose());
    EXPECT_TRUE(feed.NewFeedMenuClick());
    EXPECT_TRUE(messages.entries().empty());

    // "Yes", then the save dialog is cancelled: nothing is lost, the program stays.
    session.Input().RArc = "1";
    messages.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(feed.QueryClose());
    EXPECT_EQ(session.Input().RArc, "1");
    EXPECT_TRUE(feed.IsModified());
}

TEST_F(FeedDocumentTest, NewFeedStartsOverAndKeepsTheReport)
{
    testing::EnterSampleFeed(session);
    session.Calculate();
    ASSERT_TRUE(session.AddPoint().Done);
    messages.answers = {MessageAnswer::No};
    ASSERT_TRUE(feed.NewFeedMenuClick());

    RecordingMessages freshMessages;
    TormelSession fresh(freshMessages, NumberSeparators::russian());
    fresh.AskNumber().SetNumberEditText("К-7");
    EXPECT_EQ(current(), WriteFeedDocument(FeedFromSession(fresh)));
    EXPECT_EQ(session.Status().IokzLabel, fresh.Status().IokzLabel);
    EXPECT_EQ(session.Status().StatusDDLabel, fresh.Status().StatusDDLabel);
    EXPECT_FALSE(session.Status().ResultMenuEnabled);
    EXPECT_FALSE(session.Status().AddReportMenuEnabled);
    EXPECT_EQ(session.Report().Cell(0, 0), "К-7");
    EXPECT_EQ(feed.Caption(), Title);
}

TEST_F(FeedDocumentTest, RecentFilesMostRecentFirstWithoutRepeatsAndKept)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= 7; ++i)
        paths.push_back(savedFeed("f" + std::to_string(i) + ".tormel.json", "Y/Y-0"));
    for (const std::string &path : paths)
        ASSERT_TRUE(feed.OpenFeedFile(path));
    ASSERT_TRUE(feed.OpenFeedFile(paths[4]));
    const std::vector<std::string> expected{paths[4], paths[6], paths[5], paths[3], paths[2]};
    EXPECT_EQ(feed.RecentFiles(), expected);
    EXPECT_EQ(recent.Stored, expected);

    // A saved file joins the list too, and the next run starts with it.
    dialogs.paths = {folder.filePath("saved.tormel.json")};
    ASSERT_TRUE(feed.SaveAsFeedMenuClick());
    EXPECT_EQ(recent.Stored.front(), folder.filePath("saved.tormel.json"));
    RecordingMessages otherMessages;
    TormelSession other(otherMessages, NumberSeparators::russian());
    FeedDocument nextRun(other, dialogs, recent, Title);
    EXPECT_EQ(nextRun.RecentFiles(), recent.Stored);
    EXPECT_EQ(nextRun.RecentFiles().size(), MaxRecentFeeds);
}

TEST_F(FeedDocumentTest, OpenDialogOffersFeedFilesThenAnyJson)
{
    EXPECT_FALSE(feed.OpenFeedMenuClick());
    ASSERT_EQ(dialogs.last().filters.size(), 2u);
    EXPECT_EQ(dialogs.last().filters[0].Pattern, "*.tormel.json");
    EXPECT_EQ(dialogs.last().filters[1].Pattern, "*.json");
}

TEST(StartupFeedFile, FirstArgumentAfterTheProgram)
{
    EXPECT_EQ(StartupFeedFile({"tormel"}), "");
    EXPECT_EQ(StartupFeedFile({"tormel", "/a/b.tormel.json"}), "/a/b.tormel.json");
}

} // namespace
} // namespace tormel
