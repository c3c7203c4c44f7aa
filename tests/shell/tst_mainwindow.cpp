// The main window: its whole menu tree, the toolbar, the status bar and the
// controls around the chart, before and after the window's load.

#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "platform/qt/FramePacer.h"
#include "shell/ui/MainWindow.h"
#include "support/LogicRig.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

// One line per entry, depth by indentation marks: "name|caption|marks".
// Marks: C checked, D disabled, S separator, M submenu.
const QStringList MenuBarTree = {
    u"mnuFile|&Файл для записи данных|M"_s,
    u">mnuOpenLog|&Создать ИЛИ Открыть...|"_s,
    u">mnuCloseLog|&Записать И Закрыть...|D"_s,
    u">m3||S"_s,
    u">mnuFileExit|В&ыход|"_s,
    u"po1||"_s,
    u"mnuView|&Внешний вид|M"_s,
    u">mnuViewUpdate|Период обновления...|"_s,
    u">mnuViewPeriod|Период считывания...|"_s,
    u">mnuViewAxisX|Деления оси Х...|"_s,
    u">mnuViewColor|Цвет...|"_s,
    u">mnuViewIndicator|Цифровой индикатор   Вкл/Выкл|C"_s,
    u">mnuLegendShow|Обозначения    &Вкл/Выкл|C"_s,
    u">exploreSeparator||S"_s,
    u">showWholeCurve|Вся кривая|"_s,
    u">clockTimeAxis|Время по часам|"_s,
    u"ро||"_s,
    u"mnuPort|&Настройки Порта|M"_s,
    u">mnuOpen|Открыть &Порт|"_s,
    u">MBar1||S"_s,
    u">mnuProperties|Свойства  Порта...|"_s,
    u"ол||"_s,
    u"mnuTemp|Настройки &Графика|M"_s,
    u">mnuSigTemp|Сигнальная температ&ура...|"_s,
    u">MBar3||S"_s,
    u">mnuCutStart|Обрезать начало графика|"_s,
    u">mnuGraphAll|В&есь график|"_s,
    u">mnuGraphEnd|&Только конец графика|"_s,
    u">MbarTemp||S"_s,
    u">mnuCopyData|Копи&ровать данные|"_s,
    u">mnuInsertData|Встав&ить данные|"_s,
    u">mnu14||S"_s,
    u">mnuGetInMind|С&делать снимок графика...|"_s,
    u">mnuFromMemory|&Вставить снимок|D"_s,
    u">mnuClearMemory|&Стереть снимок|D"_s,
    u">mnu16||S"_s,
    u">mnuNewSession|&Начать новый сеанс|"_s,
    u">mnuAppl|Свойства  &Графика...|"_s,
    u"лд||"_s,
    u"mnuhelp|Помо&щь|M"_s,
    u">mnuContent|&Справка|"_s,
    u">m2||S"_s,
    u">mnuLirant|&Лист Цен ZID \"ЛИРАНТ\"|"_s,
    u">m30||S"_s,
    u">mnuAbout|&О программе|"_s,
    u"as||"_s,
    u"mnuR2||"_s,
    u"reviewMenu|&Обзор|M"_s,
    u">reviewRecording|Просмотреть запись…|"_s,
    u">reviewBar||S"_s,
    u">sessionExportCsv|Экспорт в CSV…|"_s,
    u">sessionReport|Отчёт…|"_s,
};

const QStringList MouseMenuTree = {
    u"mnuMouse|Мышкино меню|M"_s,
    u">mnuReNew|Обновление графика|M"_s,
    u">>mnuY064Sec|Через каждую точку|"_s,
    u">>mnuY64Sec|Через 10 точек|"_s,
    u">>mnuY32Sec|Через 50 точек|"_s,
    u">>mnuY1min|Через 100 точек|"_s,
    u">>mnuY5min|Через 500 точек|"_s,
    u">>mnuY10min|Через 1000 точек|"_s,
    u">mnuRead|Период считывания точек|M"_s,
    u">>mnuR064Sec|Через 0,64 сек|"_s,
    u">>mnuR3Sec|Через 3,12 сек|"_s,
    u">>mnuR12Sec|Через 12,8 сек|"_s,
    u">>mnuR1min|Через 1 мин 4 сек|"_s,
    u">>mnuR2min|Через 2 мин 40 сек|"_s,
    u">>mnuR5min|Через 5 мин 20 сек|"_s,
    u">mnuR1||S"_s,
    u">mnuGraphProper|&Свойства графика|"_s,
    u">mnuColor|Цвет|M"_s,
    u">>mnuIndicatorColor|Цифровой индикатор|M"_s,
    u">>>mnuBackColor|Фон|"_s,
    u">>>mnuPenColor|Перо|"_s,
    u">>mnuCurveColor|Кривая нагрева|"_s,
    u">>mnuLegendColor|Поле \"Обозначения\"|"_s,
    u">>mnuChartColor|Фон поля графика|"_s,
    u">>mnuPlotColor|Фон графика|"_s,
    u">>mnuAxisTitle|Ось|M"_s,
    u">>>mnuColorX|Ось Х|"_s,
    u">>>mnuAxisYColor|Ось Y|"_s,
    u">>>mnuAxisY2Color|Ось Y2|"_s,
    u">mnu13||S"_s,
    u">mnuShowLegend|Обозначения   Вкл\\Выкл|C"_s,
    u">mnuRefresh|Обновить|"_s,
};

