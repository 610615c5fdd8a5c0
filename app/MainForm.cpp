#include "app/MainForm.h"

#include "app/AppInfo.h"
#include "app/EditableComboBox.h"
#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "app/HelpService.h"
#include "session/FeedDocument.h"
#include "session/MaxCurrentInputModel.h"
#include "session/TormelSession.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace tormel {

namespace {

// Help contexts of the main window and its controls.
constexpr int WindowHelp = 1;
constexpr int TransformerHelp = 31;
constexpr int LineRowHelp = 32;
constexpr int ArcHelp = 33;

// Client area of the window, status bar included; the menu bar comes on top.
constexpr int ClientWidth = 706;
constexpr int ClientHeight = 536;

// Widths of the line row columns, so that the six rows and their headings line up.
// The kind column takes whatever width the others and their headings leave.
constexpr int KindWidth = 206;
constexpr int StuffWidth = 108;
constexpr int LengthWidth = 50;
constexpr int QuanParWidth = 56;
constexpr int SectionWidth = 50;
constexpr int TemperatureWidth = 56;

// The scheme and power boxes of the transformer band, the device button "..." and the
// least width of "Расчет".
constexpr int TransformerBoxWidth = 80;
constexpr int DeviceButtonWidth = 32;
constexpr int StartButtonWidth = 96;

enum class TitleStyle { BoldBlack, MaroonSerif };

// A framed group with a title, added to `layout`; returns the widget that holds the
// group's controls. The title's font and colour are the group box's own; the holder takes
// the window's font and palette again, so that they do not pass on to the controls.
QWidget *band(const QString &title,
              const QString &name,
              QWidget *parent,
              TitleStyle titleStyle,
              QVBoxLayout *layout)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(name);
    if (titleStyle == TitleStyle::BoldBlack) {
        setBold(group);
    } else {
        setSerif(group);
        setTextColor(group, Maroon);
    }

    auto *holder = new QWidget(group);
    QFont font = parent->font();
    font.setResolveMask(QFont::AllPropertiesResolved);
    holder->setFont(font);
    QPalette palette = parent->palette();
    palette.setResolveMask(~QPalette::ResolveMask(0));
    holder->setPalette(palette);

    auto *frame = new QVBoxLayout(group);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(holder);
    layout->addWidget(group);
    return holder;
}

// A column heading of the line rows, in type a little smaller than the captions so that
// the headings are no wider than their columns.
QLabel *heading(const QString &text, QWidget *parent)
{
    QLabel *label = captionLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    QFont font = label->font();
    font.setPointSizeF(7.5);
    label->setFont(font);
    return label;
}

QString rowName(const char *prefix, int line, const char *suffix)
{
    return QStringLiteral("%1%2%3").arg(QLatin1String(prefix)).arg(line).arg(QLatin1String(suffix));
}

} // namespace

TMainForm::TMainForm(TormelSession &session, IHelpService &help, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_help(help)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromUtf8(ApplicationTitle));
    setHelpContext(this, WindowHelp);
    // Seven controls a row across a window of fixed width need the smaller type of a
    // dialog; every control of the window takes it from here.
    QFont smaller = font();
    smaller.setPointSize(8);
    setFont(smaller);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(8);
    buildTransformerBand(central, layout);
    buildLinesBand(central, layout);
    buildArcBand(central, layout);
    buildStatusGroups(central, layout);
    layout->addStretch(1);
    setCentralWidget(central);

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setToolTip(QStringLiteral("Строка помощи"));

    buildMenus();
    setTabOrder();
    installHelpKey(this, m_help);

    setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    showState();
}

TMainForm::~TMainForm()
{
    // Closing the window takes the focus from a control, and an editable box reports
    // that as a pick; the session must not hear of it while the window is going away.
    for (const ComboBinding &binding : m_combos) {
        binding.Box->disconnect(this);
        binding.Box->lineEdit()->disconnect(this);
    }
    for (const auto &[field, text] : m_edits)
        field->disconnect(this);
}

