// The help menu's windows: the About box and the help window with the
// program's own help document.

#include "common/ItemNames.h"
#include "shell/HelpCommands.h"
#include "platform/qt/QtSystem.h"
#include "shell/ui/Application.h"
#include "shell/ui/HelpViewer.h"
#include "shell/ui/AboutWindow.h"
#include "shell/ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_HelpWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void aboutBoxTexts();
    void aboutBoxClosesWithOkAndCloseBox_data();
    void aboutBoxClosesWithOkAndCloseBox();
    void helpDocumentHasItsTopics();
    void choosingATopicScrollsToIt();
    void unreadableHelpFails();
    void helpMenuOfTheRunningProgram();

private:
    QTemporaryDir m_config;
};

void tst_HelpWindows::initTestCase() {
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    qunsetenv("ZORNETA_INSTALL_DIR");
}

void tst_HelpWindows::aboutBoxTexts() {
    AboutWindow about;
    QCOMPARE(about.windowTitle(), u"  О программе  Зорнета"_s);
    auto label = [&](const char16_t *name) { return about.findChild<QLabel *>(QString::fromUtf16(name))->text(); };
    QCOMPARE(label(u"lblVersion"), u"Рабочая версия  2.2.20  CD-ROM"_s);
    QCOMPARE(label(u"Label1"), u"Программные Терморегуляторы       Нагревательные Печи Сушильные Шкафы"_s);
    QCOMPARE(label(u"lblDescription"),
             u"    Программный продукт \"Зорнета\" разработан фирмой ZID \"ЛИРАНТ\" специально для прграммных "
             u"терморегуляторов серии МЛ, служит для связи с удаленным компьютером и предназначен для визуализации "
             u"процесса  терморегулирования."_s);
    QVERIFY(label(u"lblTitle").startsWith(u" ZID ЛИРАНТ"_s));
    QVERIFY(!label(u"lblDisclaimer").isEmpty());
    QCOMPARE(about.findChild<QPushButton *>(u"cmdOK"_s)->text(), u"OK"_s);
    QVERIFY(about.findChild<QLabel *>(u"Picture1"_s));
}

void tst_HelpWindows::aboutBoxClosesWithOkAndCloseBox_data() {
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void tst_HelpWindows::aboutBoxClosesWithOkAndCloseBox() {
    QFETCH(bool, byOk);
    MainWindow main;
    main.show();
    main.showAbout();
    QPointer<AboutWindow> about = main.aboutWindow();
    QVERIFY(about);
    QTRY_VERIFY(about->isVisible());
    // Not modal: the main window keeps working while the box is open.
    QVERIFY(!about->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    // Shown again while open: the same box.
    main.showAbout();
    QCOMPARE(main.aboutWindow(), about.data());
    if (byOk)
        QTest::mouseClick(about->findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    else
        QVERIFY(about->close());
    // Unloaded, not hidden.
    QTRY_VERIFY(!about);
    main.showAbout();
    QVERIFY(main.aboutWindow());
    QVERIFY(main.aboutWindow()->isVisible());
}

void tst_HelpWindows::helpDocumentHasItsTopics() {
    HelpViewer viewer;
    const QString path = QStringLiteral(ZORNETA_DATA_DIR "/") + QString::fromUtf16(HelpCommands::HelpFileName);
    const Status loaded = viewer.load(path);
    QVERIFY2(loaded, qPrintable(loaded.description()));
    const QStringList topics = viewer.topics();
    // A topic for each menu of the program, the work of a furnace run, the
    // file formats and line errors.
    for (const QString &expected :
         {u"Порядок работы: контроль плавки"_s, u"Меню «Файл для записи данных»"_s, u"Меню «Внешний вид»"_s,
          u"Меню «Настройки Порта»"_s, u"Меню «Настройки Графика»"_s, u"Меню «Помощь»"_s, u"Контекстные меню графика"_s,
          u"Форматы файлов"_s, u"Ошибки линии связи"_s})
        QVERIFY2(topics.contains(expected), qPrintable(expected));
    QCOMPARE(viewer.contents()->count(), topics.size());
}

void tst_HelpWindows::choosingATopicScrollsToIt() {
    HelpLauncher launcher;
    const QString path = QStringLiteral(ZORNETA_DATA_DIR "/") + QString::fromUtf16(HelpCommands::HelpFileName);
    QVERIFY(launcher.showHelpContents(path));
    HelpViewer *viewer = launcher.viewer();
    QVERIFY(viewer);
    QTRY_VERIFY(viewer->isVisible());
    QScrollBar *scroll = viewer->browser()->verticalScrollBar();
    QCOMPARE(scroll->value(), 0);
    const int last = viewer->contents()->count() - 1;
    viewer->contents()->setCurrentRow(last);
    QTRY_VERIFY(scroll->value() > 0);
    const int lastTopic = scroll->value();
    // The first topic follows the title, above the last one.
    viewer->contents()->setCurrentRow(0);
    QTRY_VERIFY(scroll->value() < lastTopic);
    QVERIFY(scroll->value() > 0);
}

void tst_HelpWindows::unreadableHelpFails() {
    QTemporaryDir dir;
    HelpLauncher launcher;
    QVERIFY(!launcher.showHelpContents(dir.filePath(u"Zorneta.hlp"_s)));
    QVERIFY(!launcher.viewer() || !launcher.viewer()->isVisible());
}

void tst_HelpWindows::helpMenuOfTheRunningProgram() {
    // Run from the build tree, the program finds the source tree's help; were
    // it missing, a real message box would wait for an answer.
    QVERIFY(HelpCommands::installedFile(QtInstallInfo(), QString::fromUtf16(HelpCommands::HelpFileName)));
    Application app(StartOptions{});
    QString error;
    QVERIFY2(app.startMain(&error), qPrintable(error));
    auto helpWindow = [] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"frmHelp"_s && w->isVisible())
                return qobject_cast<HelpViewer *>(w);
        }
        return static_cast<HelpViewer *>(nullptr);
    };
    QVERIFY(!helpWindow());
    app.mainWindow()->item(toolbar::Help)->trigger();
    QVERIFY(helpWindow());
    QVERIFY(helpWindow()->topics().contains(u"Ошибки линии связи"_s));
    helpWindow()->close();
    app.mainWindow()->item(menu::HelpContents)->trigger();
    QVERIFY(helpWindow());
    app.mainWindow()->item(menu::About)->trigger();
    QVERIFY(app.mainWindow()->aboutWindow());
    QVERIFY(app.mainWindow()->aboutWindow()->isVisible());
}

QTEST_MAIN(tst_HelpWindows)
#include "tst_helpwindows.moc"
