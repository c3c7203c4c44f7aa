#include "recording/Snapshots.h"

#include "common/Cell.h"
#include "common/ItemNames.h"
#include "common/SystemErrors.h"
#include "common/TextEncoding.h"
#include "platform/ChartSurface.h"
#include "platform/Prompts.h"
#include "session/MainView.h"
#include "session/Services.h"
#include "session/SessionState.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace zorneta {

namespace {

QString title() {
    return QString::fromUtf16(AppTitle);
}

} // namespace

Snapshots::Snapshots(Services &services, SessionState &state) : m_services(services), m_state(state) {}

ReadingsTable Snapshots::cleanSnapshot() {
    ReadingsTable table(1, 2);
    (void)table.setText(1, 2, QStringLiteral("Нет данных"));
    (void)table.setText(2, 1, QStringLiteral("Снимок чистый"));
    return table;
}

Snapshots::Outcome Snapshots::takeAll() {
    const ReadingsTable &readings = m_state.readings;
    const qint64 count = m_state.pointCount;
    if (count < 1 || readings.firstColumn() != 1 || count > readings.lastColumn())
        return Outcome::Refused;
    // A copy shares the blocks of the readings; cutting it to the readings
    // taken leaves the live table alone.
    ReadingsTable snap = readings;
    if (!snap.resize(1, count))
        return Outcome::Refused;
    m_snap = std::move(snap);
    return Outcome::Taken;
}

Snapshots::Outcome Snapshots::takeSection(qint64 from, qint64 to, const QString &fromText, const QString &toText,
                                          qint64 *lastColumn) {
    const ReadingsTable &readings = m_state.readings;
    if (to >= readings.lastColumn()) {
        if (lastColumn)
            *lastColumn = readings.lastColumn();
        return Outcome::OutOfBounds;
    }
    if (from < readings.firstColumn() || from < 1 || from > to)
        return Outcome::Refused;
    ReadingsTable snap = readings;
    if (!snap.resize(from, to))
        return Outcome::Refused;
    const QString sectionTitle = QStringLiteral("Снимок графика ") + readings.cell(2, 1).toText() +
                                 QStringLiteral(" в границах от точки № ") + fromText + QStringLiteral(" до точки № ") +
                                 toText + QStringLiteral(" включительно");
    if (!snap.setText(2, from, sectionTitle))
        return Outcome::Refused;
    m_snap = std::move(snap);
    return Outcome::Taken;
}

void Snapshots::enableSnapshotCommands() {
    MainView &view = m_services.view;
    view.setItemEnabled(menu::PasteSnapshot, true);
    view.setItemEnabled(menu::EraseSnapshot, true);
    view.setItemEnabled(toolbar::PasteSnap, true);
    view.setItemEnabled(toolbar::DeleteSnap, true);
}

QByteArray Snapshots::lineBytes(const ReadingsTable &table, qint64 column) {
    QByteArray line = encodeFileText(table.cell(1, column).toText() + u'\t' + table.cell(2, column).toText());
    line += '\r';
    return line;
}

void Snapshots::message(const QString &text) {
    m_services.prompts.messageBox(title(), text, Prompts::Icon::None, Prompts::Buttons::Ok);
}

void Snapshots::showError(const QString &description) {
    m_services.prompts.messageBox(title(), description, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void Snapshots::saveSnapshot() {
    Prompts &prompts = m_services.prompts;
    // The snapshot as it is now: a snapshot taken while a dialog is open
    // does not mix into this file.
    const ReadingsTable table = m_snap;
    const QString dialogTitle = QStringLiteral("Сохранить файл снимка");
    const QString filter = QStringLiteral("Файл снимка(*.TXT)|*.TXT|Все файлы (*.*)|*.*");
    QString path;
    for (;;) {
        const QString proposed = QStringLiteral("Снимок ") + m_state.readings.cell(2, 1).toText();
        const std::optional<Prompts::FileChoice> choice = prompts.saveFileDialog(dialogTitle, filter, proposed);
        if (!choice)
            return; // cancelled: the snapshot stays in memory only
        path = choice->fullPath;
        const QFileInfo info(path);
        if (info.isDir()) {
            showError(QStringLiteral("Выбрана папка, а не файл: ") + path);
            return;
        }
        if (!info.exists() && !info.isSymLink())
            break;
        const auto answer = prompts.messageBox(title(), QStringLiteral("Заменить существующий файл - ") + path + u'?',
                                               Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::Cancel)
            continue; // choose again
        if (answer == Prompts::Answer::Yes) {
            QFile old(path);
            if (!old.remove()) {
                showError(fileFailureText(FileAction::Remove, path, old.errorString()));
                return;
            }
        }
        break; // No: the snapshot goes after what the file holds
    }
    writeSnapshotFile(path, table);
}

bool Snapshots::writeSnapshotFile(const QString &path, const ReadingsTable &table) {
    QFile file(path);
    // Unbuffered: a write that fails (a full disk) is seen at that line, not
    // later when the file is closed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        showError(fileFailureText(FileAction::Open, path, file.errorString()));
        return false;
    }
    const qint64 startSize = file.size();
    for (qint64 column = table.firstColumn(); column <= table.lastColumn(); ++column) {
        QByteArray line = lineBytes(table, column);
        for (;;) {
            const qint64 n = file.write(line);
            if (n == line.size())
                break;
            if (n > 0) {
                line.remove(0, n); // what reached the file is not written again
                continue;
            }
            const QString error = fileFailureText(FileAction::Write, path, file.errorString());
            file.unsetError();
            const auto answer =
                m_services.prompts.messageBox(title(), error, Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
            if (answer != Prompts::Answer::Retry) {
                // The save is abandoned: take back what it wrote, so the file
                // does not hold part of a snapshot as if it were saved.
                if (file.size() != startSize && !file.resize(startSize))
                    showError(QStringLiteral("Файл снимка записан не полностью: ") + path);
                file.close();
                return false;
            }
        }
    }
    file.close();
    return true;
}

void Snapshots::showSnapshotChart() {
    const QString snapTitle = QStringLiteral("Снимок ") + m_state.readings.cell(2, 1).toText();
    if (m_snap.columnCount() < 1 || !m_snap.setText(2, m_snap.firstColumn(), snapTitle)) {
        message(QStringLiteral("Снимок делается с реального графика и вставляется только при наличии в Нём данных!"));
        return;
    }
    m_services.chart.setChartData(m_snap);
}

void Snapshots::clearSnapshots() {
    m_snap = cleanSnapshot();
}

void Snapshots::copyData() {
    const Status copied = m_services.chart.editCopy();
    if (!copied)
        showError(QStringLiteral("Не удалось скопировать данные графика в буфер обмена.\n") + copied.description());
}

void Snapshots::insertData() {
    ChartSurface &chart = m_services.chart;
    const Status pasted = chart.editPaste();
    if (!pasted) {
        // Why the chart refused the text: none of chart data, or data beyond
        // what the chart takes.
        showError(pasted.description());
        return;
    }
    (void)chart.setRowLabel(1, QStringLiteral("Вставка из буфера"));
}

} // namespace zorneta
