#pragma once

#include <QWidget>

namespace tormel {

struct MaxCurrentsPageModel;

// The result window's page of the largest fault currents: the currents at every point, the
// breaking capacity verdict and the conductors' heating per section. It computes nothing;
// it shows the texts of its model.
class MaxCurrentsPage : public QWidget
{
    Q_OBJECT

public:
    explicit MaxCurrentsPage(const MaxCurrentsPageModel &model, QWidget *parent = nullptr);

    void showState();

private:
    const MaxCurrentsPageModel &m_model;
};

} // namespace tormel
