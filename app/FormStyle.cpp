#include "app/FormStyle.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace tormel {

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    setSerif(label);
    setTextColor(label, Maroon);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setSerif(QWidget *widget)
{
    QFont font = widget->font();
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    widget->setFont(font);
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

QHBoxLayout *centredButtonRow(std::initializer_list<QPushButton *> buttons, int minimumWidth)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton *button : buttons) {
        button->setMinimumWidth(minimumWidth);
        row->addWidget(button);
        row->addStretch(1);
    }
    return row;
}

} // namespace tormel
