// The graph settings window and the start window as a user meets them:
// real widgets, offscreen.

#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "settings/ui/GraphSettingsWindow.h"
#include "shell/ui/Application.h"
#include "shell/ui/StartWindow.h"
#include "shell/ui/MainWindow.h"
#include "support/LogicRig.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

class tst_GraphSettingsWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void showsThePresets();
    void optionsActWhenClicked();
    void okThroughTheWindow();
    void okTakesWhatTheWindowShows_data();
    void okTakesWhatTheWindowShows();
    void cancelThroughTheWindow();
    void modalFromTheMainWindow();
    void startWindow();
    void workOpensTheMainWindow();
    void exitEndsWithoutTheMainWindow();

private:
    QTemporaryDir m_dir;
};

void tst_GraphSettingsWindow::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

void tst_GraphSettingsWindow::showsThePresets() {
    LogicRig rig;
    GraphSettingsWindow w(rig.logic->graphSettings());
    QCOMPARE(w.windowTitle(), u"          Настройки"_s);
    auto *tab = w.findChild<QTabWidget *>(u"tabSettings"_s);
    QCOMPARE(tab->tabText(0), u"Свойства  Графика"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"cboSpeed"_s)->currentText(), u"10 точек"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"cboPassOver"_s)->currentText(), u"3,12 сек"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"cboColor"_s)->currentText(), u"Чёрный"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"cboThin"_s)->currentText(), u"2  мм"_s);
    QCOMPARE(w.findChild<QComboBox *>(u"cboVGrid"_s)->currentText(), u"50 точек"_s);
    QCOMPARE(w.findChild<QLineEdit *>(u"TxtGraph"_s)->text(), u"266"_s);
    QCOMPARE(w.findChild<QLineEdit *>(u"txtCutStart"_s)->text(), u"0"_s);
    QCOMPARE(w.findChild<QLineEdit *>(u"txtCutEnd"_s)->text(), u"0"_s);
    QVERIFY(w.findChild<QRadioButton *>(u"optFlow_1"_s)->isChecked());
    QCOMPARE(w.findChild<QRadioButton *>(u"optFlow_1"_s)->text(), u"Выключ"_s);
    QVERIFY(w.findChild<QRadioButton *>(u"optEcho_1"_s)->isChecked());
    QCOMPARE(w.findChild<QRadioButton *>(u"optEcho_1"_s)->text(), u"Выкл"_s);
    QVERIFY(w.findChild<QRadioButton *>(u"Legenda_0"_s)->isChecked());
    QCOMPARE(w.findChild<QRadioButton *>(u"Legenda_0"_s)->text(), u"Включ"_s);
    QCOMPARE(w.findChild<QGroupBox *>(u"Frame3"_s)->title(), u"Обрезка графика"_s);
    QCOMPARE(w.findChild<QPushButton *>(u"cmdOK"_s)->text(), u"OK"_s);
    QCOMPARE(w.findChild<QPushButton *>(u"cmdCancel"_s)->text(), u"Отмена"_s);
    QStringList entries;
    auto *thin = w.findChild<QComboBox *>(u"cboThin"_s);
    for (int i = 0; i < thin->count(); ++i)
        entries.append(thin->itemText(i));
    QCOMPARE(entries, (QStringList{u"1  мм"_s, u"2  мм"_s, u"3  мм "_s, u"4  мм"_s, u"5  мм"_s}));
}

void tst_GraphSettingsWindow::optionsActWhenClicked() {
    LogicRig rig;
    GraphSettingsWindow w(rig.logic->graphSettings());
    w.show();
    QTest::mouseClick(w.findChild<QRadioButton *>(u"Legenda_1"_s), Qt::LeftButton);
    QVERIFY(!rig.state().legendShown);
    QTest::mouseClick(w.findChild<QRadioButton *>(u"optFlow_0"_s), Qt::LeftButton);
    QVERIFY(!rig.state().xAxisHidden);
    // A list choice does nothing until OK.
    w.findChild<QComboBox *>(u"cboSpeed"_s)->setCurrentIndex(0);
    QCOMPARE(rig.state().updatePeriod, 10);
}

