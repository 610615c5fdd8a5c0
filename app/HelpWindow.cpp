#include "app/HelpWindow.h"

#include "app/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tormel {

namespace {

constexpr char TopicScheme[] = "topic";

// A relative name is looked up next to the program (the build tree), then in the
// installed program's data folder.
QString resolveHelpFile(const QString &name)
{
    if (QFileInfo(name).isAbsolute())
        return name;
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed
            = programDir.filePath(QStringLiteral(TORMEL_DATA_DIR_FROM_BIN "/") + name);
    if (QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
    return beside;
}

} // namespace

QMap<int, HelpTopic> parseHelpTopics(const QString &text)
{
    static const QRegularExpression header(QStringLiteral("^@topic\\s+(\\d+)\\s*(.*)$"));

    QMap<int, HelpTopic> topics;
    HelpTopic *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QRegularExpressionMatch match = header.match(line);
        if (match.hasMatch()) {
            bool ok = false;
            const int context = match.captured(1).toInt(&ok);
            current = nullptr;
            if (ok && context > 0) {
                topics[context] = HelpTopic{match.captured(2).trimmed(), QString()};
                current = &topics[context];
            }
            continue;
        }
        if (current)
            current->Body += line + QLatin1Char('\n');
    }
    return topics;
}

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Справка — %1").arg(QString::fromUtf8(ApplicationTitle)));
    resize(600, 480);
}

QTextBrowser *THelpWindow::browser()
{
    // Built when help is first asked for: most runs never open the help window, and the
    // browser is the costliest part of start-up otherwise.
    if (m_browser)
        return m_browser;
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);

    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (url.scheme() == QLatin1String(TopicScheme))
            showTopic(url.path().toInt());
    });
    return m_browser;
}

QString THelpWindow::text() const
{
    return m_browser ? m_browser->toPlainText() : QString();
}

void THelpWindow::showHelpTopic(const std::string &helpFile, int context)
{
    // The file is read on every request, so an edited or removed file shows at once.
    m_fileName = QString::fromStdString(helpFile);
    const QString path = resolveHelpFile(m_fileName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_topics.clear();
        showProblem(QStringLiteral("<p>Не удается открыть файл справки «%1».</p><p>%2</p>")
                            .arg(m_fileName.toHtmlEscaped(),
                                 QDir::toNativeSeparators(path).toHtmlEscaped()));
    } else {
        m_topics = parseHelpTopics(QString::fromUtf8(file.readAll()));
        showTopic(context);
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::showTopic(int context)
{
    const auto found = m_topics.constFind(context);
    if (found == m_topics.constEnd()) {
        showProblem(QStringLiteral("<p>Раздел %1 не найден в файле справки «%2».</p>")
                            .arg(QString::number(context), m_fileName.toHtmlEscaped()));
        return;
    }
    m_current = context;

    QString html = QStringLiteral("<h2>%1</h2>\n%2").arg(found->Title.toHtmlEscaped(), found->Body);
    html += QStringLiteral("<hr><p><b>Разделы справки</b></p><ul>");
    for (auto it = m_topics.constBegin(); it != m_topics.constEnd(); ++it) {
        if (it.key() == context)
            html += QStringLiteral("<li>%1</li>").arg(it->Title.toHtmlEscaped());
        else
            html += QStringLiteral("<li><a href=\"%1:%2\">%3</a></li>")
                            .arg(QLatin1String(TopicScheme),
                                 QString::number(it.key()),
                                 it->Title.toHtmlEscaped());
    }
    html += QStringLiteral("</ul>");
    browser()->setHtml(html);
}

void THelpWindow::showProblem(const QString &html)
{
    m_current = 0;
    browser()->setHtml(html);
}

} // namespace tormel
