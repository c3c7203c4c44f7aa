// The port settings window as a user meets it: real widgets offscreen, the
// real serial port with two pseudo-terminals as Com1 and Com2 (Com3 has no
// device), and a real settings file.

#include "acquisition/ui/PortSettingsWindow.h"
#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSettingsStore.h"
#include "shell/ui/Application.h"
#include "shell/ui/MainWindow.h"
#include "simulator/PtyPair.h"
#include "support/LogicRig.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

#include <functional>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QComboBox *box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

QString stored(const QString &key) {
    return QtSettingsStore().getSetting(u"Зорнета"_s, u"Properties"_s, key, u"(нет)"_s);
}

// The main window with its logic over the real port; the prompts, clock and
// the rest are doubles.
struct Program {
    PortDirectory directory;
    std::unique_ptr<QtSerialPort> port;
    MainWindow window;
    LogicRig doubles{LogicRig::DoublesOnly};
    QtSettingsStore settings;
    std::unique_ptr<TerminalLogic> logic;

    explicit Program(PortDirectory devices) : directory(std::move(devices)) {
        port = std::make_unique<QtSerialPort>(directory);
        logic =
            std::make_unique<TerminalLogic>(Services{*port, window.chart(), doubles.prompts, settings, doubles.clock,
                                                     doubles.beeper, doubles.install, doubles.launcher, window});
        logic->load();
        window.show();
    }

    // Opens the dialog through `command` and runs `user` while it is up; a
    // dialog still open afterwards is cancelled.
    void withDialog(const QString &command, const std::function<void(PortSettingsWindow &)> &user) {
        bool shown = false;
        QTimer::singleShot(0, &window, [&] {
            PortSettingsWindow *dialog = window.portPropertiesWindow();
            if (!dialog)
                return;
            shown = dialog->isVisible() && dialog->isModal();
            user(*dialog);
            if (dialog->isVisible())
                dialog->findChild<QPushButton *>(u"cmdCancel"_s)->click();
        });
        if (command.startsWith(u"mnu"_s))
            logic->runMenuItem(command);
        else
            logic->runToolbarKey(command);
        QVERIFY(shown);
    }
};

} // namespace

class tst_PropertiesWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void contents();
    void changedNumberWhileOpen();
    void numberWithoutDevice();
    void choicesSurviveARestart();
    void tooltipsFollowComBindings();
    void okTakesWhatTheWindowShows();

private:
    PortDirectory devices() const;
    void sendFromDevice(const sim::PtyPair &pty, const QByteArray &data);

    QTemporaryDir m_config;
    sim::PtyPair m_first;
    sim::PtyPair m_second;
};

void tst_PropertiesWindow::initTestCase() {
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QString error;
    QVERIFY2(m_first.open(&error), qPrintable(error));
    QVERIFY2(m_second.open(&error), qPrintable(error));
}

void tst_PropertiesWindow::init() {
    QFile::remove(m_config.filePath(u"Зорнета/Зорнета.conf"_s));
    QCOMPARE(stored(u"CommPort"_s), u"(нет)"_s);
}

PortDirectory tst_PropertiesWindow::devices() const {
    PortDirectory directory = PortDirectory::withCandidates({});
    directory.bind(1, m_first.devicePath());
    directory.bind(2, m_second.devicePath());
    return directory;
}

void tst_PropertiesWindow::sendFromDevice(const sim::PtyPair &pty, const QByteArray &data) {
    QCOMPARE(::write(pty.masterFd(), data.constData(), size_t(data.size())), ssize_t(data.size()));
}

