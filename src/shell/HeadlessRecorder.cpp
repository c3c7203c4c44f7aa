#include "shell/HeadlessRecorder.h"

#include "common/Formats.h"
#include "common/LineForms.h"
#include "common/TextEncoding.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "shell/ReceptionPresenter.h"

#include <QFileInfo>
#include <QIODevice>

namespace zorneta {

HeadlessRecorder::HeadlessRecorder(SerialPort &port, Clock &clock, QIODevice &out, QIODevice &errors)
    : m_core(port, clock), m_out(out), m_errors(errors) {
    ReadingPipeline &pipeline = m_core.pipeline();
    connect(&pipeline, &ReadingPipeline::lineShown, this, &HeadlessRecorder::print);
    connect(&pipeline, &ReadingPipeline::alarmReached, this,
            [this](qint64 temperature, const QDateTime &at) { say(ReceptionPresenter::alarmText(temperature, at)); });
    connect(&pipeline, &ReadingPipeline::lineFault, this,
            [this](int, const QString &text, const QDateTime &at) { showFault(text, at); });
    connect(&m_core, &AcquisitionCore::thermocoupleBreak, this, [this](bool closed) {
        if (closed)
            sayStatus(QStringLiteral("Порт закрыт"));
        say(QStringLiteral("Зорнета:  Внимание - неисправность ! Обнаружен обрыв в цепи Термопары. Запись в файл  "
                           "остановлена.  Коммуникационный порт закрыт"));
        end(ThermocoupleBreak);
    });
    PortReconnect &reconnect = m_core.reconnect();
    connect(&reconnect, &PortReconnect::lineLost, this, [this] {
        sayStatus(QStringLiteral("Порт потерян ... ожидание подключения  ") + timeOfDayText(m_core.clock().now()));
    });
    connect(&reconnect, &PortReconnect::lineRestored, this,
            [this] { sayStatus(QStringLiteral("Порт восстановлен  ") + timeOfDayText(m_core.clock().now())); });
    // A port that closed by itself and is not waited for ends the recording.
    connect(&port, &SerialPort::openChanged, this, [this](bool open) {
        if (!open && m_running && m_core.reconnect().receiving() && !m_core.reconnect().waiting())
            end(Failed);
    });
    connect(&m_core.record(), &RecordWriter::writeFailed, this, [this](const QString &description) {
        say(QStringLiteral("Зорнета: ") + description);
        end(Failed);
    });
    connect(&m_core.record(), &RecordWriter::fileRecreated, this,
            [this](const QString &path) { say(QStringLiteral("файл записи удалён и создан заново: ") + path); });
}

HeadlessRecorder::~HeadlessRecorder() {
    stop();
}

void HeadlessRecorder::say(const QString &text) {
    // Standard error may be gone too (a pipe whose reader ended): the
    // recording goes on regardless.
    if (!m_errorsGone && m_errors.write((QStringLiteral("zorneta: ") + text + u'\n').toUtf8()) < 0)
        m_errorsGone = true;
}

void HeadlessRecorder::sayStatus(const QString &text) {
    if (text == m_status)
        return;
    m_status = text;
    say(text);
}

void HeadlessRecorder::print(const QByteArray &line) {
    // What the terminal box would show, with the console's own line ends.
    QString shown = boxFormOf(decodeLineText(line), nullptr, &m_afterCr);
    shown.remove(u'\r');
    if (shown.isEmpty() || m_outGone)
        return;
    if (m_out.write(shown.toUtf8()) < 0) {
        // Whoever read standard output went away: the record is what
        // matters, so it goes on, and printing stops.
        m_outGone = true;
        say(QStringLiteral("стандартный вывод закрыт: показания больше не печатаются, запись в файл продолжается"));
    }
}

void HeadlessRecorder::showFault(const QString &text, const QDateTime &at) {
    sayStatus(text + QStringLiteral("  ") + timeOfDayText(at));
    // Reception goes on: the line error is answered with OK.
    say(QStringLiteral("Зорнета:   Ошибка коммуникационного Порта: ") + text +
        QStringLiteral(" ОК - Продолжение программы, Отмена - Прекрашение приема данных и закрытие порта"));
}

bool HeadlessRecorder::start(const Settings &settings, QString *error) {
    SerialPort &port = m_core.port();
    m_core.reconnect().setEnabled(settings.reconnect);
    if (!settings.portSettings.isEmpty()) {
        if (const Status st = port.setSettings(settings.portSettings); !st) {
            *error = st.description();
            return false;
        }
    }
    if (const Status st = port.setCommPort(settings.portNumber); !st) {
        *error = st.description();
        return false;
    }
    if (const Status st = m_core.openPort(); !st) {
        *error = st.description();
        return false;
    }
    const QString path = QFileInfo(settings.recordPath).absoluteFilePath();
    if (const Status st = m_core.record().open(path); !st) {
        m_core.closePort();
        *error = st.description();
        return false;
    }
    m_core.startTiming();
    sayStatus(QStringLiteral("Порт открыт"));
    m_running = true;
    return true;
}

void HeadlessRecorder::stop() {
    if (!m_running)
        return;
    m_running = false;
    m_core.closePort();
    m_core.record().close();
}

void HeadlessRecorder::reopenRecord() {
    if (!m_running)
        return;
    RecordWriter &record = m_core.record();
    if (const Status st = record.reopen(); !st)
        say(QStringLiteral("файл записи не открыт заново, запись продолжается в прежний: ") + st.description());
    else
        say(QStringLiteral("файл записи открыт заново: ") + record.path());
}

void HeadlessRecorder::end(int status) {
    if (!m_running)
        return;
    stop();
    Q_EMIT ended(status);
}

} // namespace zorneta
