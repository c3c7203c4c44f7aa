#include "shell/ui/frmTerminal.h"

#include "acquisition/ui/frmProperties.h"
#include "chart/WindowLayout.h"
#include "chart/ui/frmSeriesData.h"
#include "common/Colour.h"
#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "recording/ui/frmSnapShot.h"
#include "settings/ui/SigTemp.h"
#include "settings/ui/frmPrGraph.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/QtTextBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace zorneta {

namespace {

struct ToolButton {
    const QString *key; // nullptr for a separator
    const char16_t *tooltip;
    const char16_t *description;
    QStyle::StandardPixmap icon;
};

// Left to right.
const ToolButton ToolButtons[] = {
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::PortOpen, u"Открыть порт", u"Открыть Порт", QStyle::SP_MediaPlay},
    {&toolbar::Properties, u"Свойства порта", u"Свойства Порта...", QStyle::SP_FileDialogDetailedView},
    {&toolbar::ClosePort, u"Закрыть порт", u"Закрыть Порт", QStyle::SP_MediaStop},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::OpenLogFile, u"Открыть файл записи", u"Открыть файл для записи...", QStyle::SP_DialogOpenButton},
    {&toolbar::CloseLogFile, u"Закрыть файл записи", u"Закрыть и Сохранить файл...", QStyle::SP_DialogSaveButton},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::Copy, u"Копировать в буфер", u"Копировать весь график в буфер", QStyle::SP_FileIcon},
    {&toolbar::Paste, u"Вставить из буфера", u"Вставить график из буфера", QStyle::SP_FileLinkIcon},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::DialPhoneNumber, u"Сигнальная температура", u"Сигнальная температура...", QStyle::SP_MessageBoxWarning},
    {&toolbar::Legend, u"Обозначения  Вкл/Выкл", u"Обозначения  Вкл/Выкл", QStyle::SP_FileDialogInfoView},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::CopySnap, u"Копировать снимок", u"Сделать снимок..", QStyle::SP_DesktopIcon},
    {&toolbar::PasteSnap, u"Вставить снимок", u"Вставить снимок", QStyle::SP_ComputerIcon},
    {&toolbar::DeleteSnap, u"Удалить снимок", u"Стереть снимок", QStyle::SP_TrashIcon},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::GraphEnd, u"Конец графика", u"Только конец графика", QStyle::SP_MediaSeekForward},
    {&toolbar::GraphStart, u"Отрезать начало графика", u"Отрезать начало графика", QStyle::SP_MediaSkipBackward},
    {&toolbar::GraphAll, u"Весь график", u"Весь график", QStyle::SP_FileDialogListView},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::HangUpPhone, u"Свойства графика", u"Свойства графика...", QStyle::SP_FileDialogContentsView},
    {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
    {&toolbar::Help, u"Справка", u"Справка", QStyle::SP_DialogHelpButton},
    {&toolbar::NewSession, u"Начать новый сеанс", u"Начать новый сеанс", QStyle::SP_BrowserReload},
};

struct Panel {
    const QString &key;
    const char16_t *text;
    const char16_t *tooltip;
};

const Panel Panels[] = {
    {panel::Status, u"Статус Порта", u"Состояние коммуникационного Порта"},
    {panel::Settings, u"Настройки:", u"Настройки коммуникационного Порта"},
    {panel::Counter, u"k", u"Число циклов считывания данных"},
    {panel::ConnectTime, u"Время:", u"Отсчёт времени с  момента открытия Порта"},
};

QString text(const char16_t *s) {
    return QString::fromUtf16(s);
}