void TMainForm::buildTransformerBand(QWidget *parent, QVBoxLayout *layout)
{
    QWidget *group = band(QStringLiteral("Трансформатор"),
                          QStringLiteral("TransformerGroupBox"),
                          parent,
                          TitleStyle::BoldBlack,
                          layout);
    auto *grid = new QHBoxLayout(group);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setSpacing(6);

    MainInputModel &input = m_session.Input();
    grid->addWidget(captionLabel(QStringLiteral("Схема соединения обмоток"), group));
    QComboBox *windKind = comboBox(QStringLiteral("WindKindComboBox"),
                                   source(input.WindKind),
                                   QStringLiteral("Выберите тип соединения обмоток трансформатора"),
                                   TransformerHelp,
                                   [this] { WindKindComboBoxChange(); });
    windKind->setFixedWidth(TransformerBoxWidth);
    grid->addWidget(windKind);
    grid->addSpacing(12);

    grid->addWidget(captionLabel(QStringLiteral("Номинальная\nмощность, кВ*А"), group));
    QComboBox *power = comboBox(
            QStringLiteral("TransPowerComboBox"),
            source(input.TransPower),
            QStringLiteral(
                    "Выберите мощность трансформатора в кВ*А из списка стандартных значений"),
            TransformerHelp);
    power->setFixedWidth(TransformerBoxWidth);
    grid->addWidget(power);
    grid->addSpacing(12);

    grid->addWidget(captionLabel(QStringLiteral("Обмотка НН"), group));
    auto *voltage = new QLabel(QStringLiteral("~ 400/230 В"), group);
    voltage->setObjectName(QStringLiteral("VoltageLabel"));
    voltage->setStatusTip(QStringLiteral(
            "Значение напряжения на выводах обмотки низкого напряжения: линейное/фазное."));
    grid->addWidget(voltage);
    grid->addStretch(1);

    m_tabOrder.push_back(windKind);
    m_tabOrder.push_back(power);
}

