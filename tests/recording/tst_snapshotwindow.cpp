// The snapshot dialog's window on the real main window: its controls, the
// two options' effect on the point-number boxes, OK hiding and Cancel
// unloading it.

#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "recording/ui/SnapshotWindow.h"
#include "shell/ui/MainWindow.h"
#include "support/LogicRig.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

struct WindowRig {
    LogicRig doubles{LogicRig::DoublesOnly};
    MainWindow main;
    TerminalLogic logic{Services{doubles.port, main.chart(), doubles.prompts, doubles.settings, doubles.clock,
                                 doubles.beeper, doubles.install, doubles.launcher, main}};
    WindowRig() { logic.load(); }

    template <typename T> T *control(const QString &name) const {
        SnapshotWindow *w = main.snapshotWindow();
        return w ? w->findChild<T *>(name) : nullptr;
    }
};

} // namespace

class tst_SnapshotWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsAndOptions();
    void okHidesCancelUnloads();
    void closingTheWindowUnloads();
    void okTakesWhatTheFieldsShow_data();
    void okTakesWhatTheFieldsShow();
};

void tst_SnapshotWindow::controlsAndOptions() {
    WindowRig rig;
    rig.doubles.settings.values[u"Зорнета/Properties/SnapShot"_s] = u"True"_s;
    rig.logic.runToolbarKey(toolbar::CopySnap);
    SnapshotWindow *w = rig.main.snapshotWindow();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    QCOMPARE(w->objectName(), u"frmSnapShot"_s);
    QCOMPARE(w->windowTitle(), u"     Характер  снимка"_s);
    QCOMPARE(rig.control<QGroupBox>(u"Frame1"_s)->title(), u"Размер снимка"_s);
    QCOMPARE(rig.control<QRadioButton>(u"Snap_0"_s)->text(), u"Все данные"_s);
    QCOMPARE(rig.control<QRadioButton>(u"Snap_1"_s)->text(), u"Участок"_s);
    QCOMPARE(rig.control<QLabel>(u"Label1"_s)->text(), u"Начиная с точки №"_s);
    QCOMPARE(rig.control<QCheckBox>(u"SFile"_s)->text(), u"Запись в файл"_s);
    QVERIFY(!rig.control<QCheckBox>(u"SFile"_s)->isChecked());
    QCOMPARE(rig.control<QPushButton>(u"CmdOK"_s)->text(), u"ОК"_s);
    QCOMPARE(rig.control<QPushButton>(u"CmdCancel"_s)->text(), u"Отмена"_s);
    QVERIFY(rig.control<QRadioButton>(u"Snap_0"_s)->isChecked());

    auto *text1 = rig.control<QLineEdit>(u"Text1"_s);
    auto *text2 = rig.control<QLineEdit>(u"Text2"_s);
    QCOMPARE(text1->text(), u"1"_s);
    QCOMPARE(text2->text(), u"50"_s);
    for (QLineEdit *box : {text1, text2}) {
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Disabled, QPalette::Base), QColor(0x80, 0x80, 0x80));
    }
    rig.control<QRadioButton>(u"Snap_1"_s)->click();
    QVERIFY(!rig.logic.state().snapshotAllData);
    for (QLineEdit *box : {text1, text2}) {
        QVERIFY(box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Active, QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
    }
    rig.control<QRadioButton>(u"Snap_0"_s)->click();
    QVERIFY(rig.logic.state().snapshotAllData);
    QVERIFY(!text1->isEnabled());
}