const QStringList AxisMenuTree = {
    u"mnuAxisXTitle|Ось Х|M"_s,
    u">mnuGridXSec|&Деления  решётки  Оси Х |M"_s,
    u">>mnuAutoTickDivis|&Автоматически|"_s,
    u">>mnuXBar1||S"_s,
    u">>mnuX064Sec|Через  каждую точку|"_s,
    u">>mnuX64Sec|Через 10 точек|C"_s,
    u">>mnuX32Sec|Через 50 точек|"_s,
    u">>mnuX1min|Через 100 точек|"_s,
    u">>mnuX5min|Через 500 точек|"_s,
    u">>mnuX10min|Через 1000 точек|"_s,
    u">>mnuX26min|Через 2500 точек|"_s,
};

QString describe(QAction *a, int depth) {
    QString marks;
    if (a->isChecked())
        marks += u'C';
    if (!a->isEnabled())
        marks += u'D';
    if (a->isSeparator())
        marks += u'S';
    if (a->menu())
        marks += u'M';
    return QString(depth, u'>') + a->objectName() + u'|' + (a->isSeparator() ? QString() : a->text()) + u'|' + marks;
}

void flatten(const QList<QAction *> &actions, int depth, QStringList *out) {
    for (QAction *a : actions) {
        out->append(describe(a, depth));
        if (a->menu())
            flatten(a->menu()->actions(), depth + 1, out);
    }
}

QStringList tree(QMenu *menu) {
    QStringList out;
    out.append(describe(menu->menuAction(), 0));
    flatten(menu->actions(), 1, &out);
    return out;
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionAndControls();
    void menuBarTree();
    void contextMenus();
    void toolBar_data();
    void toolBar();
    void toolBarOrder();
    void statusBar_data();
    void statusBar();
    void marksAfterLoad();
    void toolbarKeysDispatch_data();
    void toolbarKeysDispatch();
    void menuItemsForwardTheirNames();
    void picturesToggleThePort();
    void spacersDoNothing();
    void terminalBoxShowsReadingsOnScreen();
};

void tst_MainWindow::captionAndControls() {
    MainWindow w;
    QCOMPARE(w.windowTitle(), u"   Зорнета"_s);
    QCOMPARE(w.objectName(), u"frmTerminal"_s);
    QVERIFY(w.findChild<QWidget *>(u"MSChart1"_s));
    auto *term = w.findChild<QPlainTextEdit *>(u"txtTerm"_s);
    QVERIFY(term);
    QCOMPARE(term->toolTip(),
             u"Окно индикации поступления данных   Температура  оС: Тысячи, сотни, десятки, единицы"_s);
    QCOMPARE(w.findChild<QPushButton *>(u"Command1"_s)->text(), u"Очистить"_s);
    QCOMPARE(w.findChild<QPushButton *>(u"cmdNew"_s)->text(), u"Обновить"_s);
    QCOMPARE(w.findChild<QLineEdit *>(u"PointText"_s)->text(), u"Значение точки на кривой в град."_s);
    QCOMPARE(w.findChild<QLineEdit *>(u"txtSig"_s)->toolTip(), u"Установленное значение сигнальной температуры"_s);
    QVERIFY(w.findChild<QGroupBox *>(u"Frame1"_s));
    QVERIFY(w.findChild<QLabel *>(u"imgConnected"_s));
    QVERIFY(w.findChild<QLabel *>(u"imgNotConnected"_s));
    QVERIFY(!w.connectedShown());
}

void tst_MainWindow::menuBarTree() {
    MainWindow w;
    QStringList actual;
    flatten(w.menuBar()->actions(), 0, &actual);
    QCOMPARE(actual, MenuBarTree);
}