void TMainForm::buildLinesBand(QWidget *parent, QVBoxLayout *layout)
{
    QWidget *group = band(QStringLiteral("Схема электроснабжения"),
                          QStringLiteral("LinesGroupBox"),
                          parent,
                          TitleStyle::BoldBlack,
                          layout);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(4, 2, 4, 6);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(6);

    // Headings: the cross-section heading spans both of its columns.
    grid->addWidget(heading(QStringLiteral("Тип линии"), group), 0, 1, 2, 1);
    grid->addWidget(
            heading(QStringLiteral("Материал жилы,\nмарка шинопровода,\nисполнение СИП"), group),
            0,
            2,
            2,
            1);
    grid->addWidget(heading(QStringLiteral("Длина\nлинии,\nм"), group), 0, 3, 2, 1);
    grid->addWidget(
            heading(QStringLiteral("Количество\nпараллельных\nпроводов, шт."), group), 0, 4, 2, 1);
    grid->addWidget(heading(QStringLiteral("Сечение жилы:"), group), 0, 5, 1, 2);
    grid->addWidget(heading(QStringLiteral("фаза\nкв.мм."), group), 1, 5);
    grid->addWidget(heading(QStringLiteral("ноль\nкв.мм."), group), 1, 6);
    grid->addWidget(heading(QStringLiteral("Температура\nпроводника,\nград.С"), group), 0, 7, 2, 1);

    const QString kindHint = QStringLiteral(
            "Выберите тип линии: кабель в бумажной изоляции, кабель в ПВХ (резиновой) изоляции "
            "(провода в трубе), воздушная");
    const QString stuffHint = QStringLiteral("Введите материал жилы: алюминий или медь");
    const QString lengthHint = QStringLiteral("Введите длину линии в метрах");
    const QString quanParHint = QStringLiteral(
            "Введите количество параллельных проводов. \"Нет\" или \"1\" вводится при отсутствии "
            "параллельных проводов.");
    const QString ffHint
            = QStringLiteral("Выберите сечение фазной жилы из списка стандартных сечений");
    const QString fnHint
            = QStringLiteral("Выберите сечение нулевой жилы из списка стандартных значений");
    const QString temperatureHint = QStringLiteral(
            "Введите температуру нагрева жилы кабеля (провода) или шины в диапазоне -70...+500 "
            "град.С");

    for (int line = 1; line <= LineCount; ++line) {
        const std::size_t n = static_cast<std::size_t>(line - 1);
        TLineInput &row = m_session.Input().Lines[n];
        const LineRowLists &lists = m_session.Input().LineLists[n];
        const int gridRow = line + 1;

        auto *caption = new QLabel(QStringLiteral("Линия %1").arg(line), group);
        caption->setObjectName(rowName("Line", line, "Label"));
        QFont underlined = caption->font();
        underlined.setUnderline(true);
        caption->setFont(underlined);
        grid->addWidget(caption, gridRow, 0);

        QComboBox *kind = comboBox(rowName("KindPerformLine", line, "ComboBox"),
                                   {&lists.KindPerform, &row.KindPerform},
                                   kindHint,
                                   LineRowHelp,
                                   [this, line] { KindPerformLineComboBoxChange(line); });
        QComboBox *stuff = comboBox(rowName("StuffLine", line, "ComboBox"),
                                    {&lists.Stuff, &row.Stuff},
                                    stuffHint,
                                    LineRowHelp);
        QLineEdit *length
                = edit(rowName("LengthLine", line, "Edit"), row.Length, lengthHint, LineRowHelp);
        QComboBox *quanPar = comboBox(rowName("QuanParLine", line, "ComboBox"),
                                      {&lists.QuanPar, &row.QuanPar},
                                      quanParHint,
                                      LineRowHelp);
        QComboBox *ff = comboBox(rowName("FfLine", line, "ComboBox"),
                                 {&lists.Ff, &row.Ff, &lists.CrossSectionsEnabled},
                                 ffHint,
                                 LineRowHelp);
        QComboBox *fn = comboBox(rowName("FnLine", line, "ComboBox"),
                                 {&lists.Fn, &row.Fn, &lists.CrossSectionsEnabled},
                                 fnHint,
                                 LineRowHelp);
        QComboBox *temperature = comboBox(rowName("Temperature", line, "ComboBox"),
                                          {&lists.Temperature, &row.Temperature},
                                          temperatureHint,
                                          LineRowHelp);

        const std::array<std::pair<QWidget *, int>, 7> columns{{{kind, KindWidth},
                                                                {stuff, StuffWidth},
                                                                {length, LengthWidth},
                                                                {quanPar, QuanParWidth},
                                                                {ff, SectionWidth},
                                                                {fn, SectionWidth},
                                                                {temperature, TemperatureWidth}}};
        int column = 1;
        for (const auto &[widget, width] : columns) {
            // Each control fills its column, which is as wide as the control or its
            // heading, whichever is wider.
            widget->setMinimumWidth(width);
            // An edit field would ask for room for a dozen characters.
            widget->setSizePolicy(widget == length ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                                  QSizePolicy::Fixed);
            grid->addWidget(widget, gridRow, column++);
            m_tabOrder.push_back(widget);
        }
    }
    grid->setColumnStretch(1, 1);
}

void TMainForm::buildArcBand(QWidget *parent, QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->addWidget(captionLabel(
            QStringLiteral(
                    "Переходное сопротивление контактов + сопротивление электрической дуги, мОм:"),
            parent));
    QLineEdit *arc = edit(QStringLiteral("RArcEdit"),
                          m_session.Input().RArc,
                          QStringLiteral("Введите значение сопротивления. Желательный диапазон "
                                         "значений 0..40 мОм."),
                          ArcHelp);
    arc->setFixedWidth(LengthWidth);
    row->addWidget(arc);
    row->addStretch(1);
    m_tabOrder.push_back(arc);
    layout->addLayout(row);
}

