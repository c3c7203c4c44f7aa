// Typing into the terminal box of the real main window, with the program's
// port on a pseudo-terminal: what reaches the device, and what the box shows.

#include "platform/SerialPort.h"
#include "shell/TerminalLogic.h"
#include "shell/ui/Application.h"
#include "shell/ui/MainWindow.h"
#include "simulator/PtyPair.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// What the program sent, as the device reads it.
QByteArray readAtDevice(int masterFd) {
    QByteArray all;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return all;
}

// A key press carrying `text` that no keyboard key of the test's own stands for.
void typeText(QWidget *widget, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

class tst_TerminalTransmit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void typedKeys_data();
    void typedKeys();
    void codePage();

private:
    // The program as started with "--com 1=<pty>", its port opened or not.
    void start(bool open);

    QTemporaryDir m_dir;
    std::unique_ptr<sim::PtyPair> m_pty;
    std::unique_ptr<Application> m_app;
    QPlainTextEdit *m_terminalEdit = nullptr;
};

void tst_TerminalTransmit::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

void tst_TerminalTransmit::init() {
    m_pty = std::make_unique<sim::PtyPair>();
    QString error;
    QVERIFY2(m_pty->open(&error), qPrintable(error));
}

void tst_TerminalTransmit::cleanup() {
    m_app.reset();
    m_pty.reset();
}

void tst_TerminalTransmit::start(bool open) {
    StartOptions options;
    options.comBindings = {u"1="_s + m_pty->devicePath()};
    m_app = std::make_unique<Application>(options);
    QString error;
    QVERIFY2(m_app->startMain(&error), qPrintable(error));
    m_terminalEdit = m_app->mainWindow()->terminalWidget();
    if (open)
        m_app->logic()->portControl().togglePort();
    QCOMPARE(m_app->logic()->services().port.portOpen(), open);
    // Something already received, the caret at its start.
    TextBox &box = m_app->mainWindow()->terminalBox();
    box.setText(u"0850\r\n"_s);
    box.setSelStart(0);
}

void tst_TerminalTransmit::typedKeys_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("shown");
    // Echo off: the box keeps showing only what came from the line.
    QTest::newRow("echo off") << true << false << QByteArray("A\r\b") << u"0850\r\n"_s;
    QTest::newRow("echo on") << true << true << QByteArray("A\r\b") << u"A0850\r\n"_s;
    QTest::newRow("port closed") << false << true << QByteArray() << u"A0850\r\n"_s;
}

void tst_TerminalTransmit::typedKeys() {
    QFETCH(bool, open);
    QFETCH(bool, echo);
    QFETCH(QByteArray, sent);
    QFETCH(QString, shown);
    start(open);
    m_app->logic()->state().echo = echo;
    const int master = m_pty->masterFd();

    QTest::keyClick(m_terminalEdit, 'A');
    QTest::keyClick(m_terminalEdit, Qt::Key_Return);
    QTest::keyClick(m_terminalEdit, Qt::Key_Backspace);
    // Keys without a character are no typing.
    QTest::keyClick(m_terminalEdit, Qt::Key_F5);
    QTest::keyClick(m_terminalEdit, Qt::Key_Down);

    QByteArray received;
    QTRY_COMPARE(received += readAtDevice(master), sent);
    QCOMPARE(readAtDevice(master), QByteArray());
    TextBox &box = m_app->mainWindow()->terminalBox();
    QCOMPARE(box.text(), shown);
    if (open && !echo) {
        // The caret went to the end.
        QCOMPARE(box.selStart(), box.text().size());
        QCOMPARE(m_terminalEdit->textCursor().position(), m_terminalEdit->toPlainText().size());
    }
}

void tst_TerminalTransmit::codePage() {
    start(true);
    m_app->logic()->state().echo = true;
    TextBox &box = m_app->mainWindow()->terminalBox();
    box.setSelStart(box.text().size());
    const int master = m_pty->masterFd();
    // A Cyrillic letter is its one byte of Windows-1251.
    typeText(m_terminalEdit, u"Ж"_s);
    QByteArray received;
    QTRY_COMPARE(received += readAtDevice(master), QByteArray("\xC6"));
    QCOMPARE(box.text(), u"0850\r\nЖ"_s);
    // Characters the code page lacks are neither sent nor shown.
    typeText(m_terminalEdit, u"中"_s);
    typeText(m_terminalEdit, u"😀"_s);
    QCOMPARE(readAtDevice(master), QByteArray());
    QCOMPARE(box.text(), u"0850\r\nЖ"_s);
    // Text an input method composes is typed too, one byte per character.
    m_app->logic()->state().echo = false;
    QInputMethodEvent composed;
    composed.setCommitString(u"Дa"_s);
    QCoreApplication::sendEvent(m_terminalEdit, &composed);
    received.clear();
    QTRY_COMPARE(received += readAtDevice(master), QByteArray("\xC4"
                                                              "a"));
    QCOMPARE(box.text(), u"0850\r\nЖ"_s);
}

QTEST_MAIN(tst_TerminalTransmit)
#include "tst_terminaltransmit.moc"