void tst_PropertiesWindow::contents() {
    Program program(devices());
    program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
        QCOMPARE(w.windowTitle(), u"      Настройки"_s);
        auto *tab = w.findChild<QTabWidget *>(u"tabSettings"_s);
        QCOMPARE(tab->count(), 1);
        QCOMPARE(tab->tabText(0), u"Свойства  Порта"_s);
        QCOMPARE(tab->widget(0)->objectName(), u"fraSettings"_s);
        QCOMPARE(w.findChild<QGroupBox *>(u"fraSpeed"_s)->title(), u"Максимальная скорость"_s);
        QCOMPARE(w.findChild<QGroupBox *>(u"fraConnection"_s)->title(), u"Характеристики соединения"_s);
        QCOMPARE(w.findChild<QGroupBox *>(u"fraEcho"_s)->title(), u"&Эхо"_s);
        QCOMPARE(w.findChild<QGroupBox *>(u"fraFlow"_s)->title(), u"&Контроль данных"_s);
        QCOMPARE(w.findChild<QLabel *>(u"lblPort"_s)->text(), u"Порт:"_s);
        QCOMPARE(w.findChild<QLabel *>(u"lblDataBits"_s)->text(), u"Битов:"_s);
        QCOMPARE(w.findChild<QLabel *>(u"lblParity"_s)->text(), u"Чётность:"_s);
        QCOMPARE(w.findChild<QLabel *>(u"lblStopBits"_s)->text(), u"Стоп бит:"_s);
        auto *portPosition = w.findChild<QComboBox *>(u"cboPort"_s);
        QStringList ports;
        for (int n = 1; n <= 16; ++n)
            ports.append(u"Com"_s + QString::number(n));
        QCOMPARE(entries(portPosition), ports);
        QCOMPARE(portPosition->accessibleName(), u"Порт:"_s);
        QCOMPARE(entries(w.findChild<QComboBox *>(u"cboSpeed"_s)),
                 (QStringList{u"1200"_s, u"2400"_s, u"4800"_s, u"9600"_s, u"14400"_s, u"19200"_s}));
        QCOMPARE(entries(w.findChild<QComboBox *>(u"cboDataBits"_s)),
                 (QStringList{u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s}));
        QCOMPARE(entries(w.findChild<QComboBox *>(u"cboParity"_s)),
                 (QStringList{u"Even"_s, u"Odd"_s, u"None"_s, u"Mark"_s, u"Space"_s}));
        QCOMPARE(entries(w.findChild<QComboBox *>(u"cboStopBits"_s)), (QStringList{u"1"_s, u"1.5"_s, u"2"_s}));
        const QStringList echo{u"Выкл"_s, u"Вкл"_s};
        for (int i = 0; i < echo.size(); ++i)
            QCOMPARE(w.findChild<QRadioButton *>(u"optEcho_"_s + QString::number(i))->text(), echo.at(i));
        const QStringList flow{u"Нет"_s, u"Xon/Xoff"_s, u"RTS"_s, u"Xon/RTS"_s};
        for (int i = 0; i < flow.size(); ++i)
            QCOMPARE(w.findChild<QRadioButton *>(u"optFlow_"_s + QString::number(i))->text(), flow.at(i));
        QCOMPARE(w.findChild<QPushButton *>(u"cmdOK"_s)->text(), u"OK"_s);
        QCOMPARE(w.findChild<QPushButton *>(u"cmdCancel"_s)->text(), u"Отмена"_s);
        // Centred on the screen.
        const QRect screen = w.screen()->geometry();
        QVERIFY(qAbs(w.x() - (screen.width() - w.width()) / 2) <= 1);
        QVERIFY(qAbs(w.y() - (screen.height() - w.height()) / 2) <= 1);
        // Each number tells which device it is.
        QCOMPARE(portPosition->itemData(0, Qt::ToolTipRole).toString(), m_first.devicePath());
        QCOMPARE(portPosition->itemData(1, Qt::ToolTipRole).toString(), m_second.devicePath());
        QCOMPARE(portPosition->itemData(2, Qt::ToolTipRole).toString(), u"Нет устройства"_s);
        // Cancel after changes: nothing applied or stored.
        portPosition->setCurrentIndex(1);
        w.findChild<QRadioButton *>(u"optEcho_1"_s)->click();
        w.findChild<QPushButton *>(u"cmdCancel"_s)->click();
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(program.port->commPort(), 1);
    QVERIFY(!program.logic->state().echo);
    QCOMPARE(stored(u"CommPort"_s), u"(нет)"_s);
}

void tst_PropertiesWindow::changedNumberWhileOpen() {
    Program program(devices());
    program.logic->portControl().togglePort();
    QVERIFY(program.port->portOpen());
    program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
        w.findChild<QComboBox *>(u"cboPort"_s)->setCurrentIndex(1);
        w.findChild<QPushButton *>(u"cmdOK"_s)->click();
        QVERIFY(!w.isVisible());
    });
    QVERIFY(program.port->portOpen());
    QCOMPARE(program.port->commPort(), 2);
    QCOMPARE(program.port->deviceName(), m_second.devicePath());
    QVERIFY(program.window.item(menu::OpenPort)->isChecked());
    // Readings now come from the second device.
    sendFromDevice(m_second, "0850\r\n0851\r\n");
    QTRY_COMPARE(program.logic->state().pointCount, qint64(2));
    QCOMPARE(stored(u"CommPort"_s), u"2"_s);
    QCOMPARE(stored(u"Settings"_s), u"9600,n,8,1"_s);
    QCOMPARE(stored(u"Handshaking"_s), u"0"_s);
    QCOMPARE(stored(u"Echo"_s), u"False"_s);
    QCOMPARE(program.doubles.prompts.shown.size(), 0);
}

