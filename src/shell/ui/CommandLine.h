#pragma once

#include "review/ReviewCommand.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include "web/ServeConfig.h"

namespace zorneta {

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
    // The main window's size in pixels (empty: its default size).
    QSize windowSize;
    // Wait for a lost device and reopen it.
    bool reconnect = true;
    // Record without a window: no display is needed.
    bool headless = false;
    // Line parameters for the headless recorder ("9600,n,8,1"); empty: the default.
    QString portSettings;
    // A recording shown in the review window (--review FILE) instead of the
    // live window.
    QString reviewPath;
    // A recording reviewed without a display (--export-csv, --report).
    ReviewRequest review;
    // The read-only web endpoint (--serve and the --serve-* options).
    bool serve = false;
    web::ServeConfig serveConfig;
};

// What the command line asks for.
struct CommandLine {
    enum class Request { Run, Help, Version, InstallInfo, Error };
    Request request = Request::Run;
    StartOptions options;
    // The help text, the version line or the error, for Help, Version and Error.
    QString text;

    // `describe`: build the help text (needs the application object, for
    // the program's name); without it a help request carries no text.
    static CommandLine parse(const QStringList &arguments, bool describe = true);

    // Whether the program runs without a display: help, version, where the
    // installation is, a mistake in the arguments, the headless recorder, or
    // a recording exported or reported.
    bool needsNoDisplay() const {
        return request != Request::Run || options.headless || options.review.mode != ReviewRequest::Mode::None;
    }

    // The version line of --version.
    static QString versionText();
};

} // namespace zorneta
