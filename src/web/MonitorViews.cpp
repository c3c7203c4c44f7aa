#include "web/MonitorViews.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace zorneta::web {

namespace {

QByteArray number(double value) {
    return QByteArray::number(value, 'g', 12);
}

const char *lineStateName(MonitorModel::LineState state) {
    switch (state) {
    case MonitorModel::LineState::Open:
        return "open";
    case MonitorModel::LineState::LostWaiting:
        return "lost_waiting";
    case MonitorModel::LineState::Closed:
        break;
    }
    return "closed";
}

QJsonValue readingJson(const MonitorModel::Reading &r) {
    QJsonObject o{{QStringLiteral("seq"), double(r.sequence)},
                  {QStringLiteral("ms"), double(r.ms)},
                  {QStringLiteral("break"), r.isBreak}};
    o.insert(QStringLiteral("celsius"), r.isBreak ? QJsonValue() : QJsonValue(r.celsius));
    return o;
}

} // namespace

MonitorViews::MonitorViews(const MonitorModel &model, QList<QPair<QString, QString>> labels)
    : m_model(model), m_labels(std::move(labels)) {}

QByteArray MonitorViews::seconds(qint64 ms) {
    return QByteArray::number(ms / 1000) + '.' + QByteArray::number(ms % 1000).rightJustified(3, '0');
}

QString MonitorViews::escapeLabelValue(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'"')
            out += QStringLiteral("\\\"");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QByteArray MonitorViews::metrics(qint64 nowMs) const {
    QByteArray out;
    out.reserve(2048);
    QByteArray common;
    for (const auto &[name, value] : m_labels)
        common += name.toUtf8() + "=\"" + escapeLabelValue(value).toUtf8() + "\",";
    auto labels = [&common](const QByteArray &more = {}) {
        QByteArray all = common + more;
        if (all.endsWith(','))
            all.chop(1);
        return all.isEmpty() ? QByteArray() : '{' + all + '}';
    };
    auto family = [&out](const char *name, const char *type, const char *help) {
        out += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
    };
    auto sample = [&out](const char *name, const QByteArray &labelText, const QByteArray &value) {
        out += name + labelText + ' ' + value + '\n';
    };

    const auto last = m_model.lastTemperature();
    family("zorneta_temperature_celsius", "gauge", "Last temperature received from the thermoregulator.");
    if (last)
        sample("zorneta_temperature_celsius", labels(), number(last->celsius));
    family("zorneta_temperature_age_seconds", "gauge", "Seconds since the last temperature was received.");
    if (last)
        sample("zorneta_temperature_age_seconds", labels(), seconds(std::max<qint64>(0, nowMs - last->ms)));
    family("zorneta_readings_total", "counter", "Readings received since the process started.");
    sample("zorneta_readings_total", labels(), QByteArray::number(m_model.total()));
    family("zorneta_line_state", "gauge", "State of the serial line: 1 for the current state.");
    for (const auto state :
         {MonitorModel::LineState::Open, MonitorModel::LineState::LostWaiting, MonitorModel::LineState::Closed}) {
        sample("zorneta_line_state", labels(QByteArray("state=\"") + lineStateName(state) + '"'),
               m_model.lineState() == state ? "1" : "0");
    }
    family("zorneta_line_faults_total", "counter", "Line faults reported since the process started, by code.");
    for (auto it = m_model.faults().cbegin(); it != m_model.faults().cend(); ++it)
        sample("zorneta_line_faults_total", labels("code=\"" + QByteArray::number(it.key()) + '"'),
               QByteArray::number(it.value()));
    family("zorneta_thermocouple_break", "gauge", "1 while the last reading reports a thermocouple break.");
    sample("zorneta_thermocouple_break", labels(), m_model.thermocoupleBreak() ? "1" : "0");
    family("zorneta_alarm_temperature_celsius", "gauge", "The alarm temperature, when one is set.");
    if (m_model.alarm())
        sample("zorneta_alarm_temperature_celsius", labels(), number(*m_model.alarm()));
    family("zorneta_alarm_reached", "gauge", "1 once the alarm temperature has been reached.");
    sample("zorneta_alarm_reached", labels(), m_model.alarmReached() ? "1" : "0");
    family("zorneta_recording_bytes", "gauge", "Size of the recording file.");
    sample("zorneta_recording_bytes", labels(), QByteArray::number(m_model.recordingBytes()));
    family("zorneta_reception_ended", "gauge", "1 once reception has ended for good (the program still serves).");
    sample("zorneta_reception_ended", labels(), m_model.ended().isEmpty() ? "0" : "1");
    family("zorneta_start_time_seconds", "gauge", "Start time of the process since the Unix epoch.");
    sample("zorneta_start_time_seconds", labels(), seconds(m_model.startMs()));
    if (const auto started = m_model.recordingStarted()) {
        family("zorneta_recording_start_time_seconds", "gauge", "Start time of the recording since the Unix epoch.");
        sample("zorneta_recording_start_time_seconds", labels(), seconds(*started));
    }
    return out;
}

