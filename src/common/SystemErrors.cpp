#include "common/SystemErrors.h"

#include <QtGlobal>

#include <cerrno>

namespace zorneta {

QString errnoReason(int code) {
    switch (code) {
    case EPERM:
        return QStringLiteral("операция не разрешена");
    case ENOENT:
        return QStringLiteral("нет такого файла или папки");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода на устройстве");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("устройство не найдено");
    case EBADF:
        return QStringLiteral("файл не открыт");
    case EAGAIN:
        return QStringLiteral("ресурс временно недоступен");
    case ENOMEM:
        return QStringLiteral("недостаточно памяти");
    case EACCES:
        return QStringLiteral("нет доступа");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл или устройство занято");
    case EEXIST:
        return QStringLiteral("файл уже существует");
    case EXDEV:
        return QStringLiteral("перенос между дисками невозможен");
    case ENOTDIR:
        return QStringLiteral("часть пути не является папкой");
    case EISDIR:
        return QStringLiteral("это папка, а не файл");
    case EINVAL:
        return QStringLiteral("недопустимое действие с файлом");
    case ENFILE:
    case EMFILE:
        return QStringLiteral("открыто слишком много файлов");
    case ENOTTY:
        return QStringLiteral("устройство не поддерживает это действие");
    case EFBIG:
        return QStringLiteral("файл слишком велик");
    case ENOSPC:
        return QStringLiteral("на диске нет места");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EPIPE:
        return QStringLiteral("канал закрыт");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case ENOTEMPTY:
        return QStringLiteral("папка не пуста");
    case ELOOP:
        return QStringLiteral("слишком много символических ссылок в пути");
    case EDQUOT:
        return QStringLiteral("превышена дисковая квота");
    case ESTALE:
        return QStringLiteral("файл на сетевом диске больше недоступен");
    default:
        return QStringLiteral("системная ошибка № %1").arg(code);
    }
}

QString systemErrorReason(const QString &systemText) {
    const QString text = systemText.trimmed();
    if (text.isEmpty() || text == QLatin1String("Unknown error"))
        return QStringLiteral("неизвестная ошибка системы");
    // Qt builds its file texts with strerror; matching the exact text of this
    // system's strerror gives back the error number.
    for (int code = 1; code < 256; ++code) {
        if (text == qt_error_string(code))
            return errnoReason(code);
    }
    // Texts of Qt's own.
    if (text.contains(QLatin1String("is a directory"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("refers to a directory"), Qt::CaseInsensitive))
        return errnoReason(EISDIR);
    if (text.contains(QLatin1String("is not writable"), Qt::CaseInsensitive))
        return errnoReason(EACCES);
    if (text.contains(QLatin1String("Empty filename"), Qt::CaseInsensitive))
        return QStringLiteral("не указано имя файла");
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Cyrillic)
            return text; // already in the user's language
    }
    return QStringLiteral("неизвестная ошибка системы");
}

namespace {
QString fileActionText(FileAction action) {
    QString what;
    switch (action) {
    case FileAction::Open:
        what = QStringLiteral("Не удалось открыть файл ");
        break;
    case FileAction::Remove:
        what = QStringLiteral("Не удалось удалить файл ");
        break;
    case FileAction::Write:
        what = QStringLiteral("Не удалось записать в файл ");
        break;
    case FileAction::Read:
        what = QStringLiteral("Не удалось прочитать файл ");
        break;
    }
    return what;
}
} // namespace

QString fileFailureText(FileAction action, const QString &path, const QString &systemText) {
    return fileActionText(action) + path + QStringLiteral(": ") + systemErrorReason(systemText);
}

QString fileFailureText(FileAction action, const QString &path, int errnoCode) {
    return fileActionText(action) + path + QStringLiteral(": ") + errnoReason(errnoCode);
}

} // namespace zorneta
