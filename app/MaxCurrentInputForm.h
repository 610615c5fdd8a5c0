#pragma once

#include "session/MaxCurrentInputModel.h"

#include <QDialog>

#include <functional>

namespace tormel {

class IHelpService;

// The window of the inputs of the largest fault currents. It keeps no state of its own:
// every keystroke goes into the model, and an empty box shows the default it stands for.
// The texts are judged by the next calculation, not here.
class TMaxCurrentInputForm : public QDialog
{
    Q_OBJECT

public:
    // `placeholders` gives the grey texts for the main window's present scheme and power.
    TMaxCurrentInputForm(MaxCurrentInputModel &model,
                         std::function<MaxCurrentInputModel::Placeholders()> placeholders,
                         IHelpService &help,
                         QWidget *parent = nullptr);

    void showState();
    int showModal();

private:
    MaxCurrentInputModel &m_model;
    std::function<MaxCurrentInputModel::Placeholders()> m_placeholders;
};

} // namespace tormel
