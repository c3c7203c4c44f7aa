#pragma once

#include "shell/ui/CommandLine.h"

#include <QObject>
#include <QString>
#include <QList>
#include <QStringList>

#include <memory>

namespace zorneta {

class MainWindow;
class TerminalLogic;

// Builds the platform parts, the main window and its logic, and runs them.
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(StartOptions options);
    ~Application() override;

    // Names the program for its settings. No display name is set: the
    // window system would append it to every window's caption.
    static void nameProgram();
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

    // Opens a review window on a recording, beside whatever else is open.
    class ReviewWindow *openReview(const QString &path);
    // The review windows open now.
    QList<class ReviewWindow *> reviewWindows() const;

    class StartWindow *splash() const;
    MainWindow *mainWindow() const;
    TerminalLogic *logic() const;

private:
    struct Parts;
    void runDemo();

    StartOptions m_options;
    std::unique_ptr<Parts> m_parts;
};

} // namespace zorneta
