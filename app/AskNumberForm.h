#pragma once

#include <QDialog>

class QCheckBox;

namespace tormel {

class IHelpService;
class NameEdit;
class TormelSession;

// The point-name dialog: adds the current result to the report under a typed name. The
// name and the check box live in the session's model, so the last name is offered again
// and the calculation reads the check box; "Да" goes to the session.
class TAskNumberForm : public QDialog
{
    Q_OBJECT

public:
    TAskNumberForm(TormelSession &session, IHelpService &help, QWidget *parent = nullptr);
    ~TAskNumberForm() override;

    // Shows the model's name and check box.
    void showState();
    // Shows the model's state and opens the dialog modally, centred on the screen, with
    // the name selected for typing over.
    int showModal();

private:
    void OKButtonClick();

    TormelSession &m_session;
    NameEdit *m_numberEdit = nullptr;
    QCheckBox *m_everyTimeCheckBox = nullptr;
};

} // namespace tormel
