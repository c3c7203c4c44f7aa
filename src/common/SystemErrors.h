#pragma once

#include <QString>

namespace zorneta {

// The operating system reports its errors in English (strerror, and Qt passes
// those texts on through QFileDevice::errorString() and the like). The user
// of this program reads Russian, so every such text is reworded here before it
// reaches a message box.

// The Russian reason for an errno value, in lower case, e.g. ENOSPC gives
// "на диске нет места".
QString errnoReason(int code);

// The Russian reason for an error text as the system or Qt gives it: a
// strerror text (matched exactly against this system's strerror), one of Qt's
// own file texts, or a text that is Russian already (kept). Anything else
// becomes "неизвестная ошибка системы".
QString systemErrorReason(const QString &systemText);

// What the program was doing with a file when the system refused.
enum class FileAction { Open, Remove, Write, Read };

// The message for a file operation that failed, naming the file:
// "Не удалось записать в файл /data/log.txt: на диске нет места".
QString fileFailureText(FileAction action, const QString &path, const QString &systemText);
// The same for a refusal the system gave as an errno value.
QString fileFailureText(FileAction action, const QString &path, int errnoCode);

} // namespace zorneta
