#include "recording/SnapshotDialog.h"

#include "common/Formats.h"
#include "platform/Prompts.h"
#include "recording/Snapshots.h"
#include "session/MainView.h"
#include "session/PersistedSettings.h"
#include "session/Services.h"
#include "session/SessionState.h"

#include <algorithm>
#include <cmath>

namespace zorneta {

namespace {

// The point number typed in a box: the number the text starts with, rounded
// to a whole number; 0 when it starts with none.
qint64 pointNumber(const QString &text) {
    // Far beyond any table, yet exact as a double and safe to compare.
    constexpr double Limit = 1e15;
    const double value = std::clamp(leadingNumber(text), -Limit, Limit);
    return static_cast<qint64>(std::llround(value));
}

} // namespace

SnapshotDialog::SnapshotDialog(Services &services, SessionState &state, PersistedSettings &settings,
                               Snapshots &snapshots)
    : m_services(services), m_state(state), m_settings(settings), m_snapshots(snapshots) {}

void SnapshotDialog::takeSnapshot() {
    if (!m_loaded)
        load();
    m_shown = true;
    Q_EMIT changed();
    m_services.view.showSnapshotDialog(*this);
}

void SnapshotDialog::load() {
    m_loaded = true;
    m_shown = false;
    m_firstPoint = QStringLiteral("1");
    m_lastPoint = QStringLiteral("50");
    m_saveToFile = false;
    m_state.snapshotAllData = m_settings.boolean(Keys::SnapShot, true);
    chooseRange(m_state.snapshotAllData ? 0 : 1);
}

void SnapshotDialog::chooseRange(int index) {
    m_allData = index == 0;
    m_state.snapshotAllData = m_allData;
    Q_EMIT changed();
}

void SnapshotDialog::message(const QString &text) {
    m_services.prompts.messageBox(QString::fromUtf16(AppTitle), text, Prompts::Icon::None, Prompts::Buttons::Ok);
}

void SnapshotDialog::confirm() {
    const QString refused = QStringLiteral("Снимки только с реального графика!");
    if (m_state.snapshotAllData) {
        if (m_snapshots.takeAll() != Snapshots::Outcome::Taken) {
            message(refused);
            return;
        }
    } else {
        const qint64 from = pointNumber(m_firstPoint);
        const qint64 to = pointNumber(m_lastPoint);
        qint64 lastColumn = 0;
        switch (m_snapshots.takeSection(from, to, m_firstPoint, m_lastPoint, &lastColumn)) {
        case Snapshots::Outcome::Taken:
            break;
        case Snapshots::Outcome::OutOfBounds:
            message(QStringLiteral(" Проверьте соответствие границ снимка границам реального графика !"));
            m_lastPoint = QString::number(lastColumn);
            Q_EMIT changed();
            return;
        case Snapshots::Outcome::Refused:
            message(refused);
            return;
        }
    }
    m_snapshots.enableSnapshotCommands();
    (void)m_settings.saveBool(Keys::SnapShot, m_state.snapshotAllData);
    m_shown = false;
    Q_EMIT changed();
    if (m_saveToFile)
        m_snapshots.saveSnapshot();
}

void SnapshotDialog::cancel() {
    m_loaded = false;
    m_shown = false;
    Q_EMIT changed();
}

} // namespace zorneta
