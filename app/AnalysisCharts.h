#pragma once

#include <QWidget>

namespace tormel {

struct FeedCurrentChart;
struct LoopShareChart;

// The fault current along the feed against the distance from the transformer, with the
// device's trip current as a line and the band below it, where the device does not trip,
// shaded. Every number and text comes from the chart's model.
class FeedCurrentChartView : public QWidget
{
public:
    FeedCurrentChartView(const FeedCurrentChart &chart, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const FeedCurrentChart &m_chart;
};

// The elements of the loop as bars of their share of |Zф-н|, the part of the resistance
// and the part of the reactance in two colours.
class LoopShareChartView : public QWidget
{
public:
    LoopShareChartView(const LoopShareChart &chart, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const LoopShareChart &m_chart;
};

} // namespace tormel
