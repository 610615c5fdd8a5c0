#include "app/ResultForm.h"

#include "app/AnalysisCharts.h"
#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "app/MaxCurrentsPage.h"
#include "calc/CalcTypes.h"
#include "session/MaxCurrentsPageModel.h"
#include "session/ResultWindowModel.h"
#include "sheet/SheetActions.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string_view>
#include <tuple>

namespace tormel {

namespace {

constexpr int ResultHelp = 36;
constexpr int ClientWidth = 474;
constexpr int ClientHeight = 452;
constexpr int ButtonWidth = 96; // the least width of the three buttons

QLabel *valueLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    setTextColor(label, Qt::black);
    return label;
}

QLabel *boldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    setBold(label);
    return label;
}

// The white panel behind `rows` rows of values, starting at grid row `firstRow` + 1; rows
// `firstRow` and `firstRow` + `rows` + 1 are its top and bottom padding. It is added to
// the grid before the values that stand on it, so it is drawn beneath them.
void addWhitePanel(QGridLayout *grid, int firstRow, int rows, int column, int columns)
{
    auto *panel = new QFrame(grid->parentWidget());
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    grid->addWidget(panel, firstRow, column, rows + 2, columns);
    grid->setRowMinimumHeight(firstRow, 2);
    grid->setRowMinimumHeight(firstRow + rows + 1, 2);
}

} // namespace

