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
};

} // namespace tormel