void TMainForm::buildStatusGroups(QWidget *parent, QVBoxLayout *layout)
{
    QWidget *defence = band(QStringLiteral("Аппарат защиты"),
                            QStringLiteral("DefenceGroupBox"),
                            parent,
                            TitleStyle::MaroonSerif,
                            layout);
    auto *defenceRow = new QHBoxLayout(defence);
    defenceRow->setContentsMargins(8, 2, 8, 6);
    m_statusDDLabel = new QLabel(defence);
    m_statusDDLabel->setObjectName(QStringLiteral("StatusDDLabel"));
    m_statusDDLabel->setStatusTip(QStringLiteral("Строка состояния аппарата защиты"));
    m_statusDDLabel->setWordWrap(true);
    defenceRow->addWidget(m_statusDDLabel, 1);
    m_ddButton = new QPushButton(QStringLiteral("..."), defence);
    m_ddButton->setObjectName(QStringLiteral("DDButton"));
    m_ddButton->setStatusTip(QStringLiteral("Выбор аппарата защиты линии"));
    m_ddButton->setFixedWidth(DeviceButtonWidth);
    // Enter on a focused button presses that button, as everywhere else.
    m_ddButton->setAutoDefault(true);
    connect(m_ddButton, &QPushButton::clicked, this, [this] {
        openWindow(&TMainForm::deviceWindowRequested);
    });
    defenceRow->addWidget(m_ddButton);

    QWidget *results = band(QStringLiteral("Результаты расчета"),
                            QStringLiteral("ResultGroupBox"),
                            parent,
                            TitleStyle::MaroonSerif,
                            layout);
    auto *resultRow = new QHBoxLayout(results);
    resultRow->setContentsMargins(8, 2, 8, 6);
    m_iokzLabel = new QLabel(results);
    m_iokzLabel->setObjectName(QStringLiteral("IokzLabel"));
    m_iokzLabel->setStatusTip(QStringLiteral("Строка вывода результатов расчета"));
    setBold(m_iokzLabel);
    resultRow->addWidget(m_iokzLabel, 1);
    m_startBitBtn = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Расчет"), results);
    m_startBitBtn->setObjectName(QStringLiteral("StartBitBtn"));
    m_startBitBtn->setStatusTip(QStringLiteral("Нажмите для запуска расчета"));
    m_startBitBtn->setDefault(true);
    m_startBitBtn->setAutoDefault(true);
    m_startBitBtn->setMinimumWidth(StartButtonWidth);
    connect(m_startBitBtn, &QPushButton::clicked, this, [this] { StartBitBtnClick(); });
    resultRow->addWidget(m_startBitBtn);

    m_tabOrder.push_back(m_ddButton);
    m_tabOrder.push_back(m_startBitBtn);
}

