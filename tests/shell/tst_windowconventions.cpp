// The program's windows as the window system gets them, on a 1280 × 900
// screen at a 150 % scale factor: each caption exactly the program's own
// text, every window and dialog within the available screen, the two
// buttons and the connect-time panel as large as their texts need, F1 for
// the help, the alarm temperature entry taking what it shows, and the main
// window's place kept between runs.

#include "common/ItemNames.h"
#include "platform/qt/QtSettingsStore.h"
#include "shell/TerminalLogic.h"
#include "shell/ui/Application.h"
#include "shell/ui/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <qpa/qplatformwindow.h>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// The title a window system plugin hands on (xcb: _NET_WM_NAME): Qt's own
// formatting of the window's title.
struct PlatformTitle : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

struct Seen {
    QString caption;
    QString shown;
    QRect frame;
    QRect area;
};

Seen look(QWidget *window) {
    return {window->windowTitle(), PlatformTitle::formatWindowTitle(window->windowHandle()->title(), u" — "_s),
            window->frameGeometry(), window->screen()->availableGeometry()};
}

QString stored(const QString &section, const QString &key) {
    return QtSettingsStore().getSetting(u"Зорнета"_s, section, key, u"(нет)"_s);
}

} // namespace

class tst_WindowConventions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void captionsAndPlaces_data();
    void captionsAndPlaces();
    void buttonsAndPanelFitTheirTexts();
    void f1RunsTheHelp();
    void alarmEntryTakesWhatItShows();
    void placeRoundTrips();
    void storedPlaceComesBackInside_data();
    void storedPlaceComesBackInside();

private:
    void start(StartOptions options = {});
    // Looks at each other window or dialog that shows up, then closes it.
    void watchDialogs();

    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
    MainWindow *m_window = nullptr;
    QList<Seen> m_seen;
    QTimer m_watcher;
};

void tst_WindowConventions::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    // An installation without its help file: the help command shows its boxes.
    qputenv("ZORNETA_INSTALL_DIR", QFile::encodeName(m_dir.path()));
    Application::nameProgram();
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 853, 600));
    m_watcher.setInterval(10);
    connect(&m_watcher, &QTimer::timeout, this, &tst_WindowConventions::watchDialogs);
}

void tst_WindowConventions::cleanup() {
    m_watcher.stop();
    m_seen.clear();
    m_app.reset();
    m_window = nullptr;
    QFile::remove(m_dir.filePath(u"Зорнета/Зорнета.conf"_s));
}

void tst_WindowConventions::start(StartOptions options) {
    m_app = std::make_unique<Application>(std::move(options));
    QString error;
    QVERIFY2(m_app->startMain(&error), qPrintable(error));
    m_window = m_app->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_WindowConventions::watchDialogs() {
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w == m_window || !w->isVisible() || (w->windowType() != Qt::Window && w->windowType() != Qt::Dialog))
            continue;
        m_seen.append(look(w));
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }
}

void tst_WindowConventions::captionsAndPlaces_data() {
    QTest::addColumn<QString>("command"); // a menu item; empty: the main window itself
    QTest::addColumn<QString>("caption");
    QTest::newRow("main window") << QString() << u"   Зорнета"_s;
    QTest::newRow("about") << menu::About << u"  О программе  Зорнета"_s;
    QTest::newRow("port settings") << menu::PortSettings << u"      Настройки"_s;
    QTest::newRow("graph settings") << menu::GraphSettings << u"          Настройки"_s;
    QTest::newRow("snapshot") << menu::TakeSnapshot << u"     Характер  снимка"_s;
    QTest::newRow("alarm temperature") << menu::AlarmTemperature << u"       Сигнализация"_s;
    QTest::newRow("message box") << menu::HelpContents << u"      Ошибка"_s;
}

void tst_WindowConventions::captionsAndPlaces() {
    QFETCH(QString, command);
    QFETCH(QString, caption);
    start();
    if (command.isEmpty()) {
        m_seen.append(look(m_window));
    } else {
        m_watcher.start();
        m_app->logic()->runMenuItem(command);
        QTRY_VERIFY(!m_seen.isEmpty());
    }
    const Seen &first = m_seen.constFirst();
    QCOMPARE(first.caption, caption);
    QCOMPARE(first.shown, caption);
    QVERIFY2(first.area.contains(first.frame), qPrintable(u"%1,%2 %3x%4"_s.arg(first.frame.x())
                                                              .arg(first.frame.y())
                                                              .arg(first.frame.width())
                                                              .arg(first.frame.height())));
}

