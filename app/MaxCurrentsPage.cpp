#include "app/MaxCurrentsPage.h"

#include "app/FormStyle.h"
#include "app/HelpContext.h"
#include "calc/CalcTypes.h"
#include "session/MaxCurrentsPageModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tormel {

namespace {

QLabel *hinted(QLabel *label, std::string_view hint)
{
    label->setStatusTip(qs(hint));
    label->setToolTip(qs(hint));
    return label;
}

QLabel *value(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColor(label, Qt::black);
    return label;
}

QLabel *heading(std::string_view text, std::string_view hint, QWidget *parent)
{
    QLabel *label = captionLabel(qs(text), parent);
    label->setAlignment(Qt::AlignCenter);
    setBold(label);
    return hinted(label, hint);
}

} // namespace

MaxCurrentsPage::MaxCurrentsPage(const MaxCurrentsPageModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    namespace T = MaxCurrentsPageText;
    setObjectName(QStringLiteral("MaxCurrentsTabSheet"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);

    auto *transformer = new QGridLayout;
    transformer->addWidget(captionLabel(qs(T::TransformerCaption), this), 0, 0);
    QLabel *z1 = hinted(value(QStringLiteral("TransformerLabel"), this), T::TransformerHint);
    z1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    transformer->addWidget(z1, 0, 1);
    transformer->setColumnStretch(1, 1);
    layout->addLayout(transformer);

    QLabel *pointsHeading = captionLabel(qs(T::PointsHeading), this);
    setBold(pointsHeading);
    layout->addWidget(pointsHeading);
    auto *points = new QGridLayout;
    points->setHorizontalSpacing(8);
    points->setVerticalSpacing(0);
    for (std::size_t c = 0; c < T::PointColumns.size(); ++c)
        points->addWidget(heading(T::PointColumns[c], T::PointHints[c], this), 0, int(c));
    for (int p = 0; p <= LineCount; ++p) {
        QLabel *name = captionLabel(qs(m_model.Points[std::size_t(p)].Point), this);
        name->setObjectName(QStringLiteral("PointName%1").arg(p));
        points->addWidget(name, p + 1, 0);
        int column = 1;
        for (const char *kind : {"Ik3", "Ik1", "Ip", "Iokz"})
            points->addWidget(
                    value(QStringLiteral("%1Point%2").arg(QLatin1String(kind)).arg(p), this),
                    p + 1,
                    column++);
    }
    for (int c = 1; c < int(T::PointColumns.size()); ++c)
        points->setColumnStretch(c, 1);
    layout->addLayout(points);

    auto *breaking = new QGridLayout;
    breaking->addWidget(captionLabel(qs(T::BreakingCaption), this), 0, 0, Qt::AlignTop);
    QLabel *verdict = hinted(value(QStringLiteral("BreakingLabel"), this), T::BreakingHint);
    verdict->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verdict->setWordWrap(true);
    breaking->addWidget(verdict, 0, 1);
    breaking->setColumnStretch(1, 1);
    layout->addSpacing(4);
    layout->addLayout(breaking);

    QLabel *thermalHeading = captionLabel(qs(T::ThermalHeading), this);
    setBold(thermalHeading);
    layout->addSpacing(4);
    layout->addWidget(thermalHeading);
    auto *thermal = new QGridLayout;
    thermal->setHorizontalSpacing(8);
    thermal->setVerticalSpacing(0);
    for (std::size_t c = 0; c < T::ThermalColumns.size(); ++c)
        thermal->addWidget(heading(T::ThermalColumns[c], T::ThermalHints[c], this), 0, int(c));
    for (int n = 1; n <= LineCount; ++n) {
        thermal->addWidget(captionLabel(QStringLiteral("Линия %1").arg(n), this), n, 0);
        int column = 1;
        for (const char *kind : {"K", "Smin", "Verdict", "Capacity", "TimeAtMax"})
            thermal->addWidget(
                    value(QStringLiteral("%1Line%2").arg(QLatin1String(kind)).arg(n), this),
                    n,
                    column++);
    }
    for (int c = 1; c < int(T::ThermalColumns.size()); ++c)
        thermal->setColumnStretch(c, 1);
    layout->addLayout(thermal);
    layout->addStretch(1);

    setHelpContext(this, T::HelpContext);
}

void MaxCurrentsPage::showState()
{
    for (const auto &[name, text] : m_model.Labels()) {
        if (auto *label = findChild<QLabel *>(QString::fromStdString(name)))
            label->setText(QString::fromStdString(text));
    }
    if (auto *label = findChild<QLabel *>(QStringLiteral("BreakingLabel")))
        setTextColor(label, m_model.BreakingRed ? Qt::red : Qt::black);
    for (int n = 1; n <= LineCount; ++n) {
        if (auto *label = findChild<QLabel *>(QStringLiteral("VerdictLine%1").arg(n)))
            setTextColor(label,
                         m_model.Thermal[std::size_t(n - 1)].VerdictRed ? Qt::red : Qt::black);
    }
}

} // namespace tormel
