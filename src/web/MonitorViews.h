#pragma once

#include "common/CurveDecimator.h"
#include "web/MonitorModel.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <map>

namespace zorneta::web {

// What the endpoint answers, made from the model: the Prometheus exposition,
// the JSON documents, the live page and the payloads of its event stream.
class MonitorViews {
public:
    explicit MonitorViews(const MonitorModel &model, QList<QPair<QString, QString>> labels = {});

    // Readings handed out by one /api/readings answer at most.
    static constexpr qint64 MaxReadingsPerAnswer = 10000;
    // The curve's width in pixel columns is kept within these bounds.
    static constexpr int MinWidth = 100;
    static constexpr int MaxWidth = 4000;

    QByteArray metrics(qint64 nowMs) const;
    QByteArray session() const;
    QByteArray readings(qint64 from, qint64 limit) const;
    // The curve thinned to at most two points a pixel column of `width`
    // (clamped to MinWidth..MaxWidth): {"first": ms, "points": [[ms after first, °C], ...]}.
    QByteArray curve(int width);
    static QByteArray page();

    // "ms since the epoch" as Prometheus seconds.
    static QByteArray seconds(qint64 ms);
    // A label value escaped as the text format wants it.
    static QString escapeLabelValue(const QString &value);

private:
    const MonitorModel &m_model;
    QList<QPair<QString, QString>> m_labels;
    // One decimator a width asked for, so each keeps its summaries.
    std::map<int, CurveDecimator> m_decimators;
};

} // namespace zorneta::web