QByteArray MonitorViews::session() const {
    QJsonObject o;
    o.insert(QStringLiteral("start"), double(m_model.startMs()));
    o.insert(QStringLiteral("total"), double(m_model.total()));
    o.insert(QStringLiteral("firstKept"), double(m_model.firstKept()));
    const auto last = m_model.lastTemperature();
    o.insert(QStringLiteral("lastTemperature"), last ? readingJson(*last) : QJsonValue());
    const auto newest = m_model.lastReading();
    o.insert(QStringLiteral("lastReading"), newest ? readingJson(*newest) : QJsonValue());
    o.insert(QStringLiteral("line"), QString::fromLatin1(lineStateName(m_model.lineState())));
    QJsonObject faults;
    for (auto it = m_model.faults().cbegin(); it != m_model.faults().cend(); ++it)
        faults.insert(QString::number(it.key()), double(it.value()));
    o.insert(QStringLiteral("faults"), faults);
    o.insert(QStringLiteral("thermocoupleBreak"), m_model.thermocoupleBreak());
    o.insert(QStringLiteral("alarm"),
             QJsonObject{{QStringLiteral("celsius"), m_model.alarm() ? QJsonValue(*m_model.alarm()) : QJsonValue()},
                         {QStringLiteral("reached"), m_model.alarmReached()}});
    const auto started = m_model.recordingStarted();
    o.insert(QStringLiteral("recording"),
             QJsonObject{{QStringLiteral("path"), m_model.recordingPath()},
                         {QStringLiteral("bytes"), double(m_model.recordingBytes())},
                         {QStringLiteral("start"), started ? QJsonValue(double(*started)) : QJsonValue()}});
    o.insert(QStringLiteral("ended"), m_model.ended());
    QJsonObject labels;
    for (const auto &[name, value] : m_labels)
        labels.insert(name, value);
    o.insert(QStringLiteral("labels"), labels);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray MonitorViews::readings(qint64 from, qint64 limit) const {
    const qint64 first = std::clamp(from, m_model.firstKept(), m_model.total());
    const qint64 count = std::min(std::clamp<qint64>(limit, 0, MaxReadingsPerAnswer), m_model.total() - first);
    QJsonArray list;
    for (qint64 s = first; s < first + count; ++s)
        list.append(readingJson(m_model.reading(s)));
    const QJsonObject o{{QStringLiteral("from"), double(first)},
                        {QStringLiteral("next"), double(first + count)},
                        {QStringLiteral("total"), double(m_model.total())},
                        {QStringLiteral("firstKept"), double(m_model.firstKept())},
                        {QStringLiteral("readings"), list}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray MonitorViews::curve(int width) {
    width = std::clamp(width, MinWidth, MaxWidth) / 10 * 10;
    if (m_decimators.size() > 16 && !m_decimators.contains(width))
        m_decimators.clear();
    const QList<QPointF> points = m_decimators[width].points(m_model.curve(), width);
    QByteArray out = "{\"first\":";
    qint64 firstMs = 0;
    if (!points.isEmpty())
        firstMs = m_model.reading(m_model.curveFirstSequence() + qint64(points.first().x()) - 1).ms;
    out += QByteArray::number(firstMs) + ",\"points\":[";
    bool comma = false;
    for (const QPointF &p : points) {
        const MonitorModel::Reading r = m_model.reading(m_model.curveFirstSequence() + qint64(p.x()) - 1);
        if (r.sequence < 0 || r.isBreak)
            continue;
        if (comma)
            out += ',';
        comma = true;
        out += '[' + QByteArray::number(r.ms - firstMs) + ',' + number(p.y()) + ']';
    }
    out += "]}";
    return out;
}

} // namespace zorneta::web