void tst_MainWindow::contextMenus() {
    MainWindow w;
    QCOMPARE(tree(w.menu(menu::ChartMenu)), MouseMenuTree);
    QCOMPARE(tree(w.menu(menu::XAxisMenu)), AxisMenuTree);
    // Never in the menu bar.
    for (QAction *a : w.menuBar()->actions()) {
        QVERIFY(a->menu() != w.menu(menu::ChartMenu));
        QVERIFY(a->menu() != w.menu(menu::XAxisMenu));
    }
}

void tst_MainWindow::toolBar_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("PortOpen") << toolbar::PortOpen << u"Открыть порт"_s << u"Открыть Порт"_s << true;
    QTest::newRow("Properties") << toolbar::Properties << u"Свойства порта"_s << u"Свойства Порта..."_s << true;
    QTest::newRow("ClosePort") << toolbar::ClosePort << u"Закрыть порт"_s << u"Закрыть Порт"_s << true;
    QTest::newRow("OpenLogFile") << toolbar::OpenLogFile << u"Открыть файл записи"_s << u"Открыть файл для записи..."_s
                                 << true;
    QTest::newRow("CloseLogFile") << toolbar::CloseLogFile << u"Закрыть файл записи"_s
                                  << u"Закрыть и Сохранить файл..."_s << false;
    QTest::newRow("Copy") << toolbar::Copy << u"Копировать в буфер"_s << u"Копировать весь график в буфер"_s << true;
    QTest::newRow("Paste") << toolbar::Paste << u"Вставить из буфера"_s << u"Вставить график из буфера"_s << true;
    QTest::newRow("DialPhoneNumber") << toolbar::AlarmTemperature << u"Сигнальная температура"_s
                                     << u"Сигнальная температура..."_s << true;
    QTest::newRow("Legend") << toolbar::Legend << u"Обозначения  Вкл/Выкл"_s << u"Обозначения  Вкл/Выкл"_s << true;
    QTest::newRow("CopySnap") << toolbar::CopySnap << u"Копировать снимок"_s << u"Сделать снимок.."_s << true;
    QTest::newRow("PasteSnap") << toolbar::PasteSnap << u"Вставить снимок"_s << u"Вставить снимок"_s << true;
    QTest::newRow("DeleteSnap") << toolbar::DeleteSnap << u"Удалить снимок"_s << u"Стереть снимок"_s << true;
    QTest::newRow("GraphEnd") << toolbar::GraphEnd << u"Конец графика"_s << u"Только конец графика"_s << true;
    QTest::newRow("GraphStart") << toolbar::GraphStart << u"Отрезать начало графика"_s << u"Отрезать начало графика"_s
                                << true;
    QTest::newRow("GraphAll") << toolbar::GraphAll << u"Весь график"_s << u"Весь график"_s << true;
    QTest::newRow("HangUpPhone") << toolbar::GraphSettings << u"Свойства графика"_s << u"Свойства графика..."_s << true;
    QTest::newRow("Help") << toolbar::Help << u"Справка"_s << u"Справка"_s << true;
    QTest::newRow("NewSession") << toolbar::NewSession << u"Начать новый сеанс"_s << u"Начать новый сеанс"_s << true;
}

void tst_MainWindow::toolBar() {
    QFETCH(QString, key);
    QFETCH(QString, tooltip);
    QFETCH(QString, description);
    QFETCH(bool, enabled);
    MainWindow w;
    auto *bar = w.findChild<QToolBar *>(u"tbrToolBar"_s);
    QVERIFY(bar);
    QAction *a = w.item(key);
    QVERIFY(a);
    QVERIFY(bar->actions().contains(a));
    QCOMPARE(a->objectName(), key);
    QCOMPARE(a->toolTip(), tooltip);
    QCOMPARE(a->text(), tooltip); // the accessible caption
    QCOMPARE(a->statusTip(), description);
    QCOMPARE(a->isEnabled(), enabled);
    QVERIFY(!a->icon().isNull());
}

void tst_MainWindow::toolBarOrder() {
    MainWindow w;
    QStringList order;
    for (QAction *a : w.findChild<QToolBar *>(u"tbrToolBar"_s)->actions())
        order.append(a->isSeparator() ? u"|"_s : a->objectName());
    QCOMPARE(order.join(u' '), u"| PortOpen Properties ClosePort | OpenLogFile CloseLogFile | Copy Paste | "
                               u"DialPhoneNumber Legend | CopySnap PasteSnap DeleteSnap | GraphEnd GraphStart "
                               u"GraphAll | HangUpPhone | Help NewSession"_s);
}

