// The system's English error texts reworded in Russian, on real failures of
// real files where the system can be made to fail.

#include "common/SystemErrors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_SystemErrors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errnoReasons_data();
    void errnoReasons();
    void systemTexts_data();
    void systemTexts();
    void realFileFailures();
    void failureTexts();
};

void tst_SystemErrors::errnoReasons_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("ENOSPC") << ENOSPC << u"на диске нет места"_s;
    QTest::newRow("EACCES") << EACCES << u"нет доступа"_s;
    QTest::newRow("EPERM") << EPERM << u"операция не разрешена"_s;
    QTest::newRow("ENOENT") << ENOENT << u"нет такого файла или папки"_s;
    QTest::newRow("EISDIR") << EISDIR << u"это папка, а не файл"_s;
    QTest::newRow("EROFS") << EROFS << u"диск доступен только для чтения"_s;
    QTest::newRow("EFBIG") << EFBIG << u"файл слишком велик"_s;
    QTest::newRow("unknown number") << 4242 << u"системная ошибка № 4242"_s;
}

void tst_SystemErrors::errnoReasons() {
    QFETCH(int, code);
    QFETCH(QString, reason);
    QCOMPARE(errnoReason(code), reason);
}

void tst_SystemErrors::systemTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    // This system's own strerror texts, whatever its language.
    QTest::newRow("strerror ENOSPC") << qt_error_string(ENOSPC) << u"на диске нет места"_s;
    QTest::newRow("strerror EISDIR") << qt_error_string(EISDIR) << u"это папка, а не файл"_s;
    QTest::newRow("Qt's own directory text") << u"file to open is a directory"_s << u"это папка, а не файл"_s;
    QTest::newRow("Russian kept") << u"порт занят"_s << u"порт занят"_s;
    QTest::newRow("empty") << QString() << u"неизвестная ошибка системы"_s;
    QTest::newRow("Unknown error") << u"Unknown error"_s << u"неизвестная ошибка системы"_s;
    QTest::newRow("other English") << u"Something odd happened"_s << u"неизвестная ошибка системы"_s;
}

void tst_SystemErrors::systemTexts() {
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QCOMPARE(systemErrorReason(text), reason);
}

void tst_SystemErrors::realFileFailures() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile folder(dir.path());
    QVERIFY(!folder.open(QIODevice::WriteOnly | QIODevice::Append));
    QCOMPARE(systemErrorReason(folder.errorString()), u"это папка, а не файл"_s);
    QFile missing(dir.filePath(u"no/such.txt"_s));
    QVERIFY(!missing.open(QIODevice::WriteOnly | QIODevice::Append));
    QCOMPARE(systemErrorReason(missing.errorString()), u"нет такого файла или папки"_s);
    if (QFile::exists(u"/dev/full"_s)) {
        QFile full(u"/dev/full"_s);
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(full.write("x"), qint64(-1));
        QCOMPARE(systemErrorReason(full.errorString()), u"на диске нет места"_s);
    }
}

void tst_SystemErrors::failureTexts() {
    const QString path = u"/данные/журнал.txt"_s;
    const QString noSpace = qt_error_string(ENOSPC);
    QCOMPARE(fileFailureText(FileAction::Open, path, noSpace),
             u"Не удалось открыть файл /данные/журнал.txt: на диске нет места"_s);
    QCOMPARE(fileFailureText(FileAction::Remove, path, noSpace),
             u"Не удалось удалить файл /данные/журнал.txt: на диске нет места"_s);
    QCOMPARE(fileFailureText(FileAction::Write, path, noSpace),
             u"Не удалось записать в файл /данные/журнал.txt: на диске нет места"_s);
    QCOMPARE(fileFailureText(FileAction::Read, path, noSpace),
             u"Не удалось прочитать файл /данные/журнал.txt: на диске нет места"_s);
}

QTEST_GUILESS_MAIN(tst_SystemErrors)
#include "tst_systemerrors.moc"
