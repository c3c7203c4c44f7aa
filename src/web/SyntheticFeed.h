#pragma once

#include <QObject>
#include <QTimer>

namespace zorneta::web {

class MonitorModel;

// Feeds a model the way a furnace would, without any line: a heating curve
// at a given rate, a reading each tick, stamped with the wall clock. For tests
// of the endpoint without a line.
class SyntheticFeed : public QObject {
    Q_OBJECT
public:
    explicit SyntheticFeed(MonitorModel &model, QObject *parent = nullptr);

    // Starts feeding `perSecond` readings a second (the line open).
    void start(double perSecond);
    void stop();
    // Adds `count` readings at once, one `stepMs` after the other, ending now.
    void fill(qint64 count, qint64 stepMs);
    // The temperature of reading number `n` of the curve.
    static double temperatureAt(qint64 n);

private:
    void feedOne();

    MonitorModel &m_model;
    QTimer m_timer;
    qint64 m_next = 0;
};

} // namespace zorneta::web
