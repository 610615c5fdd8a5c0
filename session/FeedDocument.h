#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tormel {

class IFileDialogService;
class IMessageService;
class TormelSession;

// Where the list of recently used feed files is kept between runs of the program.
class IRecentFeedStore
{
public:
    virtual ~IRecentFeedStore() = default;
    virtual std::vector<std::string> loadRecentFeeds() = 0;
    virtual void saveRecentFeeds(const std::vector<std::string> &paths) = 0;
};

namespace feed_texts {
constexpr std::string_view MenuTitle = "Схема";
constexpr std::string_view NewItem = "Новая";
constexpr std::string_view OpenItem = "Открыть...";
constexpr std::string_view SaveItem = "Сохранить";
constexpr std::string_view SaveAsItem = "Сохранить как...";
constexpr std::string_view NewFeedCaption = "Новая схема";
constexpr std::string_view FeedFilter = "Схема Тормел (*.tormel.json)";
constexpr std::string_view JsonFilter = "Документ JSON (*.json)";
constexpr std::string_view Extension = "tormel.json";
constexpr std::string_view SaveChangesQuestion
        = "Исходные данные схемы изменены. Сохранить изменения?";
constexpr std::string_view NotReadSuffix = " Исходные данные не изменены.";
} // namespace feed_texts

// The most files the recent list of the menu "Схема" holds.
constexpr std::size_t MaxRecentFeeds = 5;

// The feed file behind the main window: its name, whether the inputs changed since it was
// opened or saved, the window's caption and the recently used files, and the commands of
// the menu "Схема". The inputs count as changed when the file they would be written to
// differs from the one last opened or saved, so an edit undone by hand is no change.
class FeedDocument
{
public:
    FeedDocument(TormelSession &session,
                 IFileDialogService &dialogs,
                 IRecentFeedStore &recent,
                 std::string applicationTitle);

    // The full path, empty for a new feed that has not been saved.
    const std::string &FileName() const { return m_fileName; }
    bool IsModified() const;
    // The main window's caption: the application title alone for an unchanged new feed,
    // otherwise followed by the file's name (or "Новая схема") and "*" while changed.
    std::string Caption() const;
    // Most recent first.
    const std::vector<std::string> &RecentFiles() const { return m_recent; }

    // "Новая": asks about unsaved changes, then the program's start inputs.
    bool NewFeedMenuClick();
    // "Открыть...": asks about unsaved changes, then a file from the open dialog.
    bool OpenFeedMenuClick();
    // A recent file or the file named at start-up: asks about unsaved changes, then opens
    // it. A file that cannot be read is reported and changes nothing.
    bool OpenRecentFeed(const std::string &path);
    // Opens the file without asking; false with a message when it was refused.
    bool OpenFeedFile(const std::string &path);
    // "Сохранить": writes the open file, or asks for a name like "Сохранить как...".
    bool SaveFeedMenuClick();
    bool SaveAsFeedMenuClick();
    // The program is closing: asks about unsaved changes. False keeps the program open.
    bool QueryClose();

private:
    // Yes/No/Cancel about unsaved changes; true when the command may go on.
    bool askToSave();
    bool writeTo(const std::string &path);
    void remember(const std::string &path);
    std::string currentDocument() const;

    TormelSession &m_session;
    IMessageService &m_messages;
    IFileDialogService &m_dialogs;
    IRecentFeedStore &m_recentStore;
    std::string m_title;
    std::string m_fileName;
    std::string m_savedDocument;
    std::vector<std::string> m_recent;
};

// The feed file named on the desktop program's command line (`tormel FILE`): the first
// argument after the program's own name, or nothing.
std::string StartupFeedFile(const std::vector<std::string> &arguments);

} // namespace tormel
