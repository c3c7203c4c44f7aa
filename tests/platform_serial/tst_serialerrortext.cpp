// The serial port's refusals worded in Russian, on a real QSerialPort: a
// missing device, a file that is no terminal, a pseudo-terminal opened twice.

#include "platform/qt/SerialErrorText.h"
#include "simulator/PtyPair.h"

#include <QSerialPort>
#include <QTemporaryFile>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_SerialErrorText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingDevice();
    void notATerminal();
    void openedTwice();
};

void tst_SerialErrorText::missingDevice() {
    QSerialPort port(u"/dev/zorneta-no-such-tty"_s);
    QVERIFY(!port.open(QIODevice::ReadWrite));
    QCOMPARE(serialErrorReason(port), u"нет такого файла или папки"_s);
}

void tst_SerialErrorText::notATerminal() {
    QTemporaryFile file;
    QVERIFY(file.open());
    QSerialPort port(file.fileName());
    QVERIFY(!port.open(QIODevice::ReadWrite));
    QCOMPARE(serialErrorReason(port), u"устройство не поддерживает это действие"_s);
}

void tst_SerialErrorText::openedTwice() {
    sim::PtyPair pty;
    QString error;
    QVERIFY2(pty.open(&error), qPrintable(error));
    QSerialPort port(pty.devicePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QVERIFY(!port.open(QIODevice::ReadWrite));
    // Qt's own English text, untranslated here, told by its error code.
    QCOMPARE(port.errorString(), u"Device is already open"_s);
    QCOMPARE(serialErrorReason(port), u"порт уже открыт"_s);
}

QTEST_GUILESS_MAIN(tst_SerialErrorText)
#include "tst_serialerrortext.moc"
