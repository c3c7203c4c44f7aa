// The main window as the user meets it: its layout at different sizes, the
// indicator toggle, minimise and restore, the point value field, and mouse
// gestures on the real chart reaching the logic.

#include "chart/WindowLayout.h"
#include "chart/ui/SeriesDataWindow.h"
#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "shell/TerminalLogic.h"
#include "shell/ui/Application.h"
#include "shell/ui/MainWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

class tst_MainLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void layoutAtSize_data();
    void layoutAtSize();
    void indicatorToggleWidensTheChart();
    void minimiseAndRestoreKeepTheLayout();
    void pointTextField();
    void chartGestures();

private:
    QRect controlRect(const char16_t *name) const;
    QPoint pointOnCurve(double x, double y) const;

    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
    MainWindow *m_window = nullptr;
};

void tst_MainLayout::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

void tst_MainLayout::init() {
    m_app = std::make_unique<Application>(StartOptions{});
    QString error;
    QVERIFY2(m_app->startMain(&error), qPrintable(error));
    m_window = m_app->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_MainLayout::cleanup() {
    m_app.reset();
    m_window = nullptr;
}

QRect tst_MainLayout::controlRect(const char16_t *name) const {
    auto *w = m_window->findChild<QWidget *>(QString::fromUtf16(name));
    return w ? w->geometry() : QRect();
}

QPoint tst_MainLayout::pointOnCurve(double x, double y) const {
    auto *view = qobject_cast<QChartView *>(m_window->chart().widget());
    QChart *chart = view->chart();
    const QPointF at = chart->mapToPosition(QPointF(x, y), chart->series().first());
    return view->mapFromScene(chart->mapToScene(at));
}

void tst_MainLayout::layoutAtSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1000 x 680") << QSize(1000, 680);
    QTest::newRow("640 x 480") << QSize(640, 480);
    QTest::newRow("1400 x 900") << QSize(1400, 900);
}

void tst_MainLayout::layoutAtSize() {
    QFETCH(QSize, size);
    m_window->resize(size);
    const double dpiX = m_window->logicalDpiX();
    const double dpiY = m_window->logicalDpiY();
    auto px = [&](int twips) { return twipsToPixels(twips, dpiX); };
    auto pxY = [&](int twips) { return twipsToPixels(twips, dpiY); };
    QWidget *central = m_window->centralWidget();
    QTRY_COMPARE(m_window->size(), size);
    const int band = central->height();
    const int toolbar = central->y() - m_window->menuWidget()->height();
    // The chart fills the band between toolbar and status bar, right of the
    // indicator column; its width comes from the window's outer width.
    const int outer = m_window->frameGeometry().width();
    QTRY_COMPARE(controlRect(u"MSChart1"), QRect(px(850), 0, outer - px(850), band));
    QCOMPARE(controlRect(u"txtTerm"), QRect(0, 0, px(850), band - pxY(315)));
    // The bottom controls are placed from the inner height less the toolbar,
    // so they sit over the lower edge of the chart band.
    auto near = [](int actual, int expected) { return qAbs(actual - expected) <= 1; };
    const QRect clear = controlRect(u"Command1");
    QVERIFY2(near(clear.top(), band - toolbar + pxY(105)), qPrintable(QString::number(clear.top())));
    QCOMPARE(clear.left(), 0);
    // The refresh button: its design size, or wider where its caption needs
    // it, growing to the left; the point value field moves aside with it.
    const QRect refresh = controlRect(u"cmdNew");
    QCOMPARE(refresh.height(), pxY(335));
    QVERIFY(refresh.width() >= px(930));
    const int grown = refresh.width() - px(930);
    QVERIFY(near(refresh.left() + grown, size.width() - px(930) + px(30)));
    QVERIFY(near(refresh.top(), band - toolbar + pxY(90)));
    const QRect point = controlRect(u"PointText");
    QCOMPARE(point.size(), QSize(px(2800), pxY(195)));
    QVERIFY(near(point.left() + grown, size.width() - px(930) - px(2800) + px(30)));
    QVERIFY(near(point.top(), band - toolbar + pxY(160)));
    const QRect frame = controlRect(u"Frame1");
    QVERIFY(near(frame.left(), size.width() - frame.width() * 3 / 2));
}

