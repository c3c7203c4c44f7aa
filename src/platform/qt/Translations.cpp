#include "platform/qt/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zorneta {

bool installRussianTranslation(QCoreApplication &app) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool loaded = false;
    for (const char *name : {"qtbase_ru", "qtserialport_ru"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), dir)) {
            QCoreApplication::installTranslator(translator);
            loaded = true;
        } else {
            delete translator;
        }
    }
    return loaded;
}

} // namespace zorneta
