#include "platform/qt/PortDirectory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zorneta {

namespace {

// Device families in port order.
constexpr const char16_t *kFamilies[] = {u"ttyUSB", u"ttyACM", u"ttyS"};

struct Device {
    int family = 0;
    qint64 index = 0;
    QString path;
};

// Family and number of a device path such as "/dev/ttyUSB10"; false for
// anything that is not one of the serial families.
bool classify(const QString &path, Device *device) {
    const QString name = QFileInfo(path).fileName();
    for (int family = 0; family < int(std::size(kFamilies)); ++family) {
        const QString prefix = QString::fromUtf16(kFamilies[family]);
        if (!name.startsWith(prefix) || name.size() == prefix.size())
            continue;
        const QStringView digits = QStringView(name).mid(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        bool ok = false;
        const qint64 index = digits.toLongLong(&ok);
        if (!ok)
            continue;
        device->family = family;
        device->index = index;
        device->path = path;
        return true;
    }
    return false;
}

} // namespace

PortDirectory::PortDirectory() {
#ifdef Q_OS_WIN
    m_scan = [] {
        QStringList names;
        for (int n = FirstPort; n <= LastPort; ++n)
            names.append(QStringLiteral("COM%1").arg(n));
        return names;
    };
#else
    m_scan = [] { return scanDirectory(QStringLiteral("/dev")); };
#endif
}

PortDirectory PortDirectory::scanning(const QString &deviceDirectory) {
    PortDirectory directory;
    directory.m_scan = [deviceDirectory] { return scanDirectory(deviceDirectory); };
    return directory;
}

PortDirectory PortDirectory::withCandidates(const QStringList &devicePaths) {
    PortDirectory directory;
    const QStringList ordered = orderDevices(devicePaths);
    directory.m_scan = [ordered] { return ordered; };
    return directory;
}

bool PortDirectory::bind(int number, const QString &path, QString *error) {
    if (!isValidNumber(number)) {
        if (error)
            *error = QStringLiteral("Недопустимый номер порта: %1 (допустимы номера от %2 до %3)")
                         .arg(number)
                         .arg(FirstPort)
                         .arg(LastPort);
        return false;
    }
    if (path.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("Не указано устройство для порта %1").arg(portName(number));
        return false;
    }
    m_bound.insert(number, path);
    return true;
}

void PortDirectory::unbind(int number) {
    m_bound.remove(number);
}

QString PortDirectory::devicePath(int number) const {
    if (!isValidNumber(number))
        return QString();
    const auto bound = m_bound.constFind(number);
    if (bound != m_bound.constEnd())
        return *bound;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QStringList devices = scannedDevices();
    return number <= devices.size() ? devices.at(number - 1) : QString();
#endif
}

QString PortDirectory::describe(int number) const {
    const QString path = devicePath(number);
    if (path.isEmpty())
        return QStringLiteral("%1 (нет устройства)").arg(portName(number));
    return QStringLiteral("%1 (%2)").arg(portName(number), path);
}

QString PortDirectory::portName(int number) {
    return QStringLiteral("Com%1").arg(number);
}

QStringList PortDirectory::scannedDevices() const {
    return m_scan ? m_scan() : QStringList();
}

bool PortDirectory::parseBinding(const QString &text, int *number, QString *path, QString *error) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) {
        if (error)
            *error = QStringLiteral("Ожидается N=УСТРОЙСТВО, например 1=/dev/ttyUSB0: %1").arg(text);
        return false;
    }
    bool ok = false;
    const QString numberText = text.left(equals).trimmed();
    const int n = numberText.toInt(&ok);
    if (!ok || !isValidNumber(n)) {
        if (error)
            *error = QStringLiteral("Недопустимый номер порта: %1 (допустимы номера от %2 до %3)")
                         .arg(numberText)
                         .arg(FirstPort)
                         .arg(LastPort);
        return false;
    }
    const QString device = text.mid(equals + 1).trimmed();
    if (device.isEmpty()) {
        if (error)
            *error = QStringLiteral("Не указано устройство для порта %1").arg(portName(n));
        return false;
    }
    if (number)
        *number = n;
    if (path)
        *path = device;
    return true;
}

QStringList PortDirectory::orderDevices(const QStringList &paths) {
    std::vector<Device> devices;
    for (const QString &path : paths) {
        Device device;
        if (classify(path, &device))
            devices.push_back(device);
    }
    std::stable_sort(devices.begin(), devices.end(), [](const Device &a, const Device &b) {
        return a.family != b.family ? a.family < b.family : a.index < b.index;
    });
    QStringList ordered;
    for (const Device &device : devices) {
        if (!ordered.contains(device.path))
            ordered.append(device.path);
    }
    return ordered;
}

QStringList PortDirectory::scanDirectory(const QString &deviceDirectory) {
    const QDir dir(deviceDirectory);
    QStringList paths;
    const QStringList names =
        dir.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"), QStringLiteral("ttyS*")},
                      QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        paths.append(dir.filePath(name));
    return orderDevices(paths);
}

} // namespace zorneta