void tst_MainLayout::indicatorToggleWidensTheChart() {
    const QRect before = controlRect(u"MSChart1");
    QAction *toggle = m_window->item(menu::IndicatorOnOff);
    QVERIFY(toggle->isChecked());
    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(m_window->terminalWidget()->isHidden());
    QVERIFY(m_window->findChild<QPushButton *>(u"Command1"_s)->isHidden());
    QCOMPARE(controlRect(u"MSChart1"), QRect(0, 0, m_window->frameGeometry().width(), before.height()));
    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QVERIFY(!m_window->terminalWidget()->isHidden());
    QCOMPARE(controlRect(u"MSChart1"), before);
    QCOMPARE(controlRect(u"txtTerm").width(), twipsToPixels(850, m_window->logicalDpiX()));
}

void tst_MainLayout::minimiseAndRestoreKeepTheLayout() {
    const QStringList names = {u"MSChart1"_s, u"txtTerm"_s, u"Command1"_s, u"cmdNew"_s, u"PointText"_s, u"Frame1"_s};
    auto places = [&] {
        QList<QRect> rects;
        for (const QString &n : names)
            rects.append(m_window->findChild<QWidget *>(n)->geometry());
        return rects;
    };
    const QList<QRect> before = places();
    m_window->showMinimized();
    QTRY_VERIFY(m_window->windowState() & Qt::WindowMinimized);
    m_window->showNormal();
    QTRY_VERIFY(!(m_window->windowState() & Qt::WindowMinimized));
    QTRY_COMPARE(places(), before);
}

void tst_MainLayout::pointTextField() {
    QLineEdit *field = m_window->pointText();
    QCOMPARE(field->text(), u"Значение точки на кривой в град."_s);
    m_window->setPointText(u"Выбери точку на кривой"_s);
    field->setFocus();
    QTRY_COMPARE(field->text(), u"Значение точки на кривой в град."_s);
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(field->text(), QString());
    // "Фон поля графика" paints the field.
    m_window->setPointTextBackground(0x336699);
    QCOMPARE(field->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

void tst_MainLayout::chartGestures() {
    TerminalLogic *logic = m_app->logic();
    ReadingsTable table(1, 40);
    QVERIFY(table.setText(2, 1, u"МЛ512"_s));
    for (qint64 c = 2; c <= 30; ++c)
        QVERIFY(table.setNumber(2, c, 300.0 + c));
    QVERIFY(table.setNumber(2, 13, 512.0));
    m_window->chart().setChartData(table);
    QCoreApplication::processEvents();
    QWidget *viewport = qobject_cast<QChartView *>(m_window->chart().widget())->viewport();
    QLineEdit *field = m_window->pointText();

    // A click on point 12 (column 13) tells its value.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pointOnCurve(12, 512));
    QCOMPARE(field->text(), ChartGestures::pointValueText(12, 512, QLocale::system()));
    QCOMPARE(field->text(), u"Значение точки № 12 равно 512 оС"_s);

    // The right button opens "Мышкино меню".
    QMenu *mouse = m_window->menu(menu::ChartMenu);
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, pointOnCurve(20, 320));
    QTRY_VERIFY(mouse->isVisible());
    QCOMPARE(mouse->title(), u"Мышкино меню"_s);
    mouse->hide();

    // A double click on the curve opens the current-parameters window.
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, pointOnCurve(5, 305));
    QTRY_VERIFY(m_window->seriesDataWindow() && m_window->seriesDataVisible());
    QCOMPARE(m_window->seriesDataWindow()->windowTitle(), u"Текущие параметры"_s);
    QVERIFY(logic->state().pointCount <= 50);
    QCOMPARE(m_window->seriesDataWindow()->field(SeriesDataForm::Rate), QString());
}

QTEST_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
