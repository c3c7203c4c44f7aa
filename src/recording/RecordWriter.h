#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zorneta {

// The recording file as reception writes it: each received line, stamped, is
// written straight through to the operating system, so that killing the
// program loses nothing already received.
//
// Writing never waits for the user. A write that fails keeps what it could not
// write, and what arrives after it, waiting in memory (bounded) and reports the
// failure once; retry() writes the waiting records, close() gives them up.
// A file removed while recording (a stray rm, a temp cleaner) is made again at
// its path at once, holding what was written before, read back through the
// descriptor still open.
class RecordWriter : public QObject {
    Q_OBJECT
public:
    // Records waiting after a failed write, at most (over a day of groups).
    static constexpr qsizetype MaxWaitingBytes = 16 * 1024 * 1024;

    RecordWriter() = default;
    ~RecordWriter() override;

    // Opens the file for appending, creating it when missing. Only a regular
    // file (or a character device such as /dev/null) is taken; a pipe, a
    // socket or a folder is refused without waiting for it. Text appended to a
    // file whose last line has no line end starts on a line of its own.
    Status open(const QString &path);
    // Ends an unfinished line, then closes the file.
    void close();
    // Opens the file again by its name, appending, and goes on there: after
    // the file was moved away (as logrotate does), what comes next goes to a
    // file at the path, made when missing; the moved file keeps what was
    // written before, its unfinished line ended. When the path cannot be
    // opened, writing goes on in the file already open and the failure is
    // returned.
    Status reopen();

    bool isOpen() const { return m_fd >= 0; }
    const QString &path() const { return m_path; }
    // Bytes this program wrote into the file since it was opened.
    qint64 bytesWritten() const { return m_written; }

    // Writes a received line as the record has it: a stamp and a TAB in front
    // of each line of it, an LF at the end of each, backspaces applied. A line
    // that has not ended goes on in the next one without a second stamp.
    void writeReceived(const QByteArray &line, const QString &stamp);
    // Ends the unfinished line, if any, so that what comes next starts on a
    // line of its own.
    void endLine();

    // A write failed and its records wait.
    bool failing() const { return m_failing; }
    // Tries the waiting records again.
    void retry();
    // Bytes given up because too much was waiting.
    qint64 droppedBytes() const { return m_dropped; }

Q_SIGNALS:
    // A write failed; nothing more is tried until retry().
    void writeFailed(const QString &description);
    // The file had been removed and was made again at its path.
    void fileRecreated(const QString &path);

private:
    void write(const QByteArray &bytes);
    // Writes the waiting bytes; false with *error when the file refuses.
    bool flushWaiting(QString *error);
    bool wasRemoved() const;
    bool recreate(QString *error);
    // Ends the file's last line when it has no line end.
    void startOwnLine();

    int m_fd = -1;
    QString m_path;
    qint64 m_written = 0;
    QByteArray m_waiting;
    bool m_failing = false;
    bool m_retrying = false;
    qint64 m_dropped = 0;
    bool m_afterCr = false;
    bool m_atLineStart = true;
};

} // namespace zorneta
