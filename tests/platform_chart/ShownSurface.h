#pragma once

// The chart surface's view on screen (offscreen), as the tests of the chart
// drive it.

#include "platform/qt/QtChartSurface.h"

#include <QChart>
#include <QChartView>
#include <QtTest>

namespace zorneta::testing {

// Shows the view at the given size and lets the chart settle to it.
inline void showAt(QtChartSurface &surface, int width, int height) {
    QWidget *view = surface.widget();
    view->resize(width, height);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    QChart *chart = qobject_cast<QChartView *>(view)->chart();
    QTRY_VERIFY(chart->plotArea().width() > width / 2);
    // The chart refits the curve and labels to the plot width right after
    // the layout.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Polls until the table waiting for its frame has been drawn.
inline bool settle(QtChartSurface &surface) {
    for (int i = 0; i < 10000 && surface.drawingPending(); ++i)
        QTest::qWait(1);
    QCoreApplication::processEvents();
    return !surface.drawingPending();
}

} // namespace zorneta::testing