// The place of a status bar panel whose text changes often. The bar lays out
// this empty widget, sized as the label would be, and the label lies over it
// at a fixed size: a new text then repaints the label alone, where a label in
// the bar's layout would have the whole bar laid out and repainted each time.
// A text of another length may need another width: setPanelText then has the
// bar laid out again.
class PanelPlace : public QWidget {
public:
    PanelPlace(QLabel *label, QWidget *parent) : QWidget(parent), m_label(label) {
        setMinimumWidth(label->minimumWidth());
        setSizePolicy(label->sizePolicy());
        label->setFixedSize(label->sizeHint());
        label->raise();
    }
    QSize sizeHint() const override { return m_label->sizeHint(); }
    QSize minimumSizeHint() const override { return m_label->minimumSizeHint(); }

protected:
    void moveEvent(QMoveEvent *) override { m_label->move(pos()); }
    void resizeEvent(QResizeEvent *) override { m_label->setFixedSize(size()); }

private:
    QLabel *m_label;
};

// Design sizes in twips: the clear button's height, the signal temperature
// box's width and its gap to the point value field, the port-state frame's top.
constexpr int ClearButtonHeight = 315;
constexpr int SigTextWidth = 1500;
constexpr int SigTextGap = 60;
constexpr int FrameTop = 600;

} // namespace

frmTerminal::frmTerminal(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(QStringLiteral("   Зорнета"));
    setWindowIcon(QIcon(logoPicture(64)));
    m_chart = std::make_unique<QtChartSurface>();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildCentralArea();
    resize(1000, 680);
}

frmTerminal::~frmTerminal() {
    // The chart's view is owned by the window's widgets; let it go before the
    // surface object does.
    if (QWidget *view = m_chart->widget())
        view->setParent(nullptr);
}

QAction *frmTerminal::addItem(QMenu *menu, const QString &name, const QString &caption) {
    auto *action = menu->addAction(caption);
    action->setObjectName(name);
    m_items.insert(name, action);
    connect(action, &QAction::triggered, this, [this, name] { Q_EMIT menuCommand(name); });
    return action;
}

QAction *frmTerminal::addSeparator(QMenu *menu, const QString &name) {
    QAction *action = menu->addSeparator();
    action->setObjectName(name);
    m_items.insert(name, action);
    return action;
}

QMenu *frmTerminal::addSubmenu(QMenu *parent, const QString &name, const QString &caption) {
    QMenu *sub = parent ? parent->addMenu(caption) : new QMenu(caption, this);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    m_menus.insert(name, sub);
    m_items.insert(name, sub->menuAction());
    return sub;
}

QAction *frmTerminal::addSpacer(const QString &name) {
    // A top-level item with an empty caption and no action: a small gap in the bar.
    QAction *action = menuBar()->addAction(QString());
    action->setObjectName(name);
    action->setEnabled(true);
    m_items.insert(name, action);
    return action;
}

