#include "app/ReportForm.h"

#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "app/QtExportProgress.h"
#include "app/ReportGridModel.h"
#include "app/StatusHints.h"
#include "report/ReportTable.h"
#include "report/ReportTexts.h"
#include "report/export/SpreadsheetExport.h"
#include "session/TormelSession.h"
#include "sheet/SheetActions.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

namespace texts = report_texts;

constexpr int ClientWidth = 667;
constexpr int ClientHeight = 373;
constexpr int ReportHelp = 35;
constexpr int GridWidth = 633;
constexpr int GridHeight = 270;
constexpr int ColumnWidth = 50;
constexpr int RowHeight = 18;
// The least width of the buttons under the grid, and the size of the two arrows.
constexpr int ButtonWidth = 96;
constexpr int ArrowWidth = 23;
constexpr int ArrowHeight = 33;

QPushButton *
pushButton(std::string_view text, const char *name, std::string_view hint, QWidget *parent)
{
    auto *button = new QPushButton(qs(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setStatusTip(qs(hint));
    button->setMinimumWidth(ButtonWidth);
    return button;
}

QToolButton *
arrowButton(Qt::ArrowType arrow, const char *name, std::string_view hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setFixedSize(ArrowWidth, ArrowHeight);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStatusTip(qs(hint));
    return button;
}

QAction *menuItem(QMenu *menu, std::string_view text, const char *name)
{
    QAction *action = menu->addAction(qs(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TReportForm::TReportForm(TormelSession &session,
                         IFileDialogService &dialogs,
                         SpreadsheetPrograms &spreadsheets,
                         IHelpService &help,
                         QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_dialogs(dialogs)
    , m_spreadsheets(spreadsheets)
{
    setObjectName(QStringLiteral("ReportForm"));
    setHelpContext(this, ReportHelp);
    // Twelve columns of 50 pixels need the smaller type of a dialog.
    QFont smaller = font();
    smaller.setPointSize(8);
    setFont(smaller);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    QMenuBar *menu = buildMenu();
    outer->setMenuBar(menu);

    auto *body = new QGridLayout;
    body->setContentsMargins(8, 4, 8, 8);
    body->setHorizontalSpacing(4);
    body->setVerticalSpacing(2);
    outer->addLayout(body, 1);

    m_model = new ReportGridModel(m_session.Report(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("ReportStringGrid"));
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    m_grid->horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Narrow letters, so that the values fit their 50 pixels.
    QFont narrow = font();
    narrow.setStretch(QFont::Condensed);
    m_grid->setFont(narrow);
    m_grid->setShowGrid(true);
    // The last column is as wide as its longest text, the time class; a strip without
    // cells stays on its right even when the scroll bar shows.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid);
    const int room = GridWidth - 2 * m_grid->frameWidth() - scrollBar
                     - (ReportTable::ColCount - 1) * ColumnWidth - 4;
    const int timeWidth = QFontMetrics(narrow).horizontalAdvance(QStringLiteral("Тср > 0,4 с")) + 8;
    m_grid->setColumnWidth(ReportTable::ColCount - 1, std::clamp(timeWidth, ColumnWidth, room));
    m_grid->setWordWrap(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The Tab key passes the grid by; a click still gives it the arrow keys.
    m_grid->setFocusPolicy(Qt::ClickFocus);
    m_grid->setTabKeyNavigation(false);
    m_grid->setFixedSize(GridWidth, GridHeight);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            [this](const QModelIndex &current) { ReportStringGridSelectCell(current); });
    body->addWidget(buildColumnCaptions(), 0, 0);
    body->addWidget(m_grid, 1, 0);

    auto *up = arrowButton(Qt::UpArrow, "UpSpeedButton", texts::UpButtonHint, this);
    connect(up, &QToolButton::clicked, this, [this] { UpSpeedButtonClick(); });
    auto *down = arrowButton(Qt::DownArrow, "DownSpeedButton", texts::DownButtonHint, this);
    connect(down, &QToolButton::clicked, this, [this] { DownSpeedButtonClick(); });
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(2);
    arrows->addWidget(up);
    arrows->addWidget(down);
    arrows->addStretch(1);
    body->addLayout(arrows, 1, 1);

    auto *remove = pushButton(
            texts::DeleteButtonText, "DeleteReportButton", texts::DeleteButtonHint, this);
    connect(remove, &QPushButton::clicked, this, [this] { DeleteReportButtonClick(); });
    auto *removeAll = pushButton(
            texts::DeleteAllButtonText, "DeleteAllButton", texts::DeleteAllButtonHint, this);
    connect(removeAll, &QPushButton::clicked, this, [this] { DeleteAllButtonClick(); });
    auto *close
            = pushButton(texts::CloseButtonText, "CloseReportBitBtn", texts::CloseButtonHint, this);
    close->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 6, 0, 0);
    buttons->addWidget(remove);
    buttons->addWidget(removeAll);
    buttons->addStretch(1);
    buttons->addWidget(close);
    body->addLayout(buttons, 2, 0);
    body->setRowStretch(3, 1);

    outer->addWidget(hintStatusBar(this, QString()));

    setTabOrder(remove, removeAll);
    setTabOrder(removeAll, close);

    installHelpKey(this, help);
    setFixedSize(ClientWidth, ClientHeight + menu->sizeHint().height());
    showState();
    // Every command on the report, from this window or another, ends in this signal.
    connect(&m_session, &TormelSession::reportChanged, this, &TReportForm::showState);
}

TReportForm::~TReportForm()
{
    m_grid->viewport()->removeEventFilter(this);
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

QWidget *TReportForm::buildColumnCaptions()
{
    // Two lines over the grid: each column's heading, bold, and its unit below, each
    // centred over its column and showing the column's hint.
    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("ColumnCaptions"));
    QFont bold = font();
    bold.setBold(true);
    const int lineHeight = QFontMetrics(bold).height();
    strip->setFixedSize(GridWidth, 2 * lineHeight + 2);

    const int left = m_grid->frameWidth();
    int number = 1;
    auto place = [&](std::string_view text, int column, int line, bool isBold) {
        auto *label = new QLabel(qs(text), strip);
        label->setObjectName(QStringLiteral("Label%1").arg(number++));
        label->setStatusTip(qs(texts::ColumnHints[std::size_t(column)]));
        setTextColor(label, Maroon);
        if (isBold)
            label->setFont(bold);
        label->adjustSize();
        const int centre = left + m_grid->horizontalHeader()->sectionPosition(column)
                           + m_grid->horizontalHeader()->sectionSize(column) / 2;
        label->move(centre - label->width() / 2, line * lineHeight);
    };
    for (int column = 0; column < ReportTable::ColCount; ++column)
        place(texts::ColumnHeaders[std::size_t(column)], column, 0, true);
    for (int column = 0; column < ReportTable::ColCount; ++column)
        if (!texts::ColumnUnits[std::size_t(column)].empty())
            place(texts::ColumnUnits[std::size_t(column)], column, 1, false);
    return strip;
}

QMenuBar *TReportForm::buildMenu()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("ReportFormMenu"));
    QMenu *file = bar->addMenu(qs(texts::FileMenuText));
    file->setObjectName(QStringLiteral("FileReportMenu"));
    connect(menuItem(file, texts::NewMenuText, "NewReportMenu"), &QAction::triggered, this, [this] {
        NewReportMenuClick();
    });
    connect(menuItem(file, texts::SaveMenuText, "SaveReportMenu"),
            &QAction::triggered,
            this,
            [this] { SaveReportMenuClick(); });
    connect(menuItem(file, texts::SaveAsMenuText, "SaveAsReportMenu"),
            &QAction::triggered,
            this,
            [this] { SaveAsReportMenuClick(); });
    connect(menuItem(file, texts::OpenMenuText, "OpenReportMenu"),
            &QAction::triggered,
            this,
            [this] { OpenReportMenuClick(); });
    QMenu *exportMenu = file->addMenu(qs(texts::ExportMenuText));
    exportMenu->setObjectName(QStringLiteral("ExportReportMenu"));
    connect(menuItem(exportMenu, texts::ExportToExcelMenuText, "ExportToExcelReportMenu"),
            &QAction::triggered,
            this,
            [this] { ExportToExcelReportMenuClick(); });
    connect(menuItem(exportMenu, texts::ExportToCalcMenuText, "ExportToCalcReportMenu"),
            &QAction::triggered,
            this,
            [this] { ExportToCalcReportMenuClick(); });
    // The sheet of the report, after the items of the menu.
    file->addSeparator();
    QAction *print = menuItem(file, SheetActionText::PrintItem, "PrintReportMenu");
    print->setStatusTip(qs(SheetActionText::ReportPrintHint));
    connect(print, &QAction::triggered, this, [this] { emit printSheetRequested(); });
    QAction *pdf = menuItem(file, SheetActionText::PdfItem, "PdfReportMenu");
    pdf->setStatusTip(qs(SheetActionText::ReportPdfHint));
    connect(pdf, &QAction::triggered, this, [this] { emit sheetPdfRequested(); });
    return bar;
}

bool TReportForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonRelease)
        ReportStringGridMouseUp(static_cast<QMouseEvent *>(event)->position().toPoint());
    return QDialog::eventFilter(watched, event);
}

void TReportForm::showState()
{
    const ReportTable &table = m_session.Report();
    setWindowTitle(QString::fromStdString(table.Caption()));
    m_model->refresh();
    // The grid follows the current row; after a release outside the cells there is none,
    // and the grid keeps the row it shows.
    const int row = table.CurrentRow();
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex current = m_grid->currentIndex();
    const QModelIndex target = m_model->index(row, current.isValid() ? current.column() : 0);
    QItemSelectionModel *selection = m_grid->selectionModel();
    if (target != current || !selection->isRowSelected(row, {}))
        selection->setCurrentIndex(target,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(target);
}

int TReportForm::showModal()
{
    showState();
    centreOnScreen(this);
    return exec();
}

void TReportForm::ReportStringGridSelectCell(const QModelIndex &current)
{
    if (current.isValid())
        m_session.Report().ReportStringGridSelectCell(current.column(), current.row());
}

void TReportForm::ReportStringGridMouseUp(const QPoint &position)
{
    const QModelIndex cell = m_grid->indexAt(position);
    if (cell.isValid())
        m_session.Report().ReportStringGridMouseUp(cell.column(), cell.row());
    else
        m_session.Report().ReportStringGridMouseUp(-1, -1);
}

void TReportForm::DeleteReportButtonClick()
{
    m_session.DeleteReportRow();
}

void TReportForm::DeleteAllButtonClick()
{
    emit deleteAllRequested();
}

void TReportForm::UpSpeedButtonClick()
{
    m_session.MoveReportRowUp();
}

void TReportForm::DownSpeedButtonClick()
{
    m_session.MoveReportRowDown();
}

void TReportForm::NewReportMenuClick()
{
    m_session.NewReport(m_dialogs);
}

void TReportForm::SaveReportMenuClick()
{
    m_session.SaveReport(m_dialogs);
}

void TReportForm::SaveAsReportMenuClick()
{
    m_session.SaveReportAs(m_dialogs);
}

void TReportForm::OpenReportMenuClick()
{
    m_session.OpenReport(m_dialogs);
}

void TReportForm::ExportToExcelReportMenuClick()
{
    QtExportProgress progress(this);
    ExportReportToExcel(m_session.Report(), m_spreadsheets.excel, m_session.Messages(), progress);
}

void TReportForm::ExportToCalcReportMenuClick()
{
    QtExportProgress progress(this);
    ExportReportToCalc(m_session.Report(), m_spreadsheets.calc, m_session.Messages(), progress);
}

} // namespace tormel
