#pragma once

#include <QDialog>

namespace tormel {

// The About window: the program's name, version and contacts. It changes nothing.
class TAboutProgramForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutProgramForm(QWidget *parent = nullptr);

    // Opens the window modally, centred on the screen.
    int showModal();

protected:
    // The close box and Escape close the window as "Закрыть" does.
    void reject() override { accept(); }
};

} // namespace tormel