void tst_MainWindow::statusBar_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("Status") << 0 << panel::Status << u"Статус Порта"_s << u"Состояние коммуникационного Порта"_s;
    QTest::newRow("Settings") << 1 << panel::Settings << u"Настройки:"_s << u"Настройки коммуникационного Порта"_s;
    QTest::newRow("Counter") << 2 << panel::Counter << u"k"_s << u"Число циклов считывания данных"_s;
    QTest::newRow("ConnectTime") << 3 << panel::ConnectTime << u"Время:"_s
                                 << u"Отсчёт времени с  момента открытия Порта"_s;
}

void tst_MainWindow::statusBar() {
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    MainWindow w;
    w.show();
    auto *bar = w.findChild<QStatusBar *>(u"sbrStatus"_s);
    QVERIFY(bar);
    QList<QLabel *> panels = bar->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(panels.begin(), panels.end(), [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
    QCOMPARE(panels.size(), 4);
    QLabel *panel = panels.at(position);
    QCOMPARE(panel->objectName(), key);
    QCOMPARE(panel->text(), text);
    QCOMPARE(panel->toolTip(), tooltip);
    w.setPanelText(key, u"x"_s);
    QCOMPARE(panel->text(), u"x"_s);
}

void tst_MainWindow::marksAfterLoad() {
    MainWindow w;
    LogicRig doubles(LogicRig::DoublesOnly);
    TerminalLogic logic(Services{doubles.port, w.chart(), doubles.prompts, doubles.settings, doubles.clock,
                                 doubles.beeper, doubles.install, doubles.launcher, w});
    logic.load();
    QVERIFY(w.item(menu::UpdateEvery10)->isChecked());
    QVERIFY(w.item(menu::ReadEvery1)->isChecked());
    QVERIFY(w.item(menu::AutoXDivisions)->isChecked());
    for (const QString &fixed : {menu::XDivisions1, menu::XDivisions10, menu::XDivisions50, menu::XDivisions100,
                                 menu::XDivisions500, menu::XDivisions1000, menu::XDivisions2500})
        QVERIFY2(!w.item(fixed)->isEnabled(), qPrintable(fixed));
    QVERIFY(w.item(menu::XDivisions10)->isChecked());
    QVERIFY(!w.item(menu::PasteSnapshot)->isEnabled());
    QVERIFY(!w.item(toolbar::PasteSnap)->isEnabled());
    QVERIFY(!w.item(toolbar::DeleteSnap)->isEnabled());
    QVERIFY(w.item(menu::LegendOnOff)->isChecked());
    QVERIFY(!w.item(menu::OpenPort)->isChecked());
    QVERIFY(!w.connectedShown());
    QCOMPARE(w.terminalWidget()->toPlainText(), QString());
    QCOMPARE(doubles.prompts.shown.size(), 0);
    // One item of each period family checked.
    int checked = 0;
    for (QAction *a : w.menu(menu::UpdatePeriodMenu)->actions())
        checked += a->isChecked();
    QCOMPARE(checked, 1);
}

void tst_MainWindow::toolbarKeysDispatch_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("command");
    QTest::newRow("OpenLogFile") << toolbar::OpenLogFile << menu::OpenRecording;
    QTest::newRow("CloseLogFile") << toolbar::CloseLogFile << menu::CloseRecording;
    QTest::newRow("DialPhoneNumber") << toolbar::AlarmTemperature << menu::AlarmTemperature;
    QTest::newRow("HangUpPhone") << toolbar::GraphSettings << menu::GraphSettings;
    QTest::newRow("Properties") << toolbar::Properties << menu::PortSettings;
    QTest::newRow("CopySnap") << toolbar::CopySnap << menu::TakeSnapshot;
    QTest::newRow("PortOpen") << toolbar::PortOpen << menu::OpenPort;
    QTest::newRow("Help") << toolbar::Help << menu::HelpContents;
    QTest::newRow("PasteSnap") << toolbar::PasteSnap << menu::PasteSnapshot;
    QTest::newRow("ClosePort") << toolbar::ClosePort << menu::OpenPort;
    QTest::newRow("Copy") << toolbar::Copy << menu::CopyData;
    QTest::newRow("Paste") << toolbar::Paste << menu::InsertData;
    QTest::newRow("DeleteSnap") << toolbar::DeleteSnap << menu::EraseSnapshot;
    QTest::newRow("GraphStart") << toolbar::GraphStart << menu::CutGraphStart;
    QTest::newRow("GraphEnd") << toolbar::GraphEnd << menu::GraphEndOnly;
    QTest::newRow("GraphAll") << toolbar::GraphAll << menu::WholeGraph;
    QTest::newRow("NewSession") << toolbar::NewSession << menu::NewSession;
    QTest::newRow("Legend") << toolbar::Legend << menu::LegendOnOff;
    QTest::newRow("letter case counts") << u"legend"_s << QString();
    QTest::newRow("unknown") << u"Exit"_s << QString();
}

void tst_MainWindow::toolbarKeysDispatch() {
    QFETCH(QString, key);
    QFETCH(QString, command);
    QCOMPARE(commandForToolbarKey(key), commandForMenuItem(command));
}

void tst_MainWindow::menuItemsForwardTheirNames() {
    MainWindow w;
    QSignalSpy menu(&w, &MainWindow::menuCommand);
    QSignalSpy tool(&w, &MainWindow::toolbarButton);
    w.item(menu::Rescale)->trigger();
    w.item(menu::UpdateEvery500)->trigger();
    w.item(toolbar::GraphEnd)->trigger();
    QCOMPARE(menu.size(), 2);
    QCOMPARE(menu.at(0).at(0).toString(), menu::Rescale);
    QCOMPARE(menu.at(1).at(0).toString(), menu::UpdateEvery500);
    QCOMPARE(tool.size(), 1);
    QCOMPARE(tool.at(0).at(0).toString(), toolbar::GraphEnd);
}

void tst_MainWindow::picturesToggleThePort() {
    MainWindow w;
    w.show();
    QSignalSpy clicks(&w, &MainWindow::connectionPictureClicked);
    QTest::mouseClick(w.findChild<QLabel *>(u"imgNotConnected"_s), Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    w.showConnected(true);
    QVERIFY(w.connectedShown());
    QTest::mouseClick(w.findChild<QLabel *>(u"imgConnected"_s), Qt::LeftButton);
    QCOMPARE(clicks.size(), 2);
}

void tst_MainWindow::spacersDoNothing() {
    MainWindow w;
    LogicRig doubles(LogicRig::DoublesOnly);
    TerminalLogic logic(Services{doubles.port, w.chart(), doubles.prompts, doubles.settings, doubles.clock,
                                 doubles.beeper, doubles.install, doubles.launcher, w});
    connect(&w, &MainWindow::menuCommand, &logic, &TerminalLogic::runMenuItem);
    for (const QString &spacer : {u"po1"_s, u"ро"_s, u"ол"_s, u"лд"_s, u"as"_s, u"mnuR2"_s}) {
        QAction *a = w.item(spacer);
        QVERIFY2(a, qPrintable(spacer));
        QVERIFY(a->text().isEmpty());
        a->trigger();
    }
    QCOMPARE(doubles.prompts.shown.size(), 0);
    QCOMPARE(doubles.port.log.size(), 0);
}

void tst_MainWindow::terminalBoxShowsReadingsOnScreen() {
    MainWindow w;
    new FramePacer(&w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QPlainTextEdit *widget = w.terminalWidget();
    TextBox &box = w.terminalBox();
    QSignalSpy laidOut(widget->document(), &QTextDocument::contentsChanged);
    // Readings each in a pass of the event loop of their own, as they come.
    QString shown;
    for (int i = 1000; i < 1200; ++i) {
        box.setSelStart(box.text().size());
        box.setSelText(QString::number(i) + u"\r\n"_s);
        shown += QString::number(i) + u'\n';
        QCoreApplication::processEvents();
    }
    // The box holds every reading at once; the widget shows them all once
    // the window has painted, the caret and the view at the newest.
    QCOMPARE(box.text().size(), 200 * 6);
    QTRY_COMPARE(widget->toPlainText(), shown);
    QTRY_COMPARE(widget->textCursor().position(), int(shown.size()));
    QTRY_COMPARE(widget->verticalScrollBar()->value(), widget->verticalScrollBar()->maximum());
    QVERIFY2(laidOut.size() < 200, qPrintable(QString::number(laidOut.size())));
    // A key typed while readings wait for the paint lands after them.
    box.setSelText(u"1200\r\n"_s);
    QTest::keyClick(widget, Qt::Key_X);
    QCOMPARE(box.text().right(7), u"1200\r\nx"_s);
    QTRY_COMPARE(widget->toPlainText().right(6), u"1200\nx"_s);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
