#include "common/Formats.h"
#include "platform/qt/Translations.h"
#include "shell/ui/Application.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[]) {
    zorneta::PinLocalTimeZone();
    // Where the installation and its files are: answered without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--install-info") == 0) {
            QCoreApplication core(argc, argv);
            return zorneta::Application::printInstallation();
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Зорнета"));
    QApplication::setOrganizationName(QStringLiteral("Зорнета"));
    QApplication::setApplicationDisplayName(QStringLiteral("Зорнета"));
    zorneta::InstallRussianTranslation(app);

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
