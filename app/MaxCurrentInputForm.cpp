#include "app/MaxCurrentInputForm.h"

#include "app/FormStyle.h"
#include "app/HelpContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace tormel {

namespace {

std::array<std::string *, 4> texts(TMaxCurrentInput &input)
{
    return {&input.Sk, &input.Uk, &input.Pk, &input.Icu};
}

} // namespace

TMaxCurrentInputForm::TMaxCurrentInputForm(
        MaxCurrentInputModel &model,
        std::function<MaxCurrentInputModel::Placeholders()> placeholders,
        IHelpService &help,
        QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , m_model(model)
    , m_placeholders(std::move(placeholders))
{
    namespace T = MaxCurrentInputText;
    setObjectName(QStringLiteral("MaxCurrentInputForm"));
    setWindowTitle(qs(T::Caption));
    setHelpContext(this, T::HelpContext);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (std::size_t i = 0; i < T::Fields.size(); ++i) {
        const T::Field &field = T::Fields[i];
        auto *edit = new QLineEdit(this);
        edit->setObjectName(qs(field.ObjectName));
        edit->setStatusTip(qs(field.Hint));
        edit->setToolTip(qs(field.Hint));
        edit->setMinimumWidth(110);
        QLabel *caption = captionLabel(qs(field.Caption), this);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString &text) {
            *texts(m_model.Texts)[i] = text.toStdString();
        });
    }
    layout->addLayout(grid);
    auto *note = new QLabel(qs(T::Note), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(centredButtonRow({close}, 90));

    installHelpKey(this, help);
}

void TMaxCurrentInputForm::showState()
{
    namespace T = MaxCurrentInputText;
    const MaxCurrentInputModel::Placeholders shown = m_placeholders();
    const std::array<const std::string *, 4> grey{&shown.Sk, &shown.Uk, &shown.Pk, &shown.Icu};
    const std::array<std::string *, 4> typed = texts(m_model.Texts);
    for (std::size_t i = 0; i < T::Fields.size(); ++i) {
        auto *edit = findChild<QLineEdit *>(qs(T::Fields[i].ObjectName));
        edit->setText(QString::fromStdString(*typed[i]));
        edit->setPlaceholderText(QString::fromStdString(*grey[i]));
    }
}

int TMaxCurrentInputForm::showModal()
{
    showState();
    centreOnScreen(this);
    return exec();
}

} // namespace tormel
