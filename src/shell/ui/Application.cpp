#include "shell/ui/Application.h"

#include "platform/qt/PortDirectory.h"
#include "platform/qt/QtChartSurface.h"
#include "platform/qt/QtPrompts.h"
#include "platform/qt/QtReportPrinter.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtSystem.h"
#include "shell/HelpCommands.h"
#include "shell/MonitorFeed.h"
#include "shell/TerminalLogic.h"
#include "platform/qt/FramePacer.h"
#include "shell/ui/HelpViewer.h"
#include "shell/ui/StartWindow.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowPlacement.h"
#include "review/ui/ReviewWindow.h"
#include "simulator/ThermoSimulator.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace zorneta {

struct Application::Parts {
    std::unique_ptr<StartWindow> splash;
    std::unique_ptr<sim::ThermoSimulator> simulator;
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<MainWindow> window;
    QtPrompts prompts;
    QtReportPrinter printer;
    QList<QPointer<ReviewWindow>> reviews;
    QtSettingsStore settings;
    SystemClock clock;
    QtBeeper beeper;
    QtInstallInfo install;
    HelpLauncher launcher;
    std::unique_ptr<TerminalLogic> logic;
    std::unique_ptr<MonitorFeed> monitor;
};

Application::Application(StartOptions options) : m_options(std::move(options)), m_parts(std::make_unique<Parts>()) {}

Application::~Application() {
    for (const QPointer<ReviewWindow> &review : m_parts->reviews)
        delete review.data();
    m_parts->monitor.reset();
    if (m_parts->logic)
        m_parts->logic->unload();
    m_parts->logic.reset();
    m_parts->window.reset();
    m_parts->port.reset();
    m_parts->simulator.reset();
}

void Application::nameProgram() {
    QApplication::setApplicationName(QStringLiteral("Зорнета"));
    QApplication::setOrganizationName(QStringLiteral("Зорнета"));
}

bool Application::parseArguments(const QStringList &arguments, StartOptions *options, QString *error) {
    const CommandLine line = CommandLine::parse(arguments);
    if (line.request != CommandLine::Request::Run) {
        *error = line.text;
        return false;
    }
    *options = line.options;
    return true;
}

int Application::printInstallation() {
    bool complete = false;
    const QString report = HelpCommands::installationReport(QtInstallInfo(), &complete);
    std::fputs(qPrintable(QDir::toNativeSeparators(report)), stdout);
    std::fflush(stdout);
    return complete ? 0 : 1;
}

ReviewWindow *Application::openReview(const QString &path) {
    auto *review = new ReviewWindow(m_parts->prompts, &m_parts->printer);
    m_parts->reviews.removeAll(nullptr);
    m_parts->reviews.append(review);
    // A file that is not a recording leaves its message in the window.
    (void)review->openFile(QFileInfo(path).absoluteFilePath());
    review->show();
    return review;
}

QList<ReviewWindow *> Application::reviewWindows() const {
    QList<ReviewWindow *> open;
    for (const QPointer<ReviewWindow> &review : m_parts->reviews) {
        if (review)
            open.append(review.data());
    }
    return open;
}

bool Application::start(QString *error) {
    if (!m_options.reviewPath.isEmpty()) {
        openReview(m_options.reviewPath);
        return true;
    }
    if (m_options.openPort || !m_options.recordPath.isEmpty() || m_options.demoSeconds > 0)
        return startMain(error);
    m_parts->splash = std::make_unique<StartWindow>();
    StartWindow *splash = m_parts->splash.get();
    connect(splash, &StartWindow::workChosen, this, [this, splash] {
        QString failure;
        if (!startMain(&failure)) {
            std::fprintf(stderr, "zorneta: %s\n", qPrintable(failure));
            QCoreApplication::exit(1);
        }
        // Hidden, not closed: closing a dialog counts as its "Выход".
        splash->hide();
    });
    connect(splash, &StartWindow::exitChosen, this, [splash] {
        splash->hide();
        QCoreApplication::quit();
    });
    splash->show();
    return true;
}

