#include "ProfilePlot.h"

#include "profile/ProfileEditor.h"

#include <algorithm>

namespace print {

namespace {

// Room inside the box, in twips: a row for the axis captions and the time labels above the
// plot, the depth labels to its left.
constexpr double Pad = 90;
constexpr double LeftRoom = 800;
constexpr double RightRoom = 300;
constexpr double BottomRoom = 200;
constexpr double TickLength = 60;
constexpr double DotRadius = 35;
constexpr int MaxSteps = 6;

const QColor ProfileColor(0, 0, 160);

TextStyle labelStyle() {
    TextStyle s; // the control's own Arial 8.25, small beside the 12-point tables
    return s;
}

} // namespace

const store::ProfileRecord* printableProfile(const store::AppState& state, int dive) {
    if (dive < 1 || dive > state.DiveCount()) return nullptr;
    const int p = state.Dives[static_cast<size_t>(dive)].ProfileNum;
    if (p <= 0 || p >= static_cast<int>(state.Profiles.size())) return nullptr;
    const store::ProfileRecord& record = state.Profiles[static_cast<size_t>(p)];
    return profile::storedPointCount(record) > 0 ? &record : nullptr;
}

void drawProfile(PrintDoc& doc, const store::ProfileRecord& profile, int bottomTime, int maxDepth,
                 QPointF topLeft, double width) {
    const int count = profile::storedPointCount(profile);
    // A point outside the dive's own figures still lands inside the box.
    int span = std::max(1, bottomTime), depth = std::max(1, maxDepth);
    for (int k = 1; k <= count; ++k) {
        span = std::max<int>(span, profile.Times[static_cast<size_t>(k)]);
        depth = std::max<int>(depth, profile.Depths[static_cast<size_t>(k)]);
    }

    const double x0 = topLeft.x(), y0 = topLeft.y();
    const double x1 = x0 + width, y1 = y0 + ProfileBoxHeight;
    doc.DrawLine({x0, y0}, {x1, y0});
    doc.DrawLine({x0, y1}, {x1, y1});
    doc.DrawLine({x0, y0}, {x0, y1});
    doc.DrawLine({x1, y0}, {x1, y1});

    const TextStyle ls = labelStyle();
    const double lh = lineHeightOf(ls);
    const double captionTop = y0 + Pad;
    const QRectF plot(QPointF(x0 + LeftRoom, captionTop + 2 * lh + TickLength + Pad),
                      QPointF(x1 - RightRoom, y1 - BottomRoom));
    doc.DrawText(QStringLiteral("Depth"), ls, QRectF(x0 + Pad, captionTop, LeftRoom, lh),
                 Qt::AlignLeft);
    doc.DrawText(QStringLiteral("Time (min)"), ls,
                 QRectF(plot.left(), captionTop, plot.width(), lh), Qt::AlignRight);

    auto xOf = [&](int t) { return plot.left() + plot.width() * std::max(0, t) / span; };
    auto yOf = [&](int d) { return plot.top() + plot.height() * std::max(0, d) / depth; };

    // The surface is the time axis; depth runs down the left.
    doc.DrawLine(plot.topLeft(), plot.topRight());
    doc.DrawLine(plot.topLeft(), plot.bottomLeft());
    const int timeStep = profile::tickStep(MaxSteps, span); // no more than MaxSteps steps
    for (int t = 0; t <= span; t += timeStep) {
        const double x = xOf(t);
        doc.DrawLine({x, plot.top() - TickLength}, {x, plot.top()});
        doc.DrawText(QString::number(t), ls, QRectF(x - 400, plot.top() - TickLength - lh, 800, lh),
                     Qt::AlignHCenter);
    }
    const int depthStep = profile::tickStep(MaxSteps, depth);
    for (int d = 0; d <= depth; d += depthStep) {
        const double y = yOf(d);
        doc.DrawLine({plot.left() - TickLength, y}, {plot.left(), y});
        doc.DrawText(QString::number(d), ls,
                     QRectF(x0 + Pad, y - lh / 2, LeftRoom - 2 * Pad - TickLength, lh),
                     Qt::AlignRight);
    }

    // From the start at the surface through every point, each point marked.
    QPointF last(xOf(profile.Times[0]), yOf(profile.Depths[0]));
    for (int k = 1; k <= count; ++k) {
        const QPointF p(xOf(profile.Times[static_cast<size_t>(k)]),
                        yOf(profile.Depths[static_cast<size_t>(k)]));
        doc.DrawLine(last, p, ProfileColor);
        doc.DrawDot(p, DotRadius, ProfileColor);
        last = p;
    }
}

} // namespace print
