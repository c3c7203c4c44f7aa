#include "common/Formats.h"
#include "platform/qt/Translations.h"
#include "shell/ui/Application.h"
#include "shell/ui/CommandLine.h"
#include "shell/ui/ConsoleMain.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    zorneta::pinLocalTimeZone();
    // The application class is chosen before one exists: help, version,
    // argument errors and the headless recorder need no display at all.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (zorneta::CommandLine::parse(arguments, false).needsNoDisplay())
        return zorneta::runWithoutDisplay(argc, argv);
    // Qt would abort with its own message when it cannot reach a display.
    if (!zorneta::displayReachable()) {
        std::fprintf(stderr, "%s\n", zorneta::NoDisplayText);
        return zorneta::NoDisplayStatus;
    }

    QApplication app(argc, argv);
    zorneta::Application::nameProgram();
    zorneta::installRussianTranslation(app);

    zorneta::StartOptions options;
    QString error;
    if (!zorneta::Application::parseArguments(QApplication::arguments(), &options, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    zorneta::Application zorneta(options);
    if (!zorneta.start(&error)) {
        std::fprintf(stderr, "zorneta: %s\n", qPrintable(error));
        return 1;
    }
    return QApplication::exec();
}