bool Application::startMain(QString *error) {
    Parts &p = *m_parts;
    if (p.window)
        return true;
    PortDirectory directory;
    if (m_options.simulate) {
        sim::SimOptions simOptions;
        simOptions.speedup = m_options.simulationSpeedup;
        p.simulator = std::make_unique<sim::ThermoSimulator>(simOptions);
        if (!p.simulator->start(error))
            return false;
        directory.bind(1, p.simulator->devicePath());
    }
    for (const QString &binding : m_options.comBindings) {
        int n = 0;
        QString path;
        if (!PortDirectory::parseBinding(binding, &n, &path, error) || !directory.bind(n, path, error))
            return false;
    }
    p.port = std::make_unique<QtSerialPort>(directory);
    p.window = std::make_unique<MainWindow>();
    // Readings may come faster than the screen refreshes: paint once a frame.
    new FramePacer(p.window.get());
    p.prompts.setParent(p.window.get());
    p.logic = std::make_unique<TerminalLogic>(Services{*p.port, p.window->chart(), p.prompts, p.settings, p.clock,
                                                       p.beeper, p.install, p.launcher, *p.window});
    TerminalLogic *logic = p.logic.get();
    MainWindow *window = p.window.get();
    connect(window, &MainWindow::menuCommand, logic, &TerminalLogic::runMenuItem);
    connect(window, &MainWindow::toolbarButton, logic, [logic](const QString &key) { logic->runToolbarKey(key); });
    connect(window, &MainWindow::connectionPictureClicked, logic, [logic] { logic->portControl().togglePort(); });
    connect(window, &MainWindow::clearClicked, logic, [logic] { logic->output().clearTerminal(); });
    connect(window, &MainWindow::refreshClicked, logic, [logic] { logic->chart().redrawChart(); });
    connect(window, &MainWindow::unloading, logic, &TerminalLogic::unload);
    // The chart's own mouse events reach the logic directly (ChartGestures).
    connect(window, &MainWindow::pointTextFocused, logic, [logic] { logic->gestures().pointTextFocused(); });
    connect(window, &MainWindow::pointTextDoubleClicked, logic,
            [logic] { logic->gestures().pointTextDoubleClicked(); });
    logic->onExit = [window] { window->close(); };
    logic->setReportPrinter(&p.printer);
    logic->onReviewRecording = [this](const QString &path) { openReview(path); };
    window->terminalKeyPress = [logic](const QString &text) { return logic->transmit().typeKeys(text); };
    logic->portControl().reconnect().setEnabled(m_options.reconnect);

    logic->load();
    if (m_options.serve) {
        p.monitor = std::make_unique<MonitorFeed>(logic->core(), m_options.serveConfig);
        if (!p.monitor->start(error))
            return false;
    }
    WindowPlacement::restore(*window, p.settings);
    connect(window, &MainWindow::unloading, this, [window, &settings = p.settings] {
        // A place that cannot be stored is not worth a message on the way out.
        (void)WindowPlacement::save(*window, settings);
    });
    if (m_options.windowSize.isValid())
        window->resize(m_options.windowSize);
    window->show();
    if (!m_options.recordPath.isEmpty()) {
        const QFileInfo file(m_options.recordPath);
        logic->recording().openAt(file.absoluteFilePath(), file.fileName());
    }
    if (m_options.openPort)
        logic->portControl().togglePort();
    if (m_options.demoSeconds > 0)
        runDemo();
    return true;
}

void Application::runDemo() {
    TerminalLogic *logic = m_parts->logic.get();
    // Readings every update so the picture shows a curve.
    logic->state().updatePeriod = 1;
    logic->portControl().togglePort();
    QTimer::singleShot(m_options.demoSeconds * 1000, this, [this] {
        MainWindow *window = m_parts->window.get();
        const QString path = QFileInfo(m_options.screenshotPath).absoluteFilePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        const bool saved = window->grab().save(path);
        std::fprintf(stdout, "%s %s\n", saved ? "Screenshot saved to" : "Could not save the screenshot to",
                     qPrintable(QDir::toNativeSeparators(path)));
        std::fflush(stdout);
        window->close();
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

StartWindow *Application::splash() const {
    return m_parts->splash.get();
}

MainWindow *Application::mainWindow() const {
    return m_parts->window.get();
}

TerminalLogic *Application::logic() const {
    return m_parts->logic.get();
}

} // namespace zorneta