void tst_GraphSettingsWindow::okThroughTheWindow() {
    LogicRig rig;
    GraphSettingsWindow w(rig.logic->graphSettings());
    w.show();
    w.findChild<QComboBox *>(u"cboSpeed"_s)->setCurrentIndex(0);
    w.findChild<QComboBox *>(u"cboVGrid"_s)->setCurrentIndex(5);
    w.findChild<QLineEdit *>(u"TxtGraph"_s)->setText(u"300"_s);
    QTest::mouseClick(w.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(rig.state().updatePeriod, 1);
    QVERIFY(rig.view.itemChecked(menu::XDivisions2500));
    QCOMPARE(rig.view.sig, u"300  град"_s);
}

void tst_GraphSettingsWindow::okTakesWhatTheWindowShows_data() {
    QTest::addColumn<bool>("accessible"); // the text through the accessibility interface, or QLineEdit::setText
    QTest::newRow("program") << false;
    QTest::newRow("screen reader") << true;
}

void tst_GraphSettingsWindow::okTakesWhatTheWindowShows() {
    QFETCH(bool, accessible);
    LogicRig rig;
    GraphSettingsWindow w(rig.logic->graphSettings());
    w.show();
    // Options checked and a text set without a click or a key.
    w.findChild<QRadioButton *>(u"Legenda_1"_s)->setChecked(true);
    w.findChild<QRadioButton *>(u"optFlow_0"_s)->setChecked(true);
    auto *field = w.findChild<QLineEdit *>(u"TxtGraph"_s);
    if (accessible)
        QAccessible::queryAccessibleInterface(field)->setText(QAccessible::Value, u"300"_s);
    else
        field->setText(u"300"_s);
    QCOMPARE(field->text(), u"300"_s);
    w.findChild<QPushButton *>(u"cmdOK"_s)->click();
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!rig.state().legendShown);
    QVERIFY(!rig.state().xAxisHidden);
    QCOMPARE(rig.view.sig, u"300  град"_s);
}

void tst_GraphSettingsWindow::cancelThroughTheWindow() {
    LogicRig rig;
    GraphSettingsWindow w(rig.logic->graphSettings());
    w.show();
    w.findChild<QComboBox *>(u"cboSpeed"_s)->setCurrentIndex(0);
    QTest::mouseClick(w.findChild<QPushButton *>(u"cmdCancel"_s), Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(rig.state().updatePeriod, 10);
    QVERIFY(!rig.logic->graphSettings().isLoaded());
}

void tst_GraphSettingsWindow::modalFromTheMainWindow() {
    MainWindow window;
    LogicRig rig(LogicRig::DoublesOnly);
    TerminalLogic logic(Services{rig.port, window.chart(), rig.prompts, rig.settings, rig.clock, rig.beeper,
                                 rig.install, rig.launcher, window});
    logic.load();
    window.show();
    bool seen = false;
    QTimer::singleShot(0, &window, [&] {
        GraphSettingsWindow *dialog = window.graphSettingsWindow();
        QVERIFY(dialog);
        seen = dialog->isModal() && dialog->isVisible();
        dialog->findChild<QComboBox *>(u"cboPassOver"_s)->setCurrentIndex(5);
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    });
    logic.runToolbarKey(toolbar::GraphSettings);
    QVERIFY(seen);
    QCOMPARE(logic.state().readPeriod, 500);
    QVERIFY(window.item(menu::ReadEvery500)->isChecked());
    QVERIFY(!window.item(menu::ReadEvery1)->isChecked());
}

void tst_GraphSettingsWindow::startWindow() {
    StartWindow splash;
    QCOMPARE(splash.windowTitle(), u"   Краткая информация о программе"_s);
    QCOMPARE(splash.findChild<QLabel *>(u"lblVersion"_s)->text(), u"Версия 2.2.20"_s);
    QCOMPARE(splash.findChild<QLabel *>(u"lblProductName"_s)->text(), u"Зорнета"_s);
    QCOMPARE(splash.findChild<QLabel *>(u"lblCompany"_s)->text(),
             u"        Программа предназначена для связи с удаленным программным Терморегулятором серии МЛ, "
             u"для приёма, обработки и сохранения потока данных от регулятора и передачи его для дальнейшей "
             u"обработки в другие приложения"_s);
    QVERIFY(splash.findChild<QLabel *>(u"lblCompanyProduct"_s)->text().endsWith(u"ЛИРАНТ"_s));
    QCOMPARE(splash.findChild<QPushButton *>(u"Command1"_s)->text(), u"Работа"_s);
    QCOMPARE(splash.findChild<QPushButton *>(u"Command2"_s)->text(), u"Выход"_s);
    splash.show();
    QSignalSpy work(&splash, &StartWindow::workChosen);
    QTest::mouseClick(splash.findChild<QLabel *>(u"imgLogo"_s), Qt::LeftButton);
    QCOMPARE(work.size(), 1);
}

void tst_GraphSettingsWindow::workOpensTheMainWindow() {
    Application app(StartOptions{});
    QString error;
    QVERIFY2(app.start(&error), qPrintable(error));
    QVERIFY(app.splash() && app.splash()->isVisible());
    QVERIFY(!app.mainWindow());
    QTest::mouseClick(app.splash()->findChild<QPushButton *>(u"Command1"_s), Qt::LeftButton);
    QVERIFY(app.mainWindow());
    QVERIFY(app.mainWindow()->isVisible());
    QVERIFY(!app.splash()->isVisible());
    QCOMPARE(app.mainWindow()->windowTitle(), u"   Зорнета"_s);
}

void tst_GraphSettingsWindow::exitEndsWithoutTheMainWindow() {
    Application app(StartOptions{});
    QString error;
    QVERIFY(app.start(&error));
    QTest::mouseClick(app.splash()->findChild<QPushButton *>(u"Command2"_s), Qt::LeftButton);
    QVERIFY(!app.mainWindow());
    QVERIFY(!app.splash()->isVisible());
}

QTEST_MAIN(tst_GraphSettingsWindow)
#include "tst_graphsettingswindow.moc"