void frmTerminal::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto topMenu = [&](const QString &name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        m_menus.insert(name, m);
        m_items.insert(name, m->menuAction());
        return m;
    };

    QMenu *file = topMenu(menu::mnuFile, QStringLiteral("&Файл для записи данных"));
    addItem(file, menu::mnuOpenLog, QStringLiteral("&Создать ИЛИ Открыть..."));
    addItem(file, menu::mnuCloseLog, QStringLiteral("&Записать И Закрыть..."))->setEnabled(false);
    addSeparator(file, QStringLiteral("m3"));
    addItem(file, menu::mnuFileExit, QStringLiteral("В&ыход"));

    addSpacer(QStringLiteral("po1"));

    QMenu *view = topMenu(menu::mnuView, QStringLiteral("&Внешний вид"));
    addItem(view, menu::mnuViewUpdate, QStringLiteral("Период обновления..."));
    addItem(view, menu::mnuViewPeriod, QStringLiteral("Период считывания..."));
    addItem(view, menu::mnuViewAxisX, QStringLiteral("Деления оси Х..."));
    addItem(view, menu::mnuViewColor, QStringLiteral("Цвет..."));
    QAction *indicator = addItem(view, menu::mnuViewIndicator, QStringLiteral("Цифровой индикатор   Вкл/Выкл"));
    indicator->setCheckable(true);
    indicator->setChecked(true);
    QAction *legendShow = addItem(view, menu::mnuLegendShow, QStringLiteral("Обозначения    &Вкл/Выкл"));
    legendShow->setCheckable(true);
    legendShow->setChecked(true);

    addSpacer(QStringLiteral("ро"));

    QMenu *port = topMenu(menu::mnuPort, QStringLiteral("&Настройки Порта"));
    addItem(port, menu::mnuOpen, QStringLiteral("Открыть &Порт"))->setCheckable(true);
    addSeparator(port, QStringLiteral("MBar1"));
    addItem(port, menu::mnuProperties, QStringLiteral("Свойства  Порта..."));

    addSpacer(QStringLiteral("ол"));

    QMenu *temp = topMenu(menu::mnuTemp, QStringLiteral("Настройки &Графика"));
    addItem(temp, menu::mnuSigTemp, QStringLiteral("Сигнальная температ&ура..."));
    addSeparator(temp, QStringLiteral("MBar3"));
    addItem(temp, menu::mnuCutStart, QStringLiteral("Обрезать начало графика"));
    addItem(temp, menu::mnuGraphAll, QStringLiteral("В&есь график"));
    addItem(temp, menu::mnuGraphEnd, QStringLiteral("&Только конец графика"));
    addSeparator(temp, QStringLiteral("MbarTemp"));
    addItem(temp, menu::mnuCopyData, QStringLiteral("Копи&ровать данные"));
    addItem(temp, menu::mnuInsertData, QStringLiteral("Встав&ить данные"));
    addSeparator(temp, QStringLiteral("mnu14"));
    addItem(temp, menu::mnuGetInMind, QStringLiteral("С&делать снимок графика..."));
    addItem(temp, menu::mnuFromMemory, QStringLiteral("&Вставить снимок"))->setEnabled(false);
    addItem(temp, menu::mnuClearMemory, QStringLiteral("&Стереть снимок"))->setEnabled(false);
    addSeparator(temp, QStringLiteral("mnu16"));
    addItem(temp, menu::mnuNewSession, QStringLiteral("&Начать новый сеанс"));
    addItem(temp, menu::mnuAppl, QStringLiteral("Свойства  &Графика..."));

    addSpacer(QStringLiteral("лд"));

    QMenu *help = topMenu(menu::mnuhelp, QStringLiteral("Помо&щь"));
    addItem(help, menu::mnuContent, QStringLiteral("&Справка"));
    addSeparator(help, QStringLiteral("m2"));
    addItem(help, menu::mnuLirant, QStringLiteral("&Лист Цен ZID \"ЛИРАНТ\""));
    addSeparator(help, QStringLiteral("m30"));
    addItem(help, menu::mnuAbout, QStringLiteral("&О программе"));

    addSpacer(QStringLiteral("as"));

    // The chart's context menu; never shown in the menu bar.
    QMenu *mouse = addSubmenu(nullptr, menu::mnuMouse, QStringLiteral("Мышкино меню"));
    QMenu *renew = addSubmenu(mouse, menu::mnuReNew, QStringLiteral("Обновление графика"));
    for (const auto &[name, caption] : {
             std::pair{menu::mnuY064Sec, u"Через каждую точку"},
             std::pair{menu::mnuY64Sec, u"Через 10 точек"},
             std::pair{menu::mnuY32Sec, u"Через 50 точек"},
             std::pair{menu::mnuY1min, u"Через 100 точек"},
             std::pair{menu::mnuY5min, u"Через 500 точек"},
             std::pair{menu::mnuY10min, u"Через 1000 точек"},
         })
        addItem(renew, name, text(caption))->setCheckable(true);
    QMenu *read = addSubmenu(mouse, menu::mnuRead, QStringLiteral("Период считывания точек"));
    for (const auto &[name, caption] : {
             std::pair{menu::mnuR064Sec, u"Через 0,64 сек"},
             std::pair{menu::mnuR3Sec, u"Через 3,12 сек"},
             std::pair{menu::mnuR12Sec, u"Через 12,8 сек"},
             std::pair{menu::mnuR1min, u"Через 1 мин 4 сек"},
             std::pair{menu::mnuR2min, u"Через 2 мин 40 сек"},
             std::pair{menu::mnuR5min, u"Через 5 мин 20 сек"},
         })
        addItem(read, name, text(caption))->setCheckable(true);
    addSeparator(mouse, QStringLiteral("mnuR1"));
    addItem(mouse, menu::mnuGraphProper, QStringLiteral("&Свойства графика"));
    QMenu *color = addSubmenu(mouse, menu::mnuColor, QStringLiteral("Цвет"));
    QMenu *indicatorColor = addSubmenu(color, menu::mnuIndicatorColor, QStringLiteral("Цифровой индикатор"));
    addItem(indicatorColor, menu::mnuBackColor, QStringLiteral("Фон"));
    addItem(indicatorColor, menu::mnuPenColor, QStringLiteral("Перо"));
    addItem(color, menu::mnuCurveColor, QStringLiteral("Кривая нагрева"));
    addItem(color, menu::mnuLegendColor, QStringLiteral("Поле \"Обозначения\""));
    addItem(color, menu::mnuChartColor, QStringLiteral("Фон поля графика"));
    addItem(color, menu::mnuPlotColor, QStringLiteral("Фон графика"));
    QMenu *axis = addSubmenu(color, menu::mnuAxisTitle, QStringLiteral("Ось"));
    addItem(axis, menu::mnuColorX, QStringLiteral("Ось Х"));
    addItem(axis, menu::mnuAxisYColor, QStringLiteral("Ось Y"));
    addItem(axis, menu::mnuAxisY2Color, QStringLiteral("Ось Y2"));
    addSeparator(mouse, QStringLiteral("mnu13"));
    QAction *showLegend = addItem(mouse, menu::mnuShowLegend, QStringLiteral("Обозначения   Вкл\\Выкл"));
    showLegend->setCheckable(true);
    showLegend->setChecked(true);
    addItem(mouse, menu::mnuRefresh, QStringLiteral("Обновить"));

    addSpacer(QStringLiteral("mnuR2"));

    // The X axis's context menu; never shown in the menu bar.
    QMenu *axisX = addSubmenu(nullptr, menu::mnuAxisXTitle, QStringLiteral("Ось Х"));
    QMenu *grid = addSubmenu(axisX, menu::mnuGridXSec, QStringLiteral("&Деления  решётки  Оси Х "));
    addItem(grid, menu::mnuAutoTickDivis, QStringLiteral("&Автоматически"))->setCheckable(true);
    addSeparator(grid, QStringLiteral("mnuXBar1"));
    for (const auto &[name, caption] : {
             std::pair{menu::mnuX064Sec, u"Через  каждую точку"},
             std::pair{menu::mnuX64Sec, u"Через 10 точек"},
             std::pair{menu::mnuX32Sec, u"Через 50 точек"},
             std::pair{menu::mnuX1min, u"Через 100 точек"},
             std::pair{menu::mnuX5min, u"Через 500 точек"},
             std::pair{menu::mnuX10min, u"Через 1000 точек"},
             std::pair{menu::mnuX26min, u"Через 2500 точек"},
         })
        addItem(grid, name, text(caption))->setCheckable(true);
    m_items.value(menu::mnuX64Sec)->setChecked(true);
}

