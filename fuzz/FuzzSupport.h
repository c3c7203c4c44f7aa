#pragma once

// What the fuzz targets share: the application object, a scratch folder,
// invariant checks that stop the run, and the record's expected form.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace zorneta::fuzzing {

// The application object timers and the settings store need; made once.
inline void startApplication(int *argc, char ***argv) {
    static QCoreApplication application(*argc, *argv);
}

// A folder for the files of the whole run, removed at exit; in memory where
// the system offers it, as the settings store syncs every write to the disk.
inline const QTemporaryDir &scratch() {
    static const QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                          ? QStringLiteral("/dev/shm/zorneta-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/zorneta-fuzz-XXXXXX"));
    return folder;
}

[[noreturn]] inline void broken(const char *condition, const QString &detail) {
    std::fprintf(stderr, "==broken invariant== %s\n%s\n", condition, qUtf8Printable(detail));
    std::abort();
}

// A broken invariant is a finding: the run stops like on a crash.
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::zorneta::fuzzing::broken(#condition, detail);                                                            \
    } while (0)

// The bytes of a received block with its backspaces applied: each erases the
// character before it; one with nothing before it in the block erases nothing
// of the block.
inline QByteArray withBackspacesApplied(const QByteArray &block) {
    QByteArray out;
    for (const char c : block) {
        if (c == '\b') {
            if (!out.isEmpty())
                out.chop(1);
        } else {
            out.append(c);
        }
    }
    return out;
}

// What a received block leaves in the recording file besides stamps and line
// ends: its characters after the backspaces, CR and LF left out. The file is
// Windows-1251 like the line, so every byte stays as it is.
inline QByteArray recordedBody(const QByteArray &block) {
    QByteArray out;
    for (const char c : withBackspacesApplied(block)) {
        if (c == '\r' || c == '\n')
            continue;
        out.append(c);
    }
    return out;
}

// The recording file without its stamps and line ends. Every line must begin
// with an "hh:mm:ss" stamp and a TAB; *wellFormed tells whether all do.
inline QByteArray fileBody(const QByteArray &file, bool *wellFormed) {
    *wellFormed = true;
    QByteArray body;
    const QList<QByteArray> lines = file.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.isEmpty() && i == lines.size() - 1)
            break; // after the last line end
        bool stamped = line.size() >= 9 && line[2] == ':' && line[5] == ':' && line[8] == '\t';
        for (const int digit : {0, 1, 3, 4, 6, 7})
            stamped = stamped && line[digit] >= '0' && line[digit] <= '9';
        if (!stamped) {
            *wellFormed = false;
            return body;
        }
        body += line.mid(9);
    }
    return body;
}

} // namespace zorneta::fuzzing
