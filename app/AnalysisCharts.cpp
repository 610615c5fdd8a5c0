#include "app/AnalysisCharts.h"

#include "sheet/AnalysisChartPainter.h"

#include <QPainter>

namespace tormel {

FeedCurrentChartView::FeedCurrentChartView(const FeedCurrentChart &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void FeedCurrentChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintFeedCurrentChart(painter, rect(), m_chart);
}

LoopShareChartView::LoopShareChartView(const LoopShareChart &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void LoopShareChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintLoopShareChart(painter, rect(), m_chart);
}

} // namespace tormel
