#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace zorneta {

class frmTerminal;
class TerminalLogic;

// Options of the program's command line.
struct StartOptions {
    // Run the built-in simulated thermoregulator and bind Com1 to it.
    bool simulate = false;
    // The simulated heating program runs this many times faster.
    double simulationSpeedup = 1.0;
    // Port bindings "N=PATH".
    QStringList comBindings;
    // Open the port once the main window is up.
    bool openPort = false;
    // Record into this file from the start (appending to what it holds).
    QString recordPath;
    // Demonstration: open the port at once, let readings arrive for this many
    // seconds, save a picture of the main window and quit (0: off).
    int demoSeconds = 0;
    QString screenshotPath;
};

// Builds the platform parts, the main window and its logic, and runs them.
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(StartOptions options);
    ~Application() override;

    // Parses the command line; false with *error for bad options.
    static bool parseArguments(const QStringList &arguments, StartOptions *options, QString *error);
    // Writes where the installation and its files are to the standard
    // output; the exit code: 0 when the help and the price list were found.
    static int printInstallation();

    // Shows the start window; its "Работа" goes on to the main window, its
    // "Выход" ends the program. An unattended start (the port opened, a
    // recording or a demonstration asked for on the command line) goes
    // straight to the main window. False with *error when something the
    // program cannot run without is missing.
    bool start(QString *error);
    // Prepares everything and shows the main window.
    bool startMain(QString *error);

    class frmSplash *splash() const;
    frmTerminal *mainWindow() const;
    TerminalLogic *logic() const;

private:
    struct Parts;
    void runDemo();

    StartOptions m_options;
    std::unique_ptr<Parts> m_parts;
};

} // namespace zorneta
