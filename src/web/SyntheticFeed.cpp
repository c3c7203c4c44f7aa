#include "web/SyntheticFeed.h"

#include "web/MonitorModel.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace zorneta::web {

SyntheticFeed::SyntheticFeed(MonitorModel &model, QObject *parent) : QObject(parent), m_model(model) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SyntheticFeed::feedOne);
}

double SyntheticFeed::temperatureAt(qint64 n) {
    // Room temperature, a ramp of one degree every 4 readings to 850, a hold
    // with a small ripple.
    const double ramp = 20.0 + double(n) / 4.0;
    return std::round(std::min(ramp, 850.0 + 3.0 * std::sin(double(n) / 25.0)));
}

void SyntheticFeed::start(double perSecond) {
    m_model.setLineState(MonitorModel::LineState::Open);
    m_timer.start(std::max(1, int(std::lround(1000.0 / perSecond))));
}

void SyntheticFeed::stop() {
    m_timer.stop();
}

void SyntheticFeed::fill(qint64 count, qint64 stepMs) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (qint64 i = 0; i < count; ++i)
        m_model.addReading(now - (count - 1 - i) * stepMs, temperatureAt(m_next++));
}

void SyntheticFeed::feedOne() {
    m_model.addReading(QDateTime::currentMSecsSinceEpoch(), temperatureAt(m_next++));
}

} // namespace zorneta::web