TResultForm::TResultForm(const ResultWindowModel &model, IHelpService &help, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_model(model)
{
    setObjectName(QStringLiteral("ResultForm"));
    setWindowTitle(QStringLiteral("Результаты расчета"));
    setHelpContext(this, ResultHelp);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("ResultPageControl"));
    m_pages->addTab(buildTransformerPage(), QStringLiteral("Трансформатор"));
    m_pages->addTab(buildLinePage(), QStringLiteral("Линия"));
    m_pages->addTab(buildDefencePage(), QStringLiteral("Аппарат защиты"));
    m_pages->addTab(buildAnalysisPage(), QString::fromUtf8(AnalysisPageText::Caption.data()));
    m_maxCurrentsPage = new MaxCurrentsPage(m_model.MaxCurrents);
    m_pages->addTab(m_maxCurrentsPage, qs(MaxCurrentsPageText::Caption));
    m_pages->setCurrentIndex(0);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildLoop());

    auto *close = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("BitBtn1"));
    close->setStatusTip(QStringLiteral("Закрыть окно"));
    close->setToolTip(QStringLiteral("Закрыть окно"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    const auto sheetButton
            = [this](std::string_view text, std::string_view hint, const char *name) {
                  auto *button = new QPushButton(
                          QString::fromUtf8(text.data(), qsizetype(text.size())), this);
                  button->setObjectName(QString::fromLatin1(name));
                  button->setStatusTip(QString::fromUtf8(hint.data(), qsizetype(hint.size())));
                  button->setToolTip(button->statusTip());
                  button->setAutoDefault(false);
                  return button;
              };
    QPushButton *print
            = sheetButton(SheetActionText::PrintItem, SheetActionText::PrintHint, "PrintSheetBtn");
    QPushButton *pdf
            = sheetButton(SheetActionText::PdfItem, SheetActionText::PdfHint, "PdfSheetBtn");
    connect(print, &QPushButton::clicked, this, [this] { emit printSheetRequested(); });
    connect(pdf, &QPushButton::clicked, this, [this] { emit sheetPdfRequested(); });
    layout->addLayout(centredButtonRow({print, pdf, close}, ButtonWidth));

    installHelpKey(this, help);
    setFixedSize(ClientWidth, ClientHeight);
    showState();
}

QWidget *TResultForm::buildTransformerPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TransTabSheet"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(10, 10, 10, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    addWhitePanel(grid, 0, 6, 1, 1);
    const std::array<std::pair<const char *, const char *>, 6> rows{{
            {"Номинальная мощность:", "StLabel"},
            {"Схема соединения обмоток:", "WindKindLabel"},
            {"Сопротивление току однофазного КЗ:", nullptr},
            {"активное:", "RtLabel"},
            {"индуктивное:", "XtLabel"},
            {"полное:", "ZtLabel"},
    }};
    int row = 1;
    for (const auto &[caption, name] : rows) {
        QLabel *label = captionLabel(QString::fromUtf8(caption), page);
        // The three kinds of resistance are sub-captions under their heading.
        if (row >= 4)
            label->setIndent(24);
        grid->addWidget(label, row, 0);
        if (name) {
            QLabel *value = valueLabel(QString::fromUtf8(name), page);
            value->setIndent(8);
            grid->addWidget(value, row, 1);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);

    grid->setRowMinimumHeight(8, 6);
    grid->addWidget(boldLabel(QStringLiteral("Примечание:"), page), 9, 0, 1, 2);
    auto *note = new QLabel(QStringLiteral("- для трехфазного трансформатора сопротивление указано "
                                           "суммарное на 3 фазы\n"
                                           "- для однофазного трансформатора утроенное значение "
                                           "фазы"),
                            page);
    note->setObjectName(QStringLiteral("NoteLabel"));
    note->setWordWrap(true);
    grid->addWidget(note, 10, 0, 1, 2);
    grid->setRowStretch(11, 1);
    setHelpContext(page, ResultHelp);
    return page;
}

QWidget *TResultForm::buildLinePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("LineTabSheet"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(10, 8, 10, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);

    grid->addWidget(captionLabel(QStringLiteral("Сопротивление линии"), page), 0, 0, 1, 4);
    const std::array<const char *, 3> headings{
            "Активное\nRл, мОм", "Индуктивное\nXл, мОм", "Полное\nZл, мОм"};
    for (int column = 1; column <= 3; ++column) {
        QLabel *label = boldLabel(QString::fromUtf8(headings[column - 1]), page);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, 1, column);
    }

    addWhitePanel(grid, 2, LineCount, 0, 4);
    for (int line = 1; line <= LineCount; ++line) {
        const int row = line + 2;
        QLabel *caption = captionLabel(QStringLiteral("Линия %1:").arg(line), page);
        caption->setIndent(8);
        grid->addWidget(caption, row, 0);
        int column = 1;
        for (const char *kind : {"R", "X", "Z"}) {
            QLabel *value = valueLabel(
                    QStringLiteral("%1Line%2Label").arg(QLatin1String(kind)).arg(line), page);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setIndent(12);
            grid->addWidget(value, row, column++);
        }
    }

    const int sumRow = LineCount + 4;
    QLabel *sum = boldLabel(QStringLiteral("Суммарное:"), page);
    sum->setIndent(8);
    grid->addWidget(sum, sumRow, 0);
    int column = 1;
    for (const char *name : {"RLineLabel", "XLineLabel", "ZLineLabel"}) {
        QLabel *value = valueLabel(QString::fromUtf8(name), page);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setIndent(12);
        grid->addWidget(value, sumRow, column++);
    }
    for (int c = 1; c <= 3; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(sumRow + 1, 1);
    setHelpContext(page, ResultHelp);
    return page;
}

QWidget *TResultForm::buildDefencePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("DefenceTabSheet"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(10, 10, 10, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    addWhitePanel(grid, 0, 5, 1, 1);
    const std::array<std::pair<const char *, const char *>, 5> rows{{
            {"Тип аппарата защиты:", "TypeDDLabel"},
            {"Номинальный ток:", "ToknomLabel"},
            {"Коэффициент запаса:", "KZLabel"},
            {"Ток срабатывания:", "TokSRLabel"},
            {"Время срабатывания:", "TimeSRLabel"},
    }};
    int row = 1;
    for (const auto &[caption, name] : rows) {
        grid->addWidget(captionLabel(QString::fromUtf8(caption), page), row, 0);
        QLabel *value = valueLabel(QString::fromUtf8(name), page);
        value->setIndent(8);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    grid->setRowMinimumHeight(7, 6);
    grid->addWidget(captionLabel(QStringLiteral("Состояние:"), page), 8, 0, Qt::AlignTop);
    QLabel *status = valueLabel(QStringLiteral("StatusDDLabel"), page);
    setBold(status);
    status->setWordWrap(true);
    grid->addWidget(status, 9, 0, 1, 2);
    grid->setRowStretch(10, 1);
    setHelpContext(page, ResultHelp);
    return page;
}

QWidget *TResultForm::buildAnalysisPage()
{
    namespace T = AnalysisPageText;
    const auto qtext = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    const auto hinted = [&](QWidget *widget, std::string_view hint) {
        widget->setStatusTip(qtext(hint));
        widget->setToolTip(qtext(hint));
        return widget;
    };

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("AnalysisTabSheet"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *views = new QTabWidget(page);
    views->setObjectName(QStringLiteral("AnalysisPageControl"));
    views->setTabPosition(QTabWidget::South);
    layout->addWidget(views);

    auto *values = new QWidget;
    values->setObjectName(QStringLiteral("MarginTabSheet"));
    auto *grid = new QGridLayout(values);
    grid->setContentsMargins(8, 4, 8, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(1);
    const std::array<std::tuple<std::string_view, const char *, std::string_view>, 3> rows{{
            {T::MarginCaption, "MarginLabel", T::MarginHint},
            {T::LoopLimitCaption, "LoopLimitLabel", T::LoopLimitHint},
            {T::LargestDeviceCaption, "LargestDeviceLabel", T::LargestDeviceHint},
    }};
    int row = 0;
    for (const auto &[caption, name, hint] : rows) {
        grid->addWidget(captionLabel(qtext(caption), values), row, 0);
        grid->addWidget(hinted(valueLabel(QString::fromUtf8(name), values), hint), row, 1, 1, 2);
        ++row;
    }
    int column = 1;
    for (std::string_view heading : {T::LengthHeading, T::MaxLengthHeading}) {
        QLabel *label = boldLabel(qtext(heading), values);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, row, column++);
    }
    ++row;
    addWhitePanel(grid, row, LineCount, 0, 3);
    for (int line = 1; line <= LineCount; ++line) {
        QLabel *caption = captionLabel(QStringLiteral("Линия %1:").arg(line), values);
        caption->setIndent(8);
        grid->addWidget(caption, row + line, 0);
        for (const char *kind : {"Length", "MaxLength"}) {
            QLabel *value = valueLabel(
                    QStringLiteral("%1Line%2Label").arg(QLatin1String(kind)).arg(line), values);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setIndent(12);
            const bool permitted = std::string_view(kind) == "MaxLength";
            if (permitted)
                hinted(value, T::MaxLengthHint);
            grid->addWidget(value, row + line, permitted ? 2 : 1);
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row + LineCount + 2, 1);
    views->addTab(values, qtext(T::ValuesTab));

    auto *current = new FeedCurrentChartView(m_model.Analysis.Current);
    current->setObjectName(QStringLiteral("FeedCurrentChart"));
    views->addTab(hinted(current, T::CurrentHint), qtext(T::CurrentTab));
    auto *loop = new LoopShareChartView(m_model.Analysis.Loop);
    loop->setObjectName(QStringLiteral("LoopShareChart"));
    views->addTab(hinted(loop, T::LoopHint), qtext(T::LoopTab));

    setHelpContext(page, T::HelpContext);
    return page;
}

QWidget *TResultForm::buildLoop()
{
    auto *loop = new QWidget(this);
    auto *grid = new QGridLayout(loop);
    grid->setContentsMargins(4, 0, 4, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);

    // The two-line caption ends on its second line, where the value follows it.
    grid->addWidget(captionLabel(QStringLiteral("Переходное сопротивление контактов+сопротивление "
                                                "электрической"),
                                 loop),
                    0,
                    0,
                    1,
                    2);
    grid->addWidget(captionLabel(QStringLiteral("дуги:"), loop), 1, 0);
    grid->addWidget(valueLabel(QStringLiteral("RotherLabel"), loop), 1, 1);

    grid->addWidget(
            captionLabel(QStringLiteral("Сопротивление петли \"фаза-ноль\":"), loop), 2, 0, 1, 2);
    const std::array<std::pair<const char *, const char *>, 3> rows{{
            {"Активное:", "RsumLabel"},
            {"Индуктивное:", "XsumLabel"},
            {"Полное:", "ZsumLabel"},
    }};
    int row = 3;
    for (const auto &[caption, name] : rows) {
        QLabel *label = boldLabel(QString::fromUtf8(caption), loop);
        label->setIndent(24);
        grid->addWidget(label, row, 0);
        grid->addWidget(valueLabel(QString::fromUtf8(name), loop), row, 1);
        ++row;
    }

    QLabel *current = valueLabel(QStringLiteral("IokzrezLabel"), loop);
    setBold(current);
    grid->addWidget(current, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return loop;
}

void TResultForm::showState()
{
    for (const auto &[name, text] : m_model.Labels()) {
        auto *label = findChild<QLabel *>(QString::fromStdString(name));
        Q_ASSERT_X(label, "TResultForm::showState", name.c_str());
        if (label)
            label->setText(QString::fromStdString(text));
    }
    for (const auto &[name, text] : m_model.Analysis.Labels()) {
        if (auto *label = findChild<QLabel *>(QString::fromStdString(name)))
            label->setText(QString::fromStdString(text));
    }
    m_maxCurrentsPage->showState();
    for (const char *chart : {"FeedCurrentChart", "LoopShareChart"}) {
        if (auto *view = findChild<QWidget *>(QString::fromUtf8(chart)))
            view->update();
    }
}

int TResultForm::showModal()
{
    showState();
    centreOnScreen(this);
    return exec();
}

} // namespace tormel
