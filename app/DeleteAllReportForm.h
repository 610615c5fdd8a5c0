#pragma once

#include <QDialog>

namespace tormel {

class TormelSession;

// The report window's "Удалить все" confirmation: "Да" empties the report and closes
// with the OK result; the cancel button closes and changes nothing.
class TDeleteAllReportForm : public QDialog
{
    Q_OBJECT

public:
    explicit TDeleteAllReportForm(TormelSession &session, QWidget *parent = nullptr);

    // Opens the dialog modally, centred on the screen.
    int showModal();

private:
    void OKBitBtnClick();

    TormelSession &m_session;
};

} // namespace tormel
