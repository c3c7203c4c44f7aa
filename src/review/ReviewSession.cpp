#include "review/ReviewSession.h"

#include <QFileInfo>

#include <cmath>

namespace zorneta {

ReviewSession::ReviewSession() : m_zoom(MinimumSpan) {}

void ReviewSession::clear() {
    m_record = FiringRecord();
    m_path.clear();
    m_sourceName.clear();
    m_failure.clear();
    m_run = 0;
    m_proposal = QDateTime();
    m_given.clear();
    m_zoom = CurveZoom(MinimumSpan);
}

ReviewStatus ReviewSession::open(const QString &path) {
    clear();
    m_path = path;
    const QFileInfo info(path);
    m_sourceName = info.fileName();
    ReviewStatus status = m_record.load(path);
    if (!status) {
        m_failure = status.message();
        return status;
    }
    const RecordRun &last = m_record.runs().back();
    const QDateTime modified = info.lastModified();
    if (modified.isValid())
        m_proposal = modified.addSecs(-qint64(last.endSeconds));
    setRun(1);
    return status;
}

void ReviewSession::take(FiringRecord record, const QString &sourceName, const QDateTime &start) {
    clear();
    m_record = std::move(record);
    m_sourceName = sourceName;
    if (start.isValid())
        m_given[1] = start;
    if (!m_record.runs().empty())
        setRun(1);
}

QStringList ReviewSession::runTexts() const {
    QStringList texts;
    for (const RecordRun &r : m_record.runs())
        texts << QStringLiteral("Сеанс %1: %2–%3, показаний: %4")
                     .arg(r.number)
                     .arg(spanText(r.startSeconds), spanText(r.endSeconds))
                     .arg(r.readings);
    return texts;
}

void ReviewSession::setRun(int number) {
    const RecordRun *r = m_record.run(number);
    if (!r)
        return;
    m_run = number;
    m_zoom = CurveZoom(MinimumSpan);
    m_zoom.setExtent(r->startSeconds, std::max<double>(r->endSeconds, r->startSeconds + MinimumSpan));
}

ReviewSession::StartKind ReviewSession::startKind() const {
    if (m_given.count(m_run))
        return StartKind::Given;
    if (m_proposal.isValid() && m_run == int(m_record.runs().size()))
        return StartKind::Proposed;
    return StartKind::Unknown;
}

QDateTime ReviewSession::start() const {
    switch (startKind()) {
    case StartKind::Given:
        return m_given.at(m_run);
    case StartKind::Proposed:
        return m_proposal;
    case StartKind::Unknown:
        break;
    }
    return QDateTime();
}

QDateTime ReviewSession::shownStart() const {
    const QDateTime known = start();
    return known.isValid() ? known : m_proposal;
}

void ReviewSession::giveStart(const QDateTime &start) {
    if (m_run > 0 && start.isValid())
        m_given[m_run] = start;
}

QString ReviewSession::startCaption() const {
    switch (startKind()) {
    case StartKind::Given:
        return QStringLiteral("Начало сеанса:");
    case StartKind::Proposed:
        return QStringLiteral("Начало (предположительно):");
    case StartKind::Unknown:
        break;
    }
    return QStringLiteral("Начало (неизвестно):");
}

QString ReviewSession::statusText() const {
    if (!m_failure.isEmpty())
        return m_failure;
    const RecordRun *r = m_record.run(m_run);
    if (!r)
        return QString();
    return QStringLiteral("Сеанс %1 из %2 · показаний: %3 · пропущено строк: %4 · обрывов термопары: %5")
        .arg(r->number)
        .arg(m_record.runs().size())
        .arg(r->readings)
        .arg(r->skipped)
        .arg(r->breaks);
}

QString ReviewSession::readout(double seconds) const {
    const RecordRun *r = m_record.run(m_run);
    if (!r)
        return QString();
    const qint64 at = qint64(std::llround(seconds));
    const QDateTime known = start();
    const QDateTime clock = known.isValid() ? known.addSecs(at) : QDateTime();
    const qint64 entry = m_record.entryAt(m_run, qint32(at));
    if (entry < 0)
        return curveReadout(at, clock, std::nullopt, false);
    if (m_record.isBreak(entry))
        return curveReadout(at, clock, std::nullopt, true);
    return curveReadout(at, clock, m_record.value(entry), false);
}

CsvOptions ReviewSession::csvOptions() const {
    CsvOptions options;
    options.start = start();
    options.startRun = std::max(1, m_run);
    return options;
}

ReportOptions ReviewSession::reportOptions(std::optional<double> alarm) const {
    ReportOptions options;
    options.run = std::max(1, m_run);
    options.start = start();
    options.alarm = alarm;
    options.sourceName = m_sourceName;
    return options;
}

QString ReviewSession::proposedName(const QString &suffix) const {
    QString base = m_path.isEmpty() ? m_sourceName : QFileInfo(m_path).completeBaseName();
    if (m_record.runs().size() > 1)
        base += QStringLiteral("-%1").arg(m_run);
    return base + u'.' + suffix;
}

} // namespace zorneta
