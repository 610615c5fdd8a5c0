#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QVBoxLayout;

namespace tormel {

class FeedDocument;
class IHelpService;
class TormelSession;
struct ComboBoxState;

// The main window: the transformer, the six line rows, the contact and arc resistance,
// the two status lines and the menus. It keeps no state of its own: every edit goes into
// the session's input model and every event to the session, and the window then shows
// what the session holds.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    TMainForm(TormelSession &session, IHelpService &help, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Shows the inputs, the status lines and the menu states as the session holds them.
    void showState();

    // Puts the menu "Схема" of the feed file first in the menu bar; from then on the
    // caption names the file and closing the window asks about unsaved changes.
    void setFeedDocument(FeedDocument &feed);
    // The feed's file, for the calculation sheet; none before setFeedDocument.
    const FeedDocument *feedDocument() const { return m_feed; }
    // Opens a feed file without asking about the inputs (the file named at start-up).
    void openFeedFile(const std::string &path);
signals:
    // After "Новая" and every opened file, once this window shows the new inputs.
    void feedLoaded();

    // The windows this one opens; start-up connects each, and a window is built when it
    // is first opened. A request that nothing is connected to does nothing.
    void resultWindowRequested(); // "Результаты"
    void deviceWindowRequested(); // "..."
    void addPointRequested();     // "Отчет" / "Добавить..."
    void reportRequested();       // "Отчет" / "Просмотреть..."
    void aboutRequested();        // "?" / "О программе"
    // "Схема" / "Максимальные токи КЗ...": the inputs of the largest fault currents.
    void maxCurrentInputRequested();
    // The point-name dialog as the last step of a successful calculation, while its
    // check box is ticked.
    void pointNameRequested();
    // After every calculation, once the window shows its outcome (the result window
    // copies its texts here).
    void calculationShown();

public:
protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What an editable combo box shows of the model: its list, its text, and whether it
    // takes input (always, without a flag).
    struct ComboSource
    {
        const std::vector<std::string> *Items;
        std::string *Text;
        const bool *Enabled = nullptr;
    };
    struct ComboBinding
    {
        QComboBox *Box;
        ComboSource Source;
    };
    static ComboSource source(ComboBoxState &state);

    void buildTransformerBand(QWidget *parent, QVBoxLayout *layout);
    void buildLinesBand(QWidget *parent, QVBoxLayout *layout);
    void buildArcBand(QWidget *parent, QVBoxLayout *layout);
    void buildStatusGroups(QWidget *parent, QVBoxLayout *layout);
    void buildMenus();
    void setTabOrder();

    // Creates an editable combo box that writes every keystroke and pick into the
    // source's text, then runs `change` (the control's change rule) when given.
    QComboBox *comboBox(const QString &name,
                        ComboSource source,
                        const QString &hint,
                        int helpContext,
                        std::function<void()> change = {});
    QLineEdit *edit(const QString &name, std::string &text, const QString &hint, int helpContext);

    void StartBitBtnClick();
    void WindKindComboBoxChange();
    void KindPerformLineComboBoxChange(int line);
    void OnTopMenuClick();
    void HelpMenuClick();
    void fillRecentFeeds();
    void runFeedCommand(bool loaded);
    void showCaption();

    void openWindow(void (TMainForm::*request)());

    TormelSession &m_session;
    IHelpService &m_help;

    std::vector<ComboBinding> m_combos;
    std::vector<std::pair<QLineEdit *, std::string *>> m_edits;
    std::vector<QWidget *> m_tabOrder;

    QLabel *m_iokzLabel = nullptr;
    QLabel *m_statusDDLabel = nullptr;
    QPushButton *m_startBitBtn = nullptr;
    QPushButton *m_ddButton = nullptr;
    QAction *m_resultMenu = nullptr;
    QAction *m_addReportMenu = nullptr;
    QAction *m_onTopMenu = nullptr;
    FeedDocument *m_feed = nullptr;
    QMenu *m_feedMenu = nullptr;
    std::vector<QAction *> m_recentFeedItems;
};

} // namespace tormel
