#include "shell/ui/CommandLine.h"

#include "Version.h"
#include "platform/qt/PortDirectory.h"
#include "platform/qt/QtSerialPort.h"

#include <QCommandLineParser>

#include <cmath>

namespace zorneta {

QString CommandLine::versionText() {
    return QStringLiteral("Зорнета %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

CommandLine CommandLine::parse(const QStringList &arguments, bool describe) {
    CommandLine result;
    auto refuse = [&result](const QString &text) {
        result.request = Request::Error;
        result.text = text;
        return result;
    };
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Зорнета: терминал контроля программируемых терморегуляторов серии МЛ"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку и выйти."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать версию программы и выйти."));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Подключить к Com1 встроенный имитатор терморегулятора."));
    const QCommandLineOption speedup(QStringLiteral("sim-speedup"),
                                     QStringLiteral("Ускорить программу нагрева имитатора в X раз."),
                                     QStringLiteral("X"), QStringLiteral("1"));
    const QCommandLineOption com(QStringLiteral("com"),
                                 QStringLiteral("Связать порт с номером N с устройством (например 1=/dev/ttyUSB0)."),
                                 QStringLiteral("N=УСТРОЙСТВО"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Открыть порт, принимать заданное число секунд, сохранить снимок окна и "
                       "выйти."),
        QStringLiteral("СЕКУНДЫ"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Куда сохранить снимок окна при показе (--demo)."),
                                        QStringLiteral("ФАЙЛ"), QStringLiteral("out/zorneta.png"));
    const QCommandLineOption openPort(QStringLiteral("open-port"),
                                      QStringLiteral("Открыть порт сразу после появления главного окна."));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Записывать всё принятое в файл (дописывая в конец)."),
                                    QStringLiteral("ФАЙЛ"));
    const QCommandLineOption noReconnect(
        QStringLiteral("no-reconnect"),
        QStringLiteral("Не ждать возвращения потерянного порта (по умолчанию порт открывается снова)."));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Запись без окна и без экрана: нужны --com и --record; принятое выводится на стандартный "
                       "вывод, сообщения - на стандартный вывод ошибок; SIGINT и SIGTERM завершают запись."));
    const QCommandLineOption portSettings(QStringLiteral("port-settings"),
                                          QStringLiteral("Параметры линии для --headless: скорость,чётность,биты "
                                                         "данных,стоповые биты."),
                                          QStringLiteral("ПАРАМЕТРЫ"), QStringLiteral("9600,n,8,1"));
    const QCommandLineOption windowSize(QStringLiteral("window-size"),
                                        QStringLiteral("Размер главного окна в точках экрана."),
                                        QStringLiteral("ШИРИНАxВЫСОТА"));
    const QCommandLineOption installInfo(
        QStringLiteral("install-info"),
        QStringLiteral("Показать, где находятся установка программы, её справка и лист цен, и выйти."));
    const QCommandLineOption serve(
        QStringLiteral("serve"),
        QStringLiteral("Показывать приём по сети только для чтения: страница, /metrics для Prometheus, /api; "
                       "адрес по умолчанию 127.0.0.1."),
        QStringLiteral("[АДРЕС:]ПОРТ"));
    const QCommandLineOption serveLabel(
        QStringLiteral("serve-label"),
        QStringLiteral("Метка, добавляемая ко всем рядам /metrics (например furnace=3)."),
        QStringLiteral("ИМЯ=ЗНАЧЕНИЕ"));
    const QCommandLineOption serveTokenFile(
        QStringLiteral("serve-token-file"),
        QStringLiteral("Файл с ключом доступа к --serve (обязателен для адреса, отличного от 127.0.0.1)."),
        QStringLiteral("ФАЙЛ"));
    const QCommandLineOption serveCert(QStringLiteral("serve-cert"),
                                       QStringLiteral("Сертификат TLS для --serve (PEM); нужен и --serve-key."),
                                       QStringLiteral("ФАЙЛ"));
    const QCommandLineOption serveKey(QStringLiteral("serve-key"),
                                      QStringLiteral("Закрытый ключ TLS для --serve (PEM, без пароля)."),
                                      QStringLiteral("ФАЙЛ"));
    const QCommandLineOption reviewWindow(
        QStringLiteral("review"), QStringLiteral("Открыть запись для просмотра: кривая, сеансы, экспорт и отчёт."),
        QStringLiteral("ФАЙЛ"));
    const ReviewArguments review;
    parser.addOptions({help,  version,    simulate,       speedup,   com,          openPort,    record,
                       demo,  screenshot, noReconnect,    headless,  portSettings, windowSize,  installInfo,
                       serve, serveLabel, serveTokenFile, serveCert, serveKey,     reviewWindow});
    parser.addOptions(review.options());
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        result.request = Request::Help;
        if (describe)
            result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.request = Request::Version;
        result.text = versionText();
        return result;
    }
    if (parser.isSet(installInfo)) {
        result.request = Request::InstallInfo;
        return result;
    }
    if (review.given(parser)) {
        QString error;
        if (!review.read(parser, &result.options.review, &error))
            return refuse(error);
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("Лишние аргументы: ") + parser.positionalArguments().join(u' '));

    StartOptions &options = result.options;
    options.reviewPath = parser.value(reviewWindow);
    if (parser.isSet(reviewWindow) && options.reviewPath.isEmpty())
        return refuse(QStringLiteral("--review: укажите файл записи"));
    options.simulate = parser.isSet(simulate);
    bool ok = false;
    options.simulationSpeedup = parser.value(speedup).toDouble(&ok);
    if (!ok || !std::isfinite(options.simulationSpeedup) || options.simulationSpeedup <= 0)
        return refuse(QStringLiteral("--sim-speedup: нужно положительное число"));
    options.openPort = parser.isSet(openPort);
    options.recordPath = parser.value(record);
    options.comBindings = parser.values(com);
    for (const QString &binding : options.comBindings) {
        int n = 0;
        QString path;
        QString error;
        if (!PortDirectory::parseBinding(binding, &n, &path, &error))
            return refuse(error);
    }
    if (parser.isSet(demo)) {
        options.demoSeconds = parser.value(demo).toInt(&ok);
        if (!ok || options.demoSeconds <= 0)
            return refuse(QStringLiteral("--demo: нужно число секунд"));
    }
    options.screenshotPath = parser.value(screenshot);
    if (parser.isSet(windowSize)) {
        const QStringList parts = parser.value(windowSize).split(u'x');
        bool okWidth = false, okHeight = false;
        const int width = parts.size() == 2 ? parts[0].toInt(&okWidth) : 0;
        const int height = parts.size() == 2 ? parts[1].toInt(&okHeight) : 0;
        if (!okWidth || !okHeight || width <= 0 || height <= 0)
            return refuse(QStringLiteral("--window-size: нужно ШИРИНАxВЫСОТА, например 1000x680"));
        options.windowSize = QSize(width, height);
    }
    options.reconnect = !parser.isSet(noReconnect);
    options.headless = parser.isSet(headless);
    options.portSettings = parser.value(portSettings);
    options.serve = parser.isSet(serve);
    if (!options.serve &&
        (parser.isSet(serveLabel) || parser.isSet(serveTokenFile) || parser.isSet(serveCert) || parser.isSet(serveKey)))
        return refuse(QStringLiteral("--serve-label, --serve-token-file, --serve-cert и --serve-key действуют только "
                                     "вместе с --serve"));
    if (options.serve) {
        web::ServeConfig &config = options.serveConfig;
        QString error;
        if (!web::ServeConfig::parseListen(parser.value(serve), &config.address, &config.port, &error))
            return refuse(error);
        for (const QString &text : parser.values(serveLabel)) {
            QPair<QString, QString> label;
            if (!web::ServeConfig::parseLabel(text, &label, &error))
                return refuse(error);
            config.labels.append(label);
        }
        if (parser.isSet(serveTokenFile) &&
            !web::ServeConfig::readToken(parser.value(serveTokenFile), &config.token, &error))
            return refuse(error);
        if (!config.address.isLoopback() && config.token.isEmpty())
            return refuse(QStringLiteral("--serve: на адресе %1 страница была бы открыта всем в сети; укажите ключ "
                                         "доступа (--serve-token-file ФАЙЛ) или адрес 127.0.0.1")
                              .arg(config.address.toString()));
        if (parser.isSet(serveCert) != parser.isSet(serveKey))
            return refuse(QStringLiteral("--serve-cert и --serve-key задаются только вместе"));
        config.certificatePath = parser.value(serveCert);
        config.keyPath = parser.value(serveKey);
    }
    if (QString error; !QtSerialPort::parseSettings(options.portSettings, &error))
        return refuse(error);
    if (options.headless) {
        if (options.comBindings.isEmpty() && !options.simulate)
            return refuse(QStringLiteral("--headless: укажите порт (--com N=УСТРОЙСТВО)"));
        if (options.recordPath.isEmpty())
            return refuse(QStringLiteral("--headless: укажите файл записи (--record ФАЙЛ)"));
        if (options.demoSeconds > 0)
            return refuse(QStringLiteral("--headless: показ с окном (--demo) невозможен без экрана"));
        if (!options.reviewPath.isEmpty())
            return refuse(QStringLiteral("--headless: окно просмотра записи (--review) невозможно без экрана"));
    }
    return result;
}

} // namespace zorneta