void tst_SnapshotWindow::okHidesCancelUnloads() {
    WindowRig rig;
    rig.logic.runMenuItem(menu::TakeSnapshot);
    QPointer<SnapshotWindow> w = rig.main.snapshotWindow();
    rig.control<QRadioButton>(u"Snap_1"_s)->click();
    // To 50 with 40 columns allocated: refused, Text2 shows 40.
    rig.control<QPushButton>(u"CmdOK"_s)->click();
    QCOMPARE(rig.doubles.prompts.shown.size(), 1);
    QCOMPARE(rig.control<QLineEdit>(u"Text2"_s)->text(), u"40"_s);
    QVERIFY(w->isVisible());
    auto *text2 = rig.control<QLineEdit>(u"Text2"_s);
    text2->selectAll();
    QTest::keyClicks(text2, u"12"_s);
    QCOMPARE(rig.logic.snapshotDialog().lastPoint(), u"12"_s);
    rig.control<QPushButton>(u"CmdOK"_s)->click();
    QCOMPARE(rig.doubles.prompts.shown.size(), 1);
    QVERIFY(!w->isVisible());
    QVERIFY(rig.main.item(menu::PasteSnapshot)->isEnabled());
    QVERIFY(rig.main.item(menu::EraseSnapshot)->isEnabled());

    // The same window comes back with its values.
    rig.logic.runToolbarKey(toolbar::CopySnap);
    QCOMPARE(rig.main.snapshotWindow(), w.data());
    QVERIFY(w->isVisible());
    QCOMPARE(rig.control<QLineEdit>(u"Text2"_s)->text(), u"12"_s);

    rig.control<QPushButton>(u"CmdCancel"_s)->click();
    QTRY_VERIFY(w.isNull());
    QVERIFY(!rig.logic.snapshotDialog().isLoaded());
    rig.logic.runToolbarKey(toolbar::CopySnap);
    QVERIFY(rig.main.snapshotWindow());
    QCOMPARE(rig.control<QLineEdit>(u"Text2"_s)->text(), u"50"_s);
    QVERIFY(rig.control<QRadioButton>(u"Snap_1"_s)->isChecked()); // the saved choice
}

void tst_SnapshotWindow::closingTheWindowUnloads() {
    WindowRig rig;
    rig.logic.runMenuItem(menu::TakeSnapshot);
    QPointer<SnapshotWindow> w = rig.main.snapshotWindow();
    QVERIFY(w->close());
    QVERIFY(!rig.logic.snapshotDialog().isLoaded());
    QTRY_VERIFY(w.isNull());
    // Esc is Cancel.
    rig.logic.runMenuItem(menu::TakeSnapshot);
    w = rig.main.snapshotWindow();
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!rig.logic.snapshotDialog().isLoaded());
    QTRY_VERIFY(w.isNull());
}

void tst_SnapshotWindow::okTakesWhatTheFieldsShow_data() {
    QTest::addColumn<bool>("accessible"); // through the accessibility interface, or QLineEdit::setText
    QTest::newRow("program") << false;
    QTest::newRow("screen reader") << true;
}

void tst_SnapshotWindow::okTakesWhatTheFieldsShow() {
    QFETCH(bool, accessible);
    WindowRig rig;
    rig.logic.portControl().togglePort();
    for (int k = 1; k <= 10; ++k)
        rig.doubles.port.receive(QByteArray::number(100 + k).rightJustified(4, '0') + "\r\n");
    rig.logic.runMenuItem(menu::TakeSnapshot);
    // Values that reach the controls other than by typing or clicking.
    rig.control<QRadioButton>(u"Snap_1"_s)->setChecked(true);
    const std::pair<const char16_t *, QString> values[] = {{u"Text1", u"3"_s}, {u"Text2", u"7"_s}};
    for (const auto &[name, value] : values) {
        auto *box = rig.control<QLineEdit>(QString::fromUtf16(name));
        if (accessible)
            QAccessible::queryAccessibleInterface(box)->setText(QAccessible::Value, value);
        else
            box->setText(value);
        QCOMPARE(box->text(), value);
    }
    rig.control<QPushButton>(u"CmdOK"_s)->click();
    QCOMPARE(rig.doubles.prompts.shown.size(), 0);
    const ReadingsTable &snap = rig.logic.snapshots().snapReadings();
    QCOMPARE(snap.firstColumn(), 3);
    QCOMPARE(snap.lastColumn(), 7);
    QVERIFY(!rig.logic.state().snapshotAllData);
}

QTEST_MAIN(tst_SnapshotWindow)
#include "tst_snapshotwindow.moc"
