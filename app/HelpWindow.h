#pragma once

#include "app/HelpService.h"

#include <QMap>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace tormel {

// One topic of the help file.
struct HelpTopic
{
    QString Title;
    QString Body; // rich text (HTML)
};

// The topics of a help file. A topic begins with a line "@topic N Title", N being its
// context number; the lines up to the next such line are its text. Lines before the first
// topic are ignored; a later topic with the same number replaces the earlier one.
QMap<int, HelpTopic> parseHelpTopics(const QString &text);

// The program's help viewer: a window that shows one topic of a help file at a time, with
// links to the others. A relative file name is looked up next to the executable. A missing
// file or topic is reported in the window itself.
class THelpWindow : public QWidget, public IHelpService
{
public:
    explicit THelpWindow(QWidget *parent = nullptr);

    void showHelpTopic(const std::string &helpFile, int context) override;

    // The context shown now; 0 when the file or the topic was not found.
    int currentTopic() const { return m_current; }
    QString text() const;

private:
    QTextBrowser *browser();
    void showTopic(int context);
    void showProblem(const QString &html);

    QTextBrowser *m_browser = nullptr;
    QString m_fileName;
    QMap<int, HelpTopic> m_topics;
    int m_current = 0;
};

} // namespace tormel
