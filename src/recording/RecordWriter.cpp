#include "recording/RecordWriter.h"

#include "common/LineForms.h"
#include "common/SystemErrors.h"
#include "common/TextEncoding.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorneta {

namespace {

QString failureText(FileAction action, const QString &path, int code) {
    return fileFailureText(action, path, code);
}

int openForRecord(const QString &path, QString *error) {
    const QByteArray name = QFile::encodeName(path);
    // Not blocking: a pipe with no reader must not hang the start. Read and
    // write: a removed file is read back through this descriptor.
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = failureText(FileAction::Open, path, errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISCHR(info.st_mode))) {
        ::close(fd);
        *error = QStringLiteral("Не удалось открыть файл %1: это не обычный файл").arg(path);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Writes all of `bytes`; false with errno set when the file refuses.
bool writeAll(int fd, const char *data, qsizetype size, qsizetype *done) {
    *done = 0;
    while (*done < size) {
        const ssize_t n = ::write(fd, data + *done, size_t(size - *done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        *done += n;
    }
    return true;
}

} // namespace

RecordWriter::~RecordWriter() {
    close();
}

Status RecordWriter::open(const QString &path) {
    if (isOpen())
        return Status::failure(QStringLiteral("Файл записи уже открыт"));
    QString error;
    const int fd = openForRecord(path, &error);
    if (fd < 0)
        return Status::failure(error);
    m_fd = fd;
    m_path = path;
    m_written = 0;
    m_waiting.clear();
    m_failing = false;
    m_afterCr = false;
    m_atLineStart = true;
    startOwnLine();
    return Status::ok();
}

void RecordWriter::startOwnLine() {
    // What is appended starts on a line of its own.
    struct stat info {};
    char last = '\n';
    if (::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        ::pread(m_fd, &last, 1, info.st_size - 1) == 1 && last != '\n')
        write(QByteArray(1, '\n'));
}

Status RecordWriter::reopen() {
    if (!isOpen())
        return Status::ok();
    // A file removed meanwhile is made again first, so that what it held is
    // not lost with its descriptor.
    QString error;
    if (wasRemoved() && !recreate(&error))
        return Status::failure(error);
    endLine();
    const int fresh = openForRecord(m_path, &error);
    if (fresh < 0)
        return Status::failure(error);
    ::close(m_fd);
    m_fd = fresh;
    m_written = 0;
    startOwnLine();
    return Status::ok();
}

void RecordWriter::close() {
    if (!isOpen())
        return;
    endLine();
    ::close(m_fd);
    m_fd = -1;
    m_waiting.clear();
    m_failing = false;
}

void RecordWriter::writeReceived(const QByteArray &line, const QString &stamp) {
    if (!isOpen() || line.isEmpty())
        return;
    const QString box = boxFormOf(decodeLineText(line), nullptr, &m_afterCr);
    write(encodeFileText(recordFormOf(box, stamp, &m_atLineStart)));
}

void RecordWriter::endLine() {
    if (!isOpen() || m_atLineStart)
        return;
    m_atLineStart = true;
    m_afterCr = false;
    write(QByteArray(1, '\n'));
}

void RecordWriter::write(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    const qsizetype room = MaxWaitingBytes - m_waiting.size();
    if (bytes.size() > room) {
        m_dropped += bytes.size() - std::max<qsizetype>(room, 0);
        if (room > 0)
            m_waiting += bytes.left(room);
    } else {
        m_waiting += bytes;
    }
    if (m_failing)
        return; // waits for retry()
    QString error;
    if (!flushWaiting(&error)) {
        m_failing = true;
        Q_EMIT writeFailed(error);
    }
}

void RecordWriter::retry() {
    if (!isOpen())
        return;
    m_failing = false;
    QString error;
    m_retrying = true;
    const bool written = flushWaiting(&error);
    m_retrying = false;
    if (!written) {
        m_failing = true;
        Q_EMIT writeFailed(error);
    }
}

bool RecordWriter::wasRemoved() const {
    struct stat info {};
    return ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 0;
}

bool RecordWriter::recreate(QString *error) {
    QString openError;
    const int fresh = openForRecord(m_path, &openError);
    if (fresh < 0) {
        // Told first as the loss it is; on a retry, as what still fails.
        *error = m_retrying ? openError
                            : QStringLiteral("Не удалось записать в файл %1: файл или его папка удалены").arg(m_path);
        return false;
    }
    // What the removed file held goes into the new one first.
    struct stat info {};
    const off_t startSize = ::fstat(fresh, &info) == 0 ? info.st_size : 0;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(m_fd, chunk.data(), size_t(chunk.size()), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        qsizetype done = 0;
        if (!writeAll(fresh, chunk.constData(), n, &done)) {
            *error = failureText(FileAction::Write, m_path, errno);
            // Tried again from the start next time.
            [[maybe_unused]] const int cut = ::ftruncate(fresh, startSize);
            ::close(fresh);
            return false;
        }
        offset += n;
    }
    ::close(m_fd);
    m_fd = fresh;
    Q_EMIT fileRecreated(m_path);
    return true;
}

bool RecordWriter::flushWaiting(QString *error) {
    // Writing on into a removed file (or one in a removed folder) would lose
    // everything once the file is closed.
    if (wasRemoved() && !recreate(error))
        return false;
    qsizetype done = 0;
    const bool ok = writeAll(m_fd, m_waiting.constData(), m_waiting.size(), &done);
    m_written += done;
    m_waiting.remove(0, done);
    if (!ok)
        *error = failureText(FileAction::Write, m_path, errno);
    return ok;
}

} // namespace zorneta
