#pragma once

class QPainter;
class QRect;

namespace tormel {

struct FeedCurrentChart;
struct LoopShareChart;

// The two pictures of the analysis, painted into `area` with the painter's font, for the
// result window and for the calculation sheet alike. Every number and text comes from the
// chart's model.

// The fault current along the feed against the distance from the transformer, with the
// device's trip current as a line and the band below it, where the device does not trip,
// shaded.
void PaintFeedCurrentChart(QPainter &painter, const QRect &area, const FeedCurrentChart &chart);

// The elements of the loop as bars of their share of |Zф-н|, the part of the resistance
// and the part of the reactance in two colours.
void PaintLoopShareChart(QPainter &painter, const QRect &area, const LoopShareChart &chart);

} // namespace tormel