void tst_WindowConventions::buttonsAndPanelFitTheirTexts() {
    StartOptions options;
    options.simulate = true;
    options.openPort = true;
    options.windowSize = QSize(720, 480);
    start(options);
    QTRY_COMPARE(m_window->size(), QSize(720, 480));
    for (const QString &name : {u"Command1"_s, u"cmdNew"_s}) {
        auto *button = m_window->findChild<QPushButton *>(name);
        QStyleOptionButton option;
        option.initFrom(button);
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        QVERIFY2(button->width() - margin - 2 * frame >= button->fontMetrics().horizontalAdvance(button->text()),
                 qPrintable(name));
        QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(name));
    }
    auto *panel = m_window->findChild<QLabel *>(panel::ConnectTime);
    QTRY_VERIFY(panel->text().startsWith(u"Время с начала приёма  "_s));
    QTRY_VERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(panel->text()),
                 qPrintable(QString::number(panel->width())));
    QVERIFY(m_window->frameGeometry().right() <= m_window->screen()->availableGeometry().right());
}

void tst_WindowConventions::f1RunsTheHelp() {
    start();
    QSignalSpy commands(m_window, &MainWindow::menuCommand);
    m_watcher.start();
    m_window->terminalWidget()->setFocus();
    QTest::keyClick(m_window->terminalWidget(), Qt::Key_F1);
    QCOMPARE(commands.size(), 1);
    QCOMPARE(commands.first().first().toString(), menu::HelpContents);
    QTRY_VERIFY(!m_seen.isEmpty());
    QCOMPARE(m_seen.constFirst().caption, u"      Ошибка"_s);
}

void tst_WindowConventions::alarmEntryTakesWhatItShows() {
    start();
    bool entered = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = m_window->findChild<QInputDialog *>(u"InputBox"_s);
        QVERIFY(box);
        auto *field = box->findChild<QLineEdit *>();
        // As a screen reader sets it: no key pressed.
        QAccessible::queryAccessibleInterface(field)->setText(QAccessible::Value, u"450"_s);
        entered = field->text() == u"450"_s;
        box->accept();
    });
    m_app->logic()->runMenuItem(menu::AlarmTemperature);
    QVERIFY(entered);
    QCOMPARE(m_window->sigText(), u"450  град"_s);
}

void tst_WindowConventions::placeRoundTrips() {
    start();
    const QRect place(40, 50, 600, 400);
    m_window->setGeometry(place);
    QTRY_COMPARE(m_window->geometry(), place);
    m_window->close();
    const QStringList keys{u"Left"_s, u"Top"_s, u"Width"_s, u"Height"_s};
    const QStringList values{u"40"_s, u"50"_s, u"600"_s, u"400"_s};
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(stored(u"Window"_s, keys[i]), values[i]);
        QCOMPARE(stored(u"Properties"_s, keys[i]), u"(нет)"_s);
    }
    m_app.reset();
    start();
    QCOMPARE(m_window->geometry(), place);
}

void tst_WindowConventions::storedPlaceComesBackInside_data() {
    QTest::addColumn<QRect>("place");
    QTest::newRow("beyond the lower right") << QRect(5000, 4000, 600, 400);
    QTest::newRow("beyond the upper left") << QRect(-3000, -2000, 600, 400);
    QTest::newRow("larger than the screen") << QRect(0, 0, 4000, 3000);
}

void tst_WindowConventions::storedPlaceComesBackInside() {
    QFETCH(QRect, place);
    QtSettingsStore store;
    const int values[] = {place.x(), place.y(), place.width(), place.height()};
    const QString keys[] = {u"Left"_s, u"Top"_s, u"Width"_s, u"Height"_s};
    for (int i = 0; i < 4; ++i)
        QVERIFY(store.saveSetting(u"Зорнета"_s, u"Window"_s, keys[i], QString::number(values[i])));
    start();
    const QRect area = m_window->screen()->availableGeometry();
    // The stored size is kept where the screen has room for it.
    if (place.width() < area.width() && place.height() < area.height())
        QCOMPARE(m_window->size(), place.size());
    QVERIFY2(area.contains(m_window->frameGeometry()), qPrintable(u"%1,%2 %3x%4"_s.arg(m_window->frameGeometry().x())
                                                                      .arg(m_window->frameGeometry().y())
                                                                      .arg(m_window->frameGeometry().width())
                                                                      .arg(m_window->frameGeometry().height())));
}

int main(int argc, char *argv[]) {
    // A 1280 × 900 screen at 150 %: 853 × 600 in the program's pixels.
    QTemporaryDir config;
    const QString file = config.filePath(u"screen.json"_s);
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly) ||
        json.write(R"({"screens": [{"name": "S", "x": 0, "y": 0, "width": 1280, "height": 900}]})") < 0)
        return 1;
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(file));
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    tst_WindowConventions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowconventions.moc"