void TMainForm::buildMenus()
{
    QMenuBar *bar = menuBar();

    m_resultMenu = bar->addAction(QStringLiteral("Результаты"));
    m_resultMenu->setObjectName(QStringLiteral("ResultMenu"));
    connect(m_resultMenu, &QAction::triggered, this, [this] {
        openWindow(&TMainForm::resultWindowRequested);
    });

    QMenu *report = bar->addMenu(QStringLiteral("Отчет"));
    report->setObjectName(QStringLiteral("ReportMenu"));
    m_addReportMenu = report->addAction(QStringLiteral("Добавить..."));
    m_addReportMenu->setObjectName(QStringLiteral("AddReportMenu"));
    connect(m_addReportMenu, &QAction::triggered, this, [this] {
        openWindow(&TMainForm::addPointRequested);
    });
    QAction *viewReport = report->addAction(QStringLiteral("Просмотреть..."));
    viewReport->setObjectName(QStringLiteral("ViewReportMenu"));
    connect(viewReport, &QAction::triggered, this, [this] {
        openWindow(&TMainForm::reportRequested);
    });

    QMenu *options = bar->addMenu(QStringLiteral("Настройки"));
    options->setObjectName(QStringLiteral("OptionMenu"));
    m_onTopMenu = options->addAction(QStringLiteral("Поверх всех окон"));
    m_onTopMenu->setObjectName(QStringLiteral("OnTopMenu"));
    m_onTopMenu->setCheckable(true);
    connect(m_onTopMenu, &QAction::triggered, this, [this] { OnTopMenuClick(); });

    QMenu *question = bar->addMenu(QStringLiteral("?"));
    question->setObjectName(QStringLiteral("QuastionMenu"));
    QAction *helpItem = question->addAction(QStringLiteral("Помощь"));
    helpItem->setObjectName(QStringLiteral("HelpMenu"));
    connect(helpItem, &QAction::triggered, this, [this] { HelpMenuClick(); });
    QAction *about = question->addAction(QStringLiteral("О программе"));
    about->setObjectName(QStringLiteral("AboutMenu"));
    connect(about, &QAction::triggered, this, [this] { openWindow(&TMainForm::aboutRequested); });

    QAction *exitItem = bar->addAction(QStringLiteral("Выход"));
    exitItem->setObjectName(QStringLiteral("ExitMenu"));
    connect(exitItem, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::setTabOrder()
{
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

TMainForm::ComboSource TMainForm::source(ComboBoxState &state)
{
    return {&state.Items, &state.Text, &state.Enabled};
}

QComboBox *TMainForm::comboBox(const QString &name,
                               ComboSource source,
                               const QString &hint,
                               int helpContext,
                               std::function<void()> change)
{
    QComboBox *box = editableComboBox(name, hint, helpContext, this);
    // The width comes from the column, not from the longest item.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(1);

    bindComboBoxText(box, *source.Text, this, [this, change = std::move(change)] {
        if (change)
            change();
        showState();
    });

    m_combos.push_back({box, source});
    return box;
}

QLineEdit *
TMainForm::edit(const QString &name, std::string &text, const QString &hint, int helpContext)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    field->setStatusTip(hint);
    setHelpContext(field, helpContext);
    std::string *target = &text;
    connect(field, &QLineEdit::textEdited, this, [this, target](const QString &newText) {
        *target = newText.toStdString();
        showCaption();
    });
    m_edits.emplace_back(field, target);
    return field;
}

void TMainForm::showState()
{
    for (const ComboBinding &binding : m_combos) {
        const ComboSource &source = binding.Source;
        showComboBoxState(binding.Box, *source.Items, *source.Text);
        binding.Box->setEnabled(!source.Enabled || *source.Enabled);
    }
    for (const auto &[field, text] : m_edits) {
        const QString value = QString::fromStdString(*text);
        if (field->text() != value) {
            const QSignalBlocker blocker(field);
            field->setText(value);
        }
    }

    const MainStatus &status = m_session.Status();
    m_iokzLabel->setText(QString::fromStdString(status.IokzLabel));
    m_statusDDLabel->setText(QString::fromStdString(status.StatusDDLabel));
    setTextColor(m_statusDDLabel, status.StatusDDColor == StatusColor::Red ? Qt::red : Qt::black);
    m_resultMenu->setEnabled(status.ResultMenuEnabled);
    m_addReportMenu->setEnabled(status.AddReportMenuEnabled);
    m_onTopMenu->setChecked(windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    showCaption();
}

void TMainForm::setFeedDocument(FeedDocument &feed)
{
    m_feed = &feed;
    namespace texts = feed_texts;
    QMenuBar *bar = menuBar();
    m_feedMenu = new QMenu(QString::fromUtf8(texts::MenuTitle), bar);
    m_feedMenu->setObjectName(QStringLiteral("FeedMenu"));
    bar->insertMenu(bar->actions().value(0), m_feedMenu);

    const auto item = [this](std::string_view text,
                             const char *name,
                             QKeySequence::StandardKey key,
                             std::function<bool()> command) {
        QAction *action = m_feedMenu->addAction(QString::fromUtf8(text));
        action->setObjectName(QLatin1String(name));
        if (key != QKeySequence::UnknownKey)
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
            runFeedCommand(command());
        });
    };
    item(texts::NewItem, "NewFeedMenu", QKeySequence::New, [this] {
        return m_feed->NewFeedMenuClick();
    });
    item(texts::OpenItem, "OpenFeedMenu", QKeySequence::Open, [this] {
        return m_feed->OpenFeedMenuClick();
    });
    item(texts::SaveItem, "SaveFeedMenu", QKeySequence::Save, [this] {
        m_feed->SaveFeedMenuClick();
        return false;
    });
    item(texts::SaveAsItem, "SaveAsFeedMenu", QKeySequence::UnknownKey, [this] {
        m_feed->SaveAsFeedMenuClick();
        return false;
    });
    m_feedMenu->addSeparator();
    QAction *maxCurrents = m_feedMenu->addAction(qs(MaxCurrentInputText::MenuItem));
    maxCurrents->setObjectName(QStringLiteral("MaxCurrentInputMenu"));
    maxCurrents->setStatusTip(qs(MaxCurrentInputText::MenuHint));
    connect(maxCurrents, &QAction::triggered, this, &TMainForm::maxCurrentInputRequested);
    m_feedMenu->addSeparator()->setObjectName(QStringLiteral("RecentFeedSeparator"));
    fillRecentFeeds();
    showCaption();
}

void TMainForm::openFeedFile(const std::string &path)
{
    if (m_feed)
        runFeedCommand(m_feed->OpenFeedFile(path));
}

void TMainForm::fillRecentFeeds()
{
    for (QAction *action : m_recentFeedItems)
        delete action;
    m_recentFeedItems.clear();
    const std::vector<std::string> &recent = m_feed->RecentFiles();
    for (std::size_t i = 0; i < recent.size(); ++i) {
        // An ampersand of the path is shown as one, not taken for a mnemonic.
        QString path = QString::fromStdString(recent[i]);
        path.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_feedMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        action->setObjectName(QStringLiteral("RecentFeed%1Menu").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, file = recent[i]] {
            runFeedCommand(m_feed->OpenRecentFeed(file));
        });
        m_recentFeedItems.push_back(action);
    }
}

