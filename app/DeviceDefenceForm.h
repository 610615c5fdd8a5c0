#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QGridLayout;
class QRadioButton;

namespace tormel {

class IHelpService;
class TormelSession;
struct ComboBoxState;

// The protection device window: a circuit breaker or a fuse with its data. It keeps no
// state of its own: every edit goes into the session's device window model, "Да" and
// "Сброс" go to the session, and the window shows what the model holds. The verdict
// appears in the main window and the result window, not here.
class TDeviceDefenceForm : public QDialog
{
    Q_OBJECT

public:
    TDeviceDefenceForm(TormelSession &session, IHelpService &help, QWidget *parent = nullptr);
    ~TDeviceDefenceForm() override;

    // Shows the lists, texts, choices and enabled groups as the model holds them.
    void showState();
    // Shows the model's state and opens the window modally, centred on the screen.
    int showModal();

private:
    QGroupBox *buildBreakerGroup();
    QGroupBox *buildFuseGroup();
    QComboBox *comboBox(const QString &name,
                        ComboBoxState &state,
                        QWidget *parent,
                        std::function<void()> change = {});
    // A caption of stacked lines over a combo box, in column `column` of `grid`.
    void addCaption(QGridLayout *grid,
                    int column,
                    const std::array<std::string_view, 3> &lines,
                    QComboBox *box);

    void AVRadioButtonClick();
    void PPRadioButtonClick();
    void TokNRCheckBoxClick(bool checked);
    void TypePPComboBoxChange();
    void OKDDBitBtnClick();
    void BitBtn3Click();

    TormelSession &m_session;
    std::vector<std::pair<QComboBox *, ComboBoxState *>> m_combos;
    QRadioButton *m_avRadioButton = nullptr;
    QRadioButton *m_ppRadioButton = nullptr;
    QCheckBox *m_tokNRCheckBox = nullptr;
    // The controls and captions of each group that are enabled and disabled together.
    QWidget *m_breakerControls = nullptr;
    QWidget *m_fuseControls = nullptr;
};

} // namespace tormel
