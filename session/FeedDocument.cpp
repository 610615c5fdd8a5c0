#include "session/FeedDocument.h"

#include "core/FileAccess.h"
#include "core/FileDialogService.h"
#include "core/MessageService.h"
#include "feed/FeedFile.h"
#include "report/ReportTexts.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"

#include <algorithm>
#include <utility>

namespace tormel {

namespace {

namespace texts = feed_texts;

std::string fileErrorText(const char *action, const std::string &path, const std::string &reason)
{
    return std::string(action) + " \"" + path + "\": " + reason + ".";
}

std::string baseName(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

FeedDocument::FeedDocument(TormelSession &session,
                           IFileDialogService &dialogs,
                           IRecentFeedStore &recent,
                           std::string applicationTitle)
    : m_session(session)
    , m_messages(session.Messages())
    , m_dialogs(dialogs)
    , m_recentStore(recent)
    , m_title(std::move(applicationTitle))
    , m_savedDocument(currentDocument())
    , m_recent(recent.loadRecentFeeds())
{
    if (m_recent.size() > MaxRecentFeeds)
        m_recent.resize(MaxRecentFeeds);
}

std::string FeedDocument::currentDocument() const
{
    return WriteFeedDocument(FeedFromSession(m_session));
}

bool FeedDocument::IsModified() const
{
    return currentDocument() != m_savedDocument;
}

std::string FeedDocument::Caption() const
{
    const bool modified = IsModified();
    if (m_fileName.empty() && !modified)
        return m_title;
    const std::string name
            = m_fileName.empty() ? std::string(texts::NewFeedCaption) : baseName(m_fileName);
    return m_title + " - " + name + (modified ? "*" : "");
}

bool FeedDocument::askToSave()
{
    if (!IsModified())
        return true;
    switch (m_messages.askQuestion(std::string(texts::SaveChangesQuestion), true)) {
    case MessageAnswer::Yes:
        return SaveFeedMenuClick();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool FeedDocument::NewFeedMenuClick()
{
    if (!askToSave())
        return false;
    StartNewFeed(m_session);
    m_fileName.clear();
    m_savedDocument = currentDocument();
    return true;
}

bool FeedDocument::OpenFeedMenuClick()
{
    if (!askToSave())
        return false;
    const std::optional<std::string> path
            = m_dialogs.askOpenFileName({{std::string(texts::FeedFilter), "*.tormel.json"},
                                         {std::string(texts::JsonFilter), "*.json"}},
                                        std::string(texts::Extension));
    return path && OpenFeedFile(*path);
}

bool FeedDocument::OpenRecentFeed(const std::string &path)
{
    return askToSave() && OpenFeedFile(path);
}

bool FeedDocument::OpenFeedFile(const std::string &path)
{
    std::string bytes;
    const FileResult read = ReadFileBytes(path, bytes);
    if (!read.Ok) {
        m_messages.showError(fileErrorText("Не удалось прочитать файл", path, read.Reason));
        return false;
    }
    CalcRequest feed;
    try {
        feed = ReadFeedDocument(bytes);
    } catch (const InputError &error) {
        // The whole file is read before anything is set: a refused file leaves the windows
        // as they were.
        m_messages.showMessage("Файл схемы \"" + path + "\" не прочитан: " + error.what() + "."
                               + std::string(texts::NotReadSuffix));
        return false;
    }
    LoadFeed(m_session, feed);
    m_fileName = path;
    m_savedDocument = currentDocument();
    remember(path);
    return true;
}

bool FeedDocument::SaveFeedMenuClick()
{
    if (m_fileName.empty())
        return SaveAsFeedMenuClick();
    return writeTo(m_fileName);
}

bool FeedDocument::SaveAsFeedMenuClick()
{
    for (;;) {
        const std::optional<std::string> path = m_dialogs.askSaveFileName(
                {std::string(texts::FeedFilter), "*.tormel.json"}, std::string(texts::Extension));
        if (!path)
            return false;
        // The same question as the report's "Сохранить как...".
        if (*path != m_fileName && PathExists(*path)
            && m_messages.askWarning(std::string(report_texts::OverwriteQuestion))
                       != MessageAnswer::Ok)
            continue;
        return writeTo(*path);
    }
}

bool FeedDocument::writeTo(const std::string &path)
{
    const std::string document = currentDocument();
    const FileResult written = WriteFileReplacing(path, document);
    if (!written.Ok) {
        m_messages.showError(fileErrorText("Не удалось записать файл", path, written.Reason));
        return false;
    }
    m_fileName = path;
    m_savedDocument = document;
    remember(path);
    return true;
}

bool FeedDocument::QueryClose()
{
    return askToSave();
}

void FeedDocument::remember(const std::string &path)
{
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), path), m_recent.end());
    m_recent.insert(m_recent.begin(), path);
    if (m_recent.size() > MaxRecentFeeds)
        m_recent.resize(MaxRecentFeeds);
    m_recentStore.saveRecentFeeds(m_recent);
}

std::string StartupFeedFile(const std::vector<std::string> &arguments)
{
    return arguments.size() > 1 ? arguments[1] : std::string();
}

} // namespace tormel