void frmTerminal::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Панель инструментов"));
    m_toolBar->setObjectName(QStringLiteral("tbrToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    int separators = 0;
    for (const ToolButton &b : ToolButtons) {
        if (!b.key) {
            m_toolBar->addSeparator()->setObjectName(QStringLiteral("tbrSeparator%1").arg(++separators));
            continue;
        }
        const QString key = *b.key;
        // The button's caption is its tooltip, so screen readers read what sighted users see.
        QAction *action = m_toolBar->addAction(style()->standardIcon(b.icon), text(b.tooltip));
        action->setObjectName(key);
        action->setToolTip(text(b.tooltip));
        action->setStatusTip(text(b.description));
        action->setWhatsThis(text(b.description));
        action->setData(key);
        m_items.insert(key, action);
        connect(action, &QAction::triggered, this, [this, key] { Q_EMIT toolbarButton(key); });
    }
    // No recording file yet: only the open button works.
    m_items.value(toolbar::CloseLogFile)->setEnabled(false);
}

void frmTerminal::buildStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbrStatus"));
    bar->setSizeGripEnabled(true);
    for (const Panel &p : Panels) {
        auto *label = new QLabel(text(p.text), bar);
        label->setObjectName(p.key);
        label->setToolTip(text(p.tooltip));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(120);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int stretch = p.key == panel::Status ? 3 : 2;
        m_panels.insert(p.key, label);
        if (p.key == panel::Counter || p.key == panel::ConnectTime) {
            // Written with every reading or every second: see PanelPlace.
            auto *place = new PanelPlace(label, bar);
            bar->addPermanentWidget(place, stretch);
            m_panelPlaces.insert(p.key, place);
        } else {
            bar->addPermanentWidget(label, stretch);
        }
    }
}