void tst_PropertiesWindow::numberWithoutDevice() {
    Program program(devices());
    program.logic->portControl().togglePort();
    program.doubles.prompts.messageAnswers.push_back(Prompts::Answer::Ok);
    program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
        w.findChild<QComboBox *>(u"cboPort"_s)->setCurrentIndex(2);
        w.findChild<QPushButton *>(u"cmdOK"_s)->click();
        // The dialog stays open with the choice, for the user to correct.
        QVERIFY(w.isVisible());
        QCOMPARE(w.findChild<QComboBox *>(u"cboPort"_s)->currentText(), u"Com3"_s);
    });
    QCOMPARE(program.doubles.prompts.shown.size(), 1);
    const ScriptedPrompts::Shown &box = program.doubles.prompts.shown.front();
    QCOMPARE(box.title, u"Зорнета"_s);
    QCOMPARE(box.text, u"Порт не найден: Com3"_s);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(program.port->commPort(), 1);
    // Closed for the renumbering, and shown closed.
    QVERIFY(!program.port->portOpen());
    QVERIFY(!program.window.item(menu::OpenPort)->isChecked());
    QVERIFY(!program.window.connectedShown());
    QCOMPARE(program.window.panelText(panel::Status), u"Порт закрыт"_s);
    QCOMPARE(stored(u"CommPort"_s), u"(нет)"_s);
    QCOMPARE(stored(u"Echo"_s), u"(нет)"_s);
}

void tst_PropertiesWindow::choicesSurviveARestart() {
    {
        Program program(devices());
        program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
            w.findChild<QComboBox *>(u"cboPort"_s)->setCurrentIndex(1);
            w.findChild<QComboBox *>(u"cboSpeed"_s)->setCurrentIndex(5);
            w.findChild<QRadioButton *>(u"optFlow_1"_s)->click();
            w.findChild<QRadioButton *>(u"optEcho_1"_s)->click();
            w.findChild<QPushButton *>(u"cmdOK"_s)->click();
            QVERIFY(!w.isVisible());
        });
        QCOMPARE(stored(u"Handshaking"_s), u"1"_s);
        QCOMPARE(stored(u"Echo"_s), u"True"_s);
        QVERIFY(program.logic->state().echo);
        // The next opening shows the choices.
        program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
            QVERIFY(w.findChild<QRadioButton *>(u"optFlow_1"_s)->isChecked());
            QVERIFY(w.findChild<QRadioButton *>(u"optEcho_1"_s)->isChecked());
        });
    }
    Program restarted(devices());
    QCOMPARE(restarted.port->commPort(), 2);
    QCOMPARE(restarted.port->settings(), u"19200,n,8,1"_s);
    QCOMPARE(restarted.port->handshaking(), 1);
    QVERIFY(!restarted.logic->state().echo);
    restarted.withDialog(toolbar::Properties, [&](PortSettingsWindow &w) {
        QCOMPARE(w.findChild<QComboBox *>(u"cboPort"_s)->currentText(), u"Com2"_s);
        QCOMPARE(w.findChild<QComboBox *>(u"cboSpeed"_s)->currentText(), u"19200"_s);
        QVERIFY(w.findChild<QRadioButton *>(u"optFlow_1"_s)->isChecked());
        QVERIFY(w.findChild<QRadioButton *>(u"optEcho_0"_s)->isChecked());
    });
}

void tst_PropertiesWindow::okTakesWhatTheWindowShows() {
    Program program(devices());
    program.withDialog(menu::PortSettings, [&](PortSettingsWindow &w) {
        // Checked by a program or a screen reader, not clicked.
        w.findChild<QRadioButton *>(u"optFlow_2"_s)->setChecked(true);
        w.findChild<QRadioButton *>(u"optEcho_1"_s)->setChecked(true);
        w.findChild<QPushButton *>(u"cmdOK"_s)->click();
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(program.port->handshaking(), 2);
    QVERIFY(program.logic->state().echo);
    QCOMPARE(stored(u"Handshaking"_s), u"2"_s);
}

void tst_PropertiesWindow::tooltipsFollowComBindings() {
    StartOptions options;
    options.comBindings = {u"4="_s + m_second.devicePath()};
    Application app(options);
    QString error;
    QVERIFY2(app.startMain(&error), qPrintable(error));
    bool seen = false;
    QTimer::singleShot(0, app.mainWindow(), [&] {
        PortSettingsWindow *w = app.mainWindow()->portPropertiesWindow();
        QVERIFY(w);
        seen = true;
        auto *portPosition = w->findChild<QComboBox *>(u"cboPort"_s);
        QCOMPARE(portPosition->itemData(3, Qt::ToolTipRole).toString(), m_second.devicePath());
        w->findChild<QPushButton *>(u"cmdCancel"_s)->click();
    });
    app.mainWindow()->item(menu::PortSettings)->trigger();
    QVERIFY(seen);
}

QTEST_MAIN(tst_PropertiesWindow)
#include "tst_propertieswindow.moc"