void TMainForm::runFeedCommand(bool loaded)
{
    showState();
    if (loaded)
        emit feedLoaded();
    // The recent list changes as the command opens or saves a file; the triggered item may
    // be one of its entries, so the entries are rebuilt once its signal has returned.
    QMetaObject::invokeMethod(
            this, [this] { fillRecentFeeds(); }, Qt::QueuedConnection);
}

void TMainForm::showCaption()
{
    if (m_feed)
        setWindowTitle(QString::fromStdString(m_feed->Caption()));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_feed && !m_feed->QueryClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainForm::keyPressEvent(QKeyEvent *event)
{
    // "Расчет" is the window's default button: Enter in any control that does not use
    // the key itself presses it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && m_startBitBtn->isEnabled()) {
        m_startBitBtn->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::StartBitBtnClick()
{
    if (m_session.Calculate().AskPointName)
        emit pointNameRequested();
    showState();
    emit calculationShown();
    // A refused input of the largest currents is told once the calculation is shown.
    m_session.TellMaxCurrentRefusal();
}

void TMainForm::WindKindComboBoxChange()
{
    m_session.ChangeWindKind();
}

void TMainForm::KindPerformLineComboBoxChange(int line)
{
    m_session.ChangeLineKind(line);
}

void TMainForm::OnTopMenuClick()
{
    const bool onTop = !windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    // Changing the flag hides the window; it comes back at the same place.
    const QPoint position = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(position);
    show();
    m_onTopMenu->setChecked(onTop);
}

void TMainForm::HelpMenuClick()
{
    m_help.showHelpTopic(HelpFileName, WindowHelp);
}

void TMainForm::openWindow(void (TMainForm::*request)())
{
    emit(this->*request)();
    // What the window changed (the device's verdict, a calculation started from it)
    // shows here once it is closed.
    showState();
}

} // namespace tormel
