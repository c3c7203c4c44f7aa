#include "common/Formats.h"
#include "platform/qt/Translations.h"
#include "shell/ui/Application.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    zorneta::PinLocalTimeZone();
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
