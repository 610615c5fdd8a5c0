#include "app/DeviceDefenceForm.h"

#include "app/EditableComboBox.h"
#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "app/StatusHints.h"
#include "session/DeviceDefenceFormModel.h"
#include "session/TormelSession.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace tormel {

namespace {

constexpr int ClientWidth = 481;
constexpr int ClientHeight = 333;
// Every combo box of the window has the same width.
constexpr int ComboBoxWidth = 96;
constexpr int ButtonWidth = 88; // the least width of the three buttons

const DDFormText::Control &control(std::string_view objectName)
{
    const auto &controls = DDFormText::Controls;
    const auto found = std::find_if(controls.begin(), controls.end(), [&](const auto &c) {
        return c.ObjectName == objectName;
    });
    Q_ASSERT(found != controls.end());
    return *found;
}

template<class Button>
Button *button(std::string_view objectName, QWidget *parent)
{
    const DDFormText::Control &c = control(objectName);
    auto *b = new Button(qs(c.Caption), parent);
    b->setObjectName(qs(c.ObjectName));
    b->setStatusTip(qs(c.Hint));
    return b;
}

// A group's frame, with its radio button above the controls that the button enables.
QGroupBox *frame(QRadioButton *choice, QWidget *controls, QWidget *parent)
{
    auto *group = new QGroupBox(parent);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(2);
    choice->setParent(group);
    controls->setParent(group);
    // Only the button and its text take clicks, not the row beside them.
    layout->addWidget(choice, 0, Qt::AlignLeft);
    layout->addWidget(controls);
    return group;
}

} // namespace

TDeviceDefenceForm::TDeviceDefenceForm(TormelSession &session, IHelpService &help, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    setObjectName(QStringLiteral("DeviceDefenceForm"));
    setWindowTitle(qs(DDFormText::Caption));
    setHelpContext(this, DDFormText::HelpContext);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 6);
    body->setSpacing(8);
    outer->addLayout(body, 1);

    body->addWidget(buildBreakerGroup());
    body->addWidget(buildFuseGroup());
    // Exactly one of the two kinds is chosen, although they stand in separate frames.
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_avRadioButton);
    kinds->addButton(m_ppRadioButton);

    auto *ok = button<QPushButton>("OKDDBitBtn", this);
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OKDDBitBtnClick(); });
    auto *cancel = button<QPushButton>("BitBtn2", this);
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *reset = button<QPushButton>("BitBtn3", this);
    reset->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    connect(reset, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    body->addLayout(centredButtonRow({ok, cancel, reset}, ButtonWidth));
    body->addStretch(1);

    outer->addWidget(hintStatusBar(this, qs(DDFormText::StatusBarHint)));

    // Tab order as the model lists the controls: the buttons go "Да", "Сброс", "Отмена"
    // although "Отмена" stands between the other two.
    QWidget *previous = nullptr;
    for (const DDFormText::Control &c : DDFormText::Controls) {
        auto *w = findChild<QWidget *>(qs(c.ObjectName));
        Q_ASSERT(w);
        if (!qobject_cast<QPushButton *>(w))
            setHelpContext(w, DDFormText::HelpContext);
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }

    installHelpKey(this, help);
    setFixedSize(ClientWidth, ClientHeight);
    showState();
}

