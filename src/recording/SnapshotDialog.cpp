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
    const double value = std::clamp(LeadingNumber(text), -Limit, Limit);
    return static_cast<qint64>(std::llround(value));
}

} // namespace

SnapshotDialog::SnapshotDialog(Services &services, SessionState &state, PersistedSettings &settings,
                               Snapshots &snapshots)
    : m_services(services), m_state(state), m_settings(settings), m_snapshots(snapshots) {}

void SnapshotDialog::mnuGetInMind_Click() {
    if (!m_loaded)
        Form_Load();
    m_shown = true;
    Q_EMIT changed();
    m_services.view.showSnapshotDialog(*this);
}

void SnapshotDialog::Form_Load() {
    m_loaded = true;
    m_shown = false;
    m_text1 = QStringLiteral("1");
    m_text2 = QStringLiteral("50");
    m_saveToFile = false;
    m_state.SnapshotAllData = m_settings.boolean(Keys::SnapShot, true);
    Snap_Click(m_state.SnapshotAllData ? 0 : 1);
}

void SnapshotDialog::Snap_Click(int index) {
    m_allData = index == 0;
    m_state.SnapshotAllData = m_allData;
    Q_EMIT changed();
}

void SnapshotDialog::message(const QString &text) {
    m_services.prompts.messageBox(QString::fromUtf16(AppTitle), text, Prompts::Icon::None, Prompts::Buttons::Ok);
}

void SnapshotDialog::CmdOK_Click() {
    const QString refused = QStringLiteral("Снимки только с реального графика!");
    if (m_state.SnapshotAllData) {
        if (m_snapshots.takeAll() != Snapshots::Outcome::Taken) {
            message(refused);
            return;
        }
    } else {
        const qint64 from = pointNumber(m_text1);
        const qint64 to = pointNumber(m_text2);
        qint64 lastColumn = 0;
        switch (m_snapshots.takeSection(from, to, m_text1, m_text2, &lastColumn)) {
        case Snapshots::Outcome::Taken:
            break;
        case Snapshots::Outcome::OutOfBounds:
            message(QStringLiteral(" Проверьте соответствие границ снимка границам реального графика !"));
            m_text2 = QString::number(lastColumn);
            Q_EMIT changed();
            return;
        case Snapshots::Outcome::Refused:
            message(refused);
            return;
        }
    }
    m_snapshots.enableSnapshotCommands();
    (void)m_settings.saveBool(Keys::SnapShot, m_state.SnapshotAllData);
    m_shown = false;
    Q_EMIT changed();
    if (m_saveToFile)
        m_snapshots.SaveSnapshot();
}

void SnapshotDialog::CmdCancel_Click() {
    m_loaded = false;
    m_shown = false;
    Q_EMIT changed();
}

} // namespace zorneta
