#include "app/AboutProgramForm.h"

#include "app/FormStyle.h"
#include "core/Version.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tormel {

namespace {

constexpr int ClientWidth = 370;
constexpr int ClientHeight = 255;
constexpr int ButtonWidth = 96; // the least width of "Закрыть"

QFrame *rule(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TAboutProgramForm::TAboutProgramForm(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutProgramForm"));
    setWindowTitle(QStringLiteral("О программе..."));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 10);
    layout->setSpacing(6);

    auto *name = new QLabel(QStringLiteral("Тормел"), this);
    name->setObjectName(QStringLiteral("ProgramNameLabel"));
    QFont nameFont;
    nameFont.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    nameFont.setStyleHint(QFont::Monospace);
    nameFont.setPixelSize(37);
    nameFont.setBold(true);
    name->setFont(nameFont);
    setTextColor(name, Maroon);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addWidget(rule(this));

    auto *text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("AboutMemo"));
    text->setReadOnly(true);
    text->setFrameShape(QFrame::NoFrame);
    text->setFocusPolicy(Qt::NoFocus);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->viewport()->setAutoFillBackground(false);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont textFont;
    textFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    textFont.setStyleHint(QFont::SansSerif);
    textFont.setPixelSize(13);
    text->setFont(textFont);
    text->setPlainText(QStringLiteral("Версия " TORMEL_VERSION "\n"
                                      "Расчет тока однофазного короткого замыкания\n"
                                      "в сетях 0,4 кВ и проверка аппаратов защиты\n"
                                      "\n"
                                      "Вопросы и предложения направляйте\n"
                                      "разработчикам программы."));
    QTextCursor cursor(text->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    layout->addWidget(text, 1);
    layout->addWidget(rule(this));

    auto *close = new QPushButton(
            style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(centredButtonRow({close}, ButtonWidth));

    setFixedSize(ClientWidth, ClientHeight);
}

int TAboutProgramForm::showModal()
{
    centreOnScreen(this);
    return exec();
}

} // namespace tormel