TDeviceDefenceForm::~TDeviceDefenceForm()
{
    // The controls go after this object; what they report on the way out (an editable box
    // that loses the focus reports a pick) must not reach the handlers any more.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

QGroupBox *TDeviceDefenceForm::buildBreakerGroup()
{
    TDeviceDefenceFormModel &model = m_session.DeviceForm();
    m_avRadioButton = button<QRadioButton>("AVRadioButton", this);
    setBold(m_avRadioButton);
    connect(m_avRadioButton, &QRadioButton::clicked, this, [this] { AVRadioButtonClick(); });

    m_breakerControls = new QWidget(this);
    m_breakerControls->setObjectName(QStringLiteral("BreakerControls"));
    auto *grid = new QGridLayout(m_breakerControls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    addCaption(grid,
               0,
               DDFormText::TokAVnomCaption,
               comboBox(QStringLiteral("TokAVnomComboBox"), model.TokAVnom, m_breakerControls));
    addCaption(grid,
               1,
               DDFormText::TokNRCaption,
               comboBox(QStringLiteral("TokNRComboBox"), model.TokNR, m_breakerControls));
    addCaption(grid,
               2,
               DDFormText::KZAVCaption,
               comboBox(QStringLiteral("KZAVComboBox"), model.KZAV, m_breakerControls));
    m_tokNRCheckBox = button<QCheckBox>("TokNRCheckBox", m_breakerControls);
    connect(m_tokNRCheckBox, &QCheckBox::clicked, this, [this](bool checked) {
        TokNRCheckBoxClick(checked);
    });
    grid->addWidget(m_tokNRCheckBox, 2, 0, 1, 3);
    grid->setColumnStretch(3, 1);

    return frame(m_avRadioButton, m_breakerControls, this);
}

QGroupBox *TDeviceDefenceForm::buildFuseGroup()
{
    TDeviceDefenceFormModel &model = m_session.DeviceForm();
    m_ppRadioButton = button<QRadioButton>("PPRadioButton", this);
    setBold(m_ppRadioButton);
    connect(m_ppRadioButton, &QRadioButton::clicked, this, [this] { PPRadioButtonClick(); });

    m_fuseControls = new QWidget(this);
    m_fuseControls->setObjectName(QStringLiteral("FuseControls"));
    auto *grid = new QGridLayout(m_fuseControls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    addCaption(grid,
               0,
               DDFormText::TypePPCaption,
               comboBox(QStringLiteral("TypePPComboBox"), model.TypePP, m_fuseControls, [this] {
                   TypePPComboBoxChange();
               }));
    addCaption(grid,
               1,
               DDFormText::TokPPCaption,
               comboBox(QStringLiteral("TokPPComboBox"), model.TokPP, m_fuseControls));
    addCaption(grid,
               2,
               DDFormText::KZPPCaption,
               comboBox(QStringLiteral("KZPPComboBox"), model.KZPP, m_fuseControls));
    addCaption(grid,
               3,
               DDFormText::TimePPCaption,
               comboBox(QStringLiteral("TimePPComboBox"), model.TimePP, m_fuseControls));
    grid->setColumnStretch(4, 1);

    return frame(m_ppRadioButton, m_fuseControls, this);
}

QComboBox *TDeviceDefenceForm::comboBox(const QString &name,
                                        ComboBoxState &state,
                                        QWidget *parent,
                                        std::function<void()> change)
{
    QComboBox *box = editableComboBox(
            name, qs(control(name.toStdString()).Hint), DDFormText::HelpContext, parent);
    box->setFixedWidth(ComboBoxWidth);
    bindComboBoxText(box, state.Text, this, [this, change = std::move(change)] {
        if (change)
            change();
        showState();
    });
    m_combos.emplace_back(box, &state);
    return box;
}

void TDeviceDefenceForm::addCaption(QGridLayout *grid,
                                    int column,
                                    const std::array<std::string_view, 3> &lines,
                                    QComboBox *box)
{
    auto *stack = new QVBoxLayout;
    stack->setSpacing(0);
    stack->addStretch(1);
    for (std::string_view line : lines)
        if (!line.empty())
            stack->addWidget(new QLabel(qs(line), grid->parentWidget()));
    grid->addLayout(stack, 0, column);
    grid->addWidget(box, 1, column);
}

void TDeviceDefenceForm::showState()
{
    const TDeviceDefenceFormModel &model = m_session.DeviceForm();
    for (const auto &[box, state] : m_combos)
        showComboBoxState(box, state->Items, state->Text);
    (model.AVChecked ? m_avRadioButton : m_ppRadioButton)->setChecked(true);
    m_tokNRCheckBox->setChecked(model.TokNRChecked);
    m_breakerControls->setEnabled(model.BreakerGroupEnabled);
    m_fuseControls->setEnabled(model.FuseGroupEnabled);
}

int TDeviceDefenceForm::showModal()
{
    showState();
    centreOnScreen(this);
    return exec();
}

void TDeviceDefenceForm::AVRadioButtonClick()
{
    tormel::AVRadioButtonClick(m_session.DeviceForm());
    showState();
}

void TDeviceDefenceForm::PPRadioButtonClick()
{
    tormel::PPRadioButtonClick(m_session.DeviceForm());
    showState();
}

void TDeviceDefenceForm::TokNRCheckBoxClick(bool checked)
{
    tormel::TokNRCheckBoxClick(m_session.DeviceForm(), checked);
    showState();
}

void TDeviceDefenceForm::TypePPComboBoxChange()
{
    m_session.ChangeFuseType();
}

void TDeviceDefenceForm::OKDDBitBtnClick()
{
    if (m_session.AcceptDevice().Done)
        accept();
}

void TDeviceDefenceForm::BitBtn3Click()
{
    m_session.ResetDevice();
    accept();
}

} // namespace tormel