void frmTerminal::buildCentralArea() {
    // No layout manager: applyLayout() places every control on each resize.
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralArea"));
    central->installEventFilter(this);

    QWidget *chartView = m_chart->widget();
    chartView->setParent(central);

    // The digital indicator column with its clear button beneath.
    m_txtTerm = new QPlainTextEdit(central);
    m_txtTerm->setObjectName(QStringLiteral("txtTerm"));
    m_txtTerm->setToolTip(
        QStringLiteral("Окно индикации поступления данных   Температура  оС: Тысячи, сотни, десятки, единицы"));
    m_txtTerm->setAccessibleName(QStringLiteral("Цифровой индикатор"));
    m_txtTerm->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtTerm->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtTerm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtTerm->document()->setDocumentMargin(2);
    QFont mono = QFont(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(12);
    mono.setBold(true);
    m_txtTerm->setFont(mono);
    m_txtTerm->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #000000; color: #00ff00; }"));
    m_termBox = std::make_unique<QtTextBox>(m_txtTerm);
    m_txtTerm->installEventFilter(this);
    m_clearButton = new QPushButton(QStringLiteral("Очистить"), central);
    m_clearButton->setObjectName(QStringLiteral("Command1"));
    connect(m_clearButton, &QPushButton::clicked, this, &frmTerminal::clearClicked);

    // The small controls pinned to the lower right edge, over the chart.
    m_txtSig = new QLineEdit(central);
    m_txtSig->setObjectName(QStringLiteral("txtSig"));
    m_txtSig->setToolTip(QStringLiteral("Установленное значение сигнальной температуры"));
    m_txtSig->setAccessibleName(QStringLiteral("Сигнальная температура"));
    m_txtSig->setReadOnly(true);
    m_pointText = new QLineEdit(QStringLiteral("Значение точки на кривой в град."), central);
    m_pointText->setObjectName(QStringLiteral("PointText"));
    m_pointText->setAccessibleName(QStringLiteral("Значение точки"));
    m_pointText->setReadOnly(true);
    m_pointText->setFrame(false);
    m_pointText->setCursorPosition(0);
    m_pointText->installEventFilter(this);
    m_cmdNew = new QPushButton(QStringLiteral("Обновить"), central);
    m_cmdNew->setObjectName(QStringLiteral("cmdNew"));
    connect(m_cmdNew, &QPushButton::clicked, this, &frmTerminal::refreshClicked);

    // The port-state frame: two pictures at one place, the front one shows the state.
    m_portStateFrame = new QGroupBox(central);
    m_portStateFrame->setObjectName(QStringLiteral("Frame1"));
    m_portStateFrame->setAccessibleName(QStringLiteral("Состояние порта"));
    auto *frameLayout = new QVBoxLayout(m_portStateFrame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    m_pictures = new QStackedWidget(m_portStateFrame);
    m_imgConnected = new QLabel(m_pictures);
    m_imgConnected->setObjectName(QStringLiteral("imgConnected"));
    m_imgConnected->setPixmap(connectedPicture());
    m_imgConnected->setToolTip(QStringLiteral("Порт открыт"));
    m_imgConnected->setAccessibleName(QStringLiteral("Порт открыт"));
    m_imgNotConnected = new QLabel(m_pictures);
    m_imgNotConnected->setObjectName(QStringLiteral("imgNotConnected"));
    m_imgNotConnected->setPixmap(notConnectedPicture());
    m_imgNotConnected->setToolTip(QStringLiteral("Порт закрыт"));
    m_imgNotConnected->setAccessibleName(QStringLiteral("Порт закрыт"));
    for (QLabel *img : {m_imgConnected, m_imgNotConnected}) {
        img->setAlignment(Qt::AlignCenter);
        img->setCursor(Qt::PointingHandCursor);
        img->installEventFilter(this);
        m_pictures->addWidget(img);
    }
    m_pictures->setCurrentWidget(m_imgNotConnected);
    frameLayout->addWidget(m_pictures);
    m_portStateFrame->adjustSize();

    // The small controls have small fixed heights: a small font fits them.
    QFont small = font();
    small.setPointSize(8);
    for (QWidget *w : {static_cast<QWidget *>(m_clearButton), static_cast<QWidget *>(m_txtSig),
                       static_cast<QWidget *>(m_pointText), static_cast<QWidget *>(m_cmdNew)})
        w->setFont(small);
    m_txtSig->setFrame(false);
    // The point value field is 2800 twips wide: its prompt fits at 7 points.
    small.setPointSize(7);
    m_pointText->setFont(small);
    m_pointText->setTextMargins(0, 0, 0, 0);
    for (QWidget *w : {static_cast<QWidget *>(m_txtSig), static_cast<QWidget *>(m_pointText),
                       static_cast<QWidget *>(m_cmdNew), static_cast<QWidget *>(m_portStateFrame)})
        w->raise();
    setCentralWidget(central);
}

void frmTerminal::applyLayout() {
    QWidget *central = centralWidget();
    if (!central)
        return;
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    auto tx = [&](int px) { return pixelsToTwips(px, dpiX); };
    auto ty = [&](int px) { return pixelsToTwips(px, dpiY); };
    // The inner area starts under the menu bar; the toolbar and the status
    // bar are the parts of it above and below the central area.
    const QRect area = central->geometry();
    const int innerTop = menuWidget() && menuWidget()->isVisible() ? menuWidget()->geometry().bottom() + 1 : 0;

    WindowLayout::Input in;
    in.toolbarHeight = ty(area.top() - innerTop);
    in.statusBarHeight = ty(height() - area.bottom() - 1);
    in.innerHeight = ty(height() - innerTop);
    in.innerWidth = tx(width());
    in.outerWidth = tx(frameGeometry().width());
    in.clearButtonHeight = ClearButtonHeight;
    in.frameWidth = tx(m_portStateFrame->width());
    in.indicatorShown = !m_txtTerm->isHidden();
    const WindowLayout::Result r = WindowLayout::place(in);

    // Twips of the inner area to pixels of the central area.
    auto px = [&](int twips) { return twipsToPixels(twips, dpiX); };
    auto py = [&](int twips) { return twipsToPixels(twips, dpiY) + innerTop - area.top(); };
    auto put = [&](QWidget *w, const std::optional<TwipRect> &rect) {
        if (rect)
            w->setGeometry(px(rect->left), py(rect->top), px(rect->width), twipsToPixels(rect->height, dpiY));
    };
    put(m_chart->widget(), r.chart);
    if (r.indicator) {
        m_txtTerm->show();
        put(m_txtTerm, r.indicator);
    } else if (!in.indicatorShown) {
        m_txtTerm->hide();
    }
    if (QAction *item = m_items.value(menu::mnuViewIndicator))
        item->setChecked(in.indicatorShown);
    m_clearButton->setGeometry(m_clearButton->x(), py(r.clearButtonTop), px(WindowLayout::IndicatorWidth),
                               twipsToPixels(ClearButtonHeight, dpiY));
    put(m_cmdNew, r.refresh);
    put(m_pointText, r.pointText);
    if (r.pointText) {
        // The signal temperature box, left of the point value field.
        const int sigWidth = px(SigTextWidth);
        m_txtSig->setGeometry(px(r.pointText->left) - sigWidth - px(SigTextGap), py(r.pointText->top), sigWidth,
                              twipsToPixels(r.pointText->height, dpiY));
    }
    m_portStateFrame->move(px(r.frameLeft), std::max(0, py(FrameTop)));
}

void frmTerminal::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void frmTerminal::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    applyLayout();
}

bool frmTerminal::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_txtTerm && event->type() == QEvent::KeyPress && terminalKeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty() && !terminalKeyPress(typed))
            return true;
    }
    if (watched == m_txtTerm && event->type() == QEvent::InputMethod && terminalKeyPress) {
        // Text composed by an input method counts as typed, character by character.
        bool take = true;
        for (const QChar c : static_cast<QInputMethodEvent *>(event)->commitString())
            take = terminalKeyPress(QString(c)) && take;
        if (!take)
            return true;
    }
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        applyLayout();
    if (watched == m_pointText) {
        if (event->type() == QEvent::FocusIn)
            Q_EMIT pointTextFocused();
        else if (event->type() == QEvent::MouseButtonDblClick) {
            Q_EMIT pointTextDoubleClicked();
            return true;
        }
    }
    if ((watched == m_imgConnected || watched == m_imgNotConnected) && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT connectionPictureClicked();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmTerminal::closeEvent(QCloseEvent *event) {
    Q_EMIT unloading();
    event->accept();
}

QMenu *frmTerminal::menu(const QString &name) const {
    return m_menus.value(name);
}

QAction *frmTerminal::item(const QString &name) const {
    return m_items.value(name);
}

void frmTerminal::setPanelText(const QString &key, const QString &text) {
    QLabel *label = m_panels.value(key);
    if (!label)
        return;
    const bool otherLength = label->text().size() != text.size();
    label->setText(text);
    if (QWidget *place = m_panelPlaces.value(key); place && otherLength)
        place->updateGeometry();
}

QString frmTerminal::panelText(const QString &key) const {
    QLabel *label = m_panels.value(key);
    return label ? label->text() : QString();
}

void frmTerminal::setItemChecked(const QString &name, bool checked) {
    if (QAction *a = m_items.value(name)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

bool frmTerminal::itemChecked(const QString &name) const {
    QAction *a = m_items.value(name);
    return a && a->isChecked();
}

void frmTerminal::setItemEnabled(const QString &name, bool enabled) {
    if (QAction *a = m_items.value(name))
        a->setEnabled(enabled);
}

bool frmTerminal::itemEnabled(const QString &name) const {
    QAction *a = m_items.value(name);
    return a && a->isEnabled();
}

void frmTerminal::showConnected(bool connected) {
    m_pictures->setCurrentWidget(connected ? m_imgConnected : m_imgNotConnected);
}

bool frmTerminal::connectedShown() const {
    return m_pictures->currentWidget() == m_imgConnected;
}

TextBox &frmTerminal::terminalBox() {
    return *m_termBox;
}

void frmTerminal::setCaption(const QString &caption) {
    setWindowTitle(caption);
}

QString frmTerminal::caption() const {
    return windowTitle();
}

void frmTerminal::showAlarm(const QString &text) {
    if (!m_sigTemp)
        m_sigTemp = new SigTemp(this);
    m_sigTemp->txtSigTemp()->setText(text);
    m_sigTemp->show();
    m_sigTemp->raise();
}

void frmTerminal::showAbout() {
    // Loaded on each showing and unloaded when closed; a box still open is
    // brought to the front.
    if (!m_about)
        m_about = new frmAbout(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

frmAbout *frmTerminal::aboutWindow() const {
    return m_about.data();
}

void frmTerminal::showGraphSettings(GraphSettings &dialog) {
    frmPrGraph window(dialog, this);
    m_prGraph = &window;
    window.exec();
    m_prGraph = nullptr;
}

void frmTerminal::showSnapshotDialog(SnapshotDialog &dialog) {
    // A window that is closing is on its way out; a new one takes its place.
    if (m_snapShot && m_snapShot->isClosing())
        m_snapShot = nullptr;
    if (!m_snapShot)
        m_snapShot = new frmSnapShot(dialog, this);
    m_snapShot->show();
    m_snapShot->raise();
    m_snapShot->activateWindow();
}

frmSnapShot *frmTerminal::snapshotWindow() const {
    return m_snapShot;
}

void frmTerminal::showPortProperties(PortProperties &dialog) {
    frmProperties window(dialog, this);
    m_properties = &window;
    window.exec();
    m_properties = nullptr;
}

void frmTerminal::setSigText(const QString &text) {
    m_txtSig->setText(text);
}

QString frmTerminal::sigText() const {
    return m_txtSig->text();
}

void frmTerminal::setIndicatorVisible(bool visible) {
    m_txtTerm->setVisible(visible);
    applyLayout();
}

bool frmTerminal::indicatorVisible() const {
    return !m_txtTerm->isHidden();
}

void frmTerminal::setClearButtonVisible(bool visible) {
    m_clearButton->setVisible(visible);
}

bool frmTerminal::clearButtonVisible() const {
    return !m_clearButton->isHidden();
}

void frmTerminal::setIndicatorColors(std::int32_t background, std::int32_t text) {
    auto css = [](std::int32_t c) { return QColor(redPart(c), greenPart(c), bluePart(c)).name(); };
    m_txtTerm->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; color: %2; }").arg(css(background), css(text)));
}

bool frmTerminal::seriesDataVisible() const {
    return m_seriesData && m_seriesData->isVisible();
}

void frmTerminal::refreshSeriesData() {
    if (m_seriesData)
        m_seriesData->refresh();
}

void frmTerminal::showSeriesData(SeriesData &content) {
    // A new window each time: its load computes every field again.
    if (m_seriesData)
        m_seriesData->close();
    m_seriesData = new frmSeriesData(content, this);
    m_seriesData->show();
    m_seriesData->raise();
    m_seriesData->activateWindow();
}

void frmTerminal::setPointText(const QString &text) {
    m_pointText->setText(text);
    // Show the text from its start, not scrolled to the caret at its end.
    m_pointText->setCursorPosition(0);
}

QString frmTerminal::shownPointText() const {
    return m_pointText->text();
}

void frmTerminal::setPointTextBackground(std::int32_t colour) {
    QPalette palette = m_pointText->palette();
    palette.setColor(QPalette::Base, QColor(redPart(colour), greenPart(colour), bluePart(colour)));
    m_pointText->setPalette(palette);
    m_pointText->setAutoFillBackground(true);
}

void frmTerminal::popupMenu(const QString &name) {
    if (QMenu *m = m_menus.value(name))
        m->popup(QCursor::pos());
}

} // namespace zorneta
