#include "sheet/AnalysisChartPainter.h"

#include "session/AnalysisPageModel.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tormel {

namespace {

const QColor CurveColor(0, 70, 160);
const QColor TripColor(192, 0, 0);
const QColor NoTripFill(255, 215, 215);
const QColor RColor(0, 90, 170);
const QColor XColor(230, 140, 20);
const QColor GridColor(220, 220, 220);
const QColor NameColor(128, 0, 0); // the maroon of the windows' captions

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A small legend entry: a sample of `color` and its text, left to right from `at`.
int drawLegend(QPainter &painter, QPoint at, const QColor &color, const QString &label, bool line)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int y = at.y() + metrics.ascent() / 2;
    if (line) {
        painter.setPen(QPen(color, 2));
        painter.drawLine(at.x(), y, at.x() + 14, y);
    } else {
        painter.fillRect(at.x(), y - 4, 14, 8, color);
    }
    painter.setPen(Qt::black);
    painter.drawText(at.x() + 18, at.y() + metrics.ascent(), label);
    return at.x() + 18 + metrics.horizontalAdvance(label) + 12;
}

} // namespace

void PaintFeedCurrentChart(QPainter &painter, const QRect &area, const FeedCurrentChart &chart)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = painter.fontMetrics();

    int labelWidth = 0;
    for (const ChartTick &tick : chart.CurrentTicks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(text(tick.Text)));
    const QRect plot = area.adjusted(labelWidth + 10,
                                     metrics.height() + 8,
                                     -metrics.horizontalAdvance(QStringLiteral("000")),
                                     -2 * metrics.height() - 6);
    if (plot.width() < 20 || plot.height() < 20) {
        painter.restore();
        return;
    }
    const auto toX = [&](double distance) {
        return plot.left() + distance / chart.DistanceMax * plot.width();
    };
    const auto toY = [&](double current) {
        return plot.bottom()
               - std::min(current, chart.CurrentMax) / chart.CurrentMax * plot.height();
    };

    // The band where the device does not trip.
    if (chart.TripCurrent) {
        const double top = toY(*chart.TripCurrent);
        painter.fillRect(QRectF(QPointF(plot.left(), top), QPointF(plot.right(), plot.bottom())),
                         NoTripFill);
    }

    painter.setPen(GridColor);
    for (const ChartTick &tick : chart.CurrentTicks)
        painter.drawLine(QPointF(plot.left(), toY(tick.Value)),
                         QPointF(plot.right(), toY(tick.Value)));
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    for (const ChartTick &tick : chart.CurrentTicks) {
        const QString label = text(tick.Text);
        painter.drawText(QPointF(plot.left() - 6 - metrics.horizontalAdvance(label),
                                 toY(tick.Value) + metrics.ascent() / 2.0 - 1),
                         label);
    }
    for (const ChartTick &tick : chart.DistanceTicks) {
        const QString label = text(tick.Text);
        const double x = toX(tick.Value);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0,
                                 plot.bottom() + 4 + metrics.ascent()),
                         label);
    }
    const QString axis = text(AnalysisPageText::CurrentAxis);
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(axis) / 2.0,
                             plot.bottom() + 4 + metrics.height() + metrics.ascent()),
                     axis);

    if (chart.TripCurrent) {
        painter.setPen(QPen(TripColor, 1.5, Qt::DashLine));
        const double y = toY(*chart.TripCurrent);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    QPainterPath curve;
    for (std::size_t k = 0; k < chart.Points.size(); ++k) {
        const QPointF point(toX(chart.Points[k].first), toY(chart.Points[k].second));
        if (k == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    painter.setPen(QPen(CurveColor, 2));
    painter.drawPath(curve);
    painter.setBrush(CurveColor);
    for (const auto &[distance, current] : chart.Points)
        painter.drawEllipse(QPointF(toX(distance), toY(current)), 2.5, 2.5);
    painter.setBrush(Qt::NoBrush);

    int x = drawLegend(painter,
                       QPoint(plot.left(), area.top() + 2),
                       CurveColor,
                       text(AnalysisPageText::CurrentLegend),
                       true);
    if (chart.TripCurrent) {
        x = drawLegend(painter, QPoint(x, area.top() + 2), TripColor, text(chart.TripText), true);
        drawLegend(painter,
                   QPoint(x, area.top() + 2),
                   NoTripFill,
                   text(AnalysisPageText::NoTripLegend),
                   false);
    }
    painter.restore();
}

void PaintLoopShareChart(QPainter &painter, const QRect &area, const LoopShareChart &chart)
{
    painter.save();
    const QFontMetrics metrics = painter.fontMetrics();

    int nameWidth = 0;
    int shareWidth = 0;
    for (const LoopShareBar &bar : chart.Bars) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(text(bar.Name)));
        shareWidth = std::max(shareWidth, metrics.horizontalAdvance(text(bar.ShareText)));
    }
    const QRect plot = area.adjusted(
            nameWidth + 12, metrics.height() + 8, -shareWidth - 12, -2 * metrics.height() - 6);
    if (chart.Bars.empty() || plot.width() < 20 || plot.height() < 10) {
        painter.restore();
        return;
    }
    const auto toX
            = [&](double share) { return plot.left() + share / chart.ShareMax * plot.width(); };

    painter.setPen(GridColor);
    for (const ChartTick &tick : chart.ShareTicks)
        painter.drawLine(QPointF(toX(tick.Value / 100), plot.top()),
                         QPointF(toX(tick.Value / 100), plot.bottom()));

    const double slot = double(plot.height()) / chart.Bars.size();
    const double thickness = std::min(slot * 0.7, 22.0);
    for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
        const LoopShareBar &bar = chart.Bars[i];
        const double middle = plot.top() + (i + 0.5) * slot;
        const double top = middle - thickness / 2;
        const QRectF r(QPointF(toX(0), top), QPointF(toX(bar.RShare), top + thickness));
        const QRectF x(QPointF(toX(bar.RShare), top),
                       QPointF(toX(bar.RShare + bar.XShare), top + thickness));
        painter.fillRect(r, RColor);
        painter.fillRect(x, XColor);
        painter.setPen(NameColor);
        const QString name = text(bar.Name);
        painter.drawText(QPointF(plot.left() - 6 - metrics.horizontalAdvance(name),
                                 middle + metrics.ascent() / 2.0 - 1),
                         name);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x.right() + 4, middle + metrics.ascent() / 2.0 - 1),
                         text(bar.ShareText));
    }

    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (const ChartTick &tick : chart.ShareTicks) {
        const QString label = text(tick.Text);
        const double xPos = toX(tick.Value / 100);
        painter.drawLine(QPointF(xPos, plot.bottom()), QPointF(xPos, plot.bottom() + 3));
        painter.drawText(QPointF(xPos - metrics.horizontalAdvance(label) / 2.0,
                                 plot.bottom() + 4 + metrics.ascent()),
                         label);
    }
    const QString axis = text(AnalysisPageText::LoopAxis);
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(axis) / 2.0,
                             plot.bottom() + 4 + metrics.height() + metrics.ascent()),
                     axis);

    const int x = drawLegend(painter,
                             QPoint(plot.left(), area.top() + 2),
                             RColor,
                             text(AnalysisPageText::RLegend),
                             false);
    drawLegend(painter, QPoint(x, area.top() + 2), XColor, text(AnalysisPageText::XLegend), false);
    painter.restore();
}
} // namespace tormel
