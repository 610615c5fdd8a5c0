#include "app/AnalysisCharts.h"

#include "sheet/AnalysisChartPainter.h"

#include <QPainter>

namespace tormel {

namespace {

// Both charts are drawn on white, as on the printed sheet.
void paintOnWhite(QWidget &view)
{
    view.setAutoFillBackground(true);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, Qt::white);
    view.setPalette(palette);
}

} // namespace

FeedCurrentChartView::FeedCurrentChartView(const FeedCurrentChart &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    paintOnWhite(*this);
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
    paintOnWhite(*this);
}

void LoopShareChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintLoopShareChart(painter, rect(), m_chart);
}

} // namespace tormel
