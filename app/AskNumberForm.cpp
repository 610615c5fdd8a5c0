#include "app/AskNumberForm.h"

#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "report/AskNumberModel.h"
#include "session/TormelSession.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace tormel {

namespace {

constexpr int ClientWidth = 334;
constexpr int ClientHeight = 186;
constexpr int AskNumberHelp = 35;
constexpr int NumberEditWidth = 121;
constexpr int ButtonWidth = 88; // the least width of the two buttons

QLabel *label(std::string_view text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(qs(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

// The name field selects its whole text when the focus comes to it from the keyboard or
// with the dialog opening, so that a new name is typed over the last one.
class NameEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

    // The next activation of the dialog selects the text.
    void selectOnOpening() { m_opening = true; }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLineEdit::focusInEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
            || (m_opening && reason == Qt::ActiveWindowFocusReason))
            selectAll();
        if (reason == Qt::ActiveWindowFocusReason)
            m_opening = false;
    }

private:
    bool m_opening = false;
};

TAskNumberForm::TAskNumberForm(TormelSession &session, IHelpService &help, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    namespace texts = ask_number_texts;
    setObjectName(QStringLiteral("AskNumberForm"));
    setWindowTitle(qs(texts::Caption));
    setHelpContext(this, AskNumberHelp);
    // The check box's line needs the smaller type of a dialog to fit the width.
    QFont smaller = font();
    smaller.setPointSize(8);
    setFont(smaller);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(6);
    QLabel *prompt = label(texts::PromptLine, "Label1", this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    layout->addWidget(label(texts::ExampleLine, "Label2", this));

    m_numberEdit = new NameEdit(this);
    m_numberEdit->setObjectName(QStringLiteral("NumberEdit"));
    m_numberEdit->setFixedWidth(NumberEditWidth);
    setHelpContext(m_numberEdit, AskNumberHelp);
    connect(m_numberEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_session.AskNumber().SetNumberEditText(text.toStdString());
    });
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_numberEdit);
    nameRow->addWidget(label(texts::LengthNote, "Label3", this));
    nameRow->addStretch(1);
    layout->addLayout(nameRow);

    m_everyTimeCheckBox = new QCheckBox(qs(texts::EveryTimeCheckBox), this);
    m_everyTimeCheckBox->setObjectName(QStringLiteral("NumberPointNoMoreCheckBox"));
    connect(m_everyTimeCheckBox, &QCheckBox::toggled, this, [this](bool checked) {
        m_session.AskNumber().SetNumberPointNoMoreChecked(checked);
    });
    layout->addStretch(1);
    layout->addWidget(m_everyTimeCheckBox);

    // Neither button is the default: Enter in the name does not add the point.
    auto *ok = new QPushButton(qs(texts::OkButton), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    auto *cancel = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogCancelButton), qs(texts::CancelButton), this);
    cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(centredButtonRow({ok, cancel}, ButtonWidth));

    setTabOrder(m_numberEdit, m_everyTimeCheckBox);
    setTabOrder(m_everyTimeCheckBox, ok);
    setTabOrder(ok, cancel);

    installHelpKey(this, help);
    setFixedSize(ClientWidth, ClientHeight);
    showState();
}

TAskNumberForm::~TAskNumberForm()
{
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void TAskNumberForm::showState()
{
    const AskNumberModel &model = m_session.AskNumber();
    const QString name = QString::fromStdString(model.NumberEditText());
    if (m_numberEdit->text() != name)
        m_numberEdit->setText(name);
    const QSignalBlocker blocker(m_everyTimeCheckBox);
    m_everyTimeCheckBox->setChecked(model.NumberPointNoMoreChecked());
}

int TAskNumberForm::showModal()
{
    showState();
    centreOnScreen(this);
    m_numberEdit->setFocus();
    m_numberEdit->selectAll();
    m_numberEdit->selectOnOpening();
    return exec();
}

void TAskNumberForm::OKButtonClick()
{
    if (m_session.AddPoint().Done)
        accept();
}

} // namespace tormel
