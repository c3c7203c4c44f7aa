#include "shell/ui/MainWindow.h"

#include "acquisition/PortControl.h"
#include "acquisition/ui/PortSettingsWindow.h"
#include "chart/WindowLayout.h"
#include "chart/ui/SeriesDataWindow.h"
#include "common/Colour.h"
#include "common/ItemNames.h"
#include "platform/qt/QtChartSurface.h"
#include "recording/ui/SnapshotWindow.h"
#include "settings/ui/AlarmWindow.h"
#include "settings/ui/GraphSettingsWindow.h"
#include "shell/ui/AboutWindow.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/QtTextBox.h"
#include "shell/ui/WindowPlacement.h"

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
#include <QStyleOptionButton>
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
    {&toolbar::AlarmTemperature, u"Сигнальная температура", u"Сигнальная температура...", QStyle::SP_MessageBoxWarning},
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
    {&toolbar::GraphSettings, u"Свойства графика", u"Свойства графика...", QStyle::SP_FileDialogContentsView},
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

// What a push button's caption needs: its text within the style's margin
// and frame, at the style's height for a button. (Some styles, Fusion among
// them, also give every captioned button a width of at least 80 pixels;
// that floor is left out, so that the clear button stays under its column.)
QSize captionNeeds(const QPushButton *button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle *style = button->style();
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    const int text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    return QSize(text + margin + 2 * frame, button->sizeHint().height());
}

// Design sizes in twips: the clear button's height, the signal temperature
// box's width and its gap to the point value field, the port-state frame's top.
constexpr int ClearButtonHeight = 315;
constexpr int SigTextWidth = 1500;
constexpr int SigTextGap = 60;
constexpr int FrameTop = 600;

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(QStringLiteral("   Зорнета"));
    setWindowIcon(QIcon(logoPicture(64)));
    m_chart = std::make_unique<QtChartSurface>();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildCentralArea();
    resize(1000, 680);
    // This window and every dialog stay within the screen, at any scale.
    WindowPlacement::keepWindowsOnScreen();
}

MainWindow::~MainWindow() {
    // The chart's view is owned by the window's widgets; let it go before the
    // surface object does.
    if (QWidget *view = m_chart->widget())
        view->setParent(nullptr);
}

QAction *MainWindow::addItem(QMenu *menu, const QString &name, const QString &caption) {
    auto *action = menu->addAction(caption);
    action->setObjectName(name);
    m_items.insert(name, action);
    connect(action, &QAction::triggered, this, [this, name] { Q_EMIT menuCommand(name); });
    return action;
}

QAction *MainWindow::addSeparator(QMenu *menu, const QString &name) {
    QAction *action = menu->addSeparator();
    action->setObjectName(name);
    m_items.insert(name, action);
    return action;
}

QMenu *MainWindow::addSubmenu(QMenu *parent, const QString &name, const QString &caption) {
    QMenu *sub = parent ? parent->addMenu(caption) : new QMenu(caption, this);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    m_menus.insert(name, sub);
    m_items.insert(name, sub->menuAction());
    return sub;
}

QAction *MainWindow::addSpacer(const QString &name) {
    // A top-level item with an empty caption and no action: a small gap in the bar.
    QAction *action = menuBar()->addAction(QString());
    action->setObjectName(name);
    action->setEnabled(true);
    m_items.insert(name, action);
    return action;
}

void MainWindow::buildMenus() {
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

    QMenu *file = topMenu(menu::RecordingMenu, QStringLiteral("&Файл для записи данных"));
    addItem(file, menu::OpenRecording, QStringLiteral("&Создать ИЛИ Открыть..."));
    addItem(file, menu::CloseRecording, QStringLiteral("&Записать И Закрыть..."))->setEnabled(false);
    addSeparator(file, QStringLiteral("m3"));
    addItem(file, menu::Exit, QStringLiteral("В&ыход"));

    addSpacer(QStringLiteral("po1"));

    QMenu *view = topMenu(menu::ViewMenu, QStringLiteral("&Внешний вид"));
    addItem(view, menu::ViewUpdatePeriods, QStringLiteral("Период обновления..."));
    addItem(view, menu::ViewReadPeriods, QStringLiteral("Период считывания..."));
    addItem(view, menu::ViewXDivisions, QStringLiteral("Деления оси Х..."));
    addItem(view, menu::ViewColours, QStringLiteral("Цвет..."));
    QAction *indicator = addItem(view, menu::IndicatorOnOff, QStringLiteral("Цифровой индикатор   Вкл/Выкл"));
    indicator->setCheckable(true);
    indicator->setChecked(true);
    QAction *legendShow = addItem(view, menu::LegendOnOff, QStringLiteral("Обозначения    &Вкл/Выкл"));
    legendShow->setCheckable(true);
    legendShow->setChecked(true);
    addSeparator(view, QStringLiteral("exploreSeparator"));
    // Home does the same on the chart itself, when the chart has the focus
    // (see QtChartSurface): no window-wide shortcut, so every key typed into
    // the indicator still goes to the device.
    addItem(view, menu::WholeCurve, QStringLiteral("Вся кривая"));
    addItem(view, menu::ClockTimeAxis, QStringLiteral("Время по часам"))->setCheckable(true);

    addSpacer(QStringLiteral("ро"));

    QMenu *port = topMenu(menu::PortMenu, QStringLiteral("&Настройки Порта"));
    addItem(port, menu::OpenPort, QStringLiteral("Открыть &Порт"))->setCheckable(true);
    addSeparator(port, QStringLiteral("MBar1"));
    addItem(port, menu::PortSettings, QStringLiteral("Свойства  Порта..."));

    addSpacer(QStringLiteral("ол"));

    QMenu *temp = topMenu(menu::GraphMenu, QStringLiteral("Настройки &Графика"));
    addItem(temp, menu::AlarmTemperature, QStringLiteral("Сигнальная температ&ура..."));
    addSeparator(temp, QStringLiteral("MBar3"));
    addItem(temp, menu::CutGraphStart, QStringLiteral("Обрезать начало графика"));
    addItem(temp, menu::WholeGraph, QStringLiteral("В&есь график"));
    addItem(temp, menu::GraphEndOnly, QStringLiteral("&Только конец графика"));
    addSeparator(temp, QStringLiteral("MbarTemp"));
    addItem(temp, menu::CopyData, QStringLiteral("Копи&ровать данные"));
    addItem(temp, menu::InsertData, QStringLiteral("Встав&ить данные"));
    addSeparator(temp, QStringLiteral("mnu14"));
    addItem(temp, menu::TakeSnapshot, QStringLiteral("С&делать снимок графика..."));
    addItem(temp, menu::PasteSnapshot, QStringLiteral("&Вставить снимок"))->setEnabled(false);
    addItem(temp, menu::EraseSnapshot, QStringLiteral("&Стереть снимок"))->setEnabled(false);
    addSeparator(temp, QStringLiteral("mnu16"));
    addItem(temp, menu::NewSession, QStringLiteral("&Начать новый сеанс"));
    addItem(temp, menu::GraphSettings, QStringLiteral("Свойства  &Графика..."));

    addSpacer(QStringLiteral("лд"));

    QMenu *help = topMenu(menu::HelpMenu, QStringLiteral("Помо&щь"));
    // F1 carries no character, so it never takes a key the digital indicator
    // would send to the device.
    addItem(help, menu::HelpContents, QStringLiteral("&Справка"))->setShortcut(QKeySequence(Qt::Key_F1));
    addSeparator(help, QStringLiteral("m2"));
    addItem(help, menu::PriceList, QStringLiteral("&Лист Цен ZID \"ЛИРАНТ\""));
    addSeparator(help, QStringLiteral("m30"));
    addItem(help, menu::About, QStringLiteral("&О программе"));

    addSpacer(QStringLiteral("as"));

    // The chart's context menu; never shown in the menu bar.
    QMenu *mouse = addSubmenu(nullptr, menu::ChartMenu, QStringLiteral("Мышкино меню"));
    QMenu *renew = addSubmenu(mouse, menu::UpdatePeriodMenu, QStringLiteral("Обновление графика"));
    for (const auto &[name, caption] : {
             std::pair{menu::UpdateEvery1, u"Через каждую точку"},
             std::pair{menu::UpdateEvery10, u"Через 10 точек"},
             std::pair{menu::UpdateEvery50, u"Через 50 точек"},
             std::pair{menu::UpdateEvery100, u"Через 100 точек"},
             std::pair{menu::UpdateEvery500, u"Через 500 точек"},
             std::pair{menu::UpdateEvery1000, u"Через 1000 точек"},
         })
        addItem(renew, name, text(caption))->setCheckable(true);
    QMenu *read = addSubmenu(mouse, menu::ReadPeriodMenu, QStringLiteral("Период считывания точек"));
    for (const auto &[name, caption] : {
             std::pair{menu::ReadEvery1, u"Через 0,64 сек"},
             std::pair{menu::ReadEvery5, u"Через 3,12 сек"},
             std::pair{menu::ReadEvery20, u"Через 12,8 сек"},
             std::pair{menu::ReadEvery100, u"Через 1 мин 4 сек"},
             std::pair{menu::ReadEvery250, u"Через 2 мин 40 сек"},
             std::pair{menu::ReadEvery500, u"Через 5 мин 20 сек"},
         })
        addItem(read, name, text(caption))->setCheckable(true);
    addSeparator(mouse, QStringLiteral("mnuR1"));
    addItem(mouse, menu::ChartGraphSettings, QStringLiteral("&Свойства графика"));
    QMenu *color = addSubmenu(mouse, menu::ColourMenu, QStringLiteral("Цвет"));
    QMenu *indicatorColor = addSubmenu(color, menu::IndicatorColourMenu, QStringLiteral("Цифровой индикатор"));
    addItem(indicatorColor, menu::IndicatorBackColour, QStringLiteral("Фон"));
    addItem(indicatorColor, menu::IndicatorTextColour, QStringLiteral("Перо"));
    addItem(color, menu::CurveColour, QStringLiteral("Кривая нагрева"));
    addItem(color, menu::LegendColour, QStringLiteral("Поле \"Обозначения\""));
    addItem(color, menu::ChartColour, QStringLiteral("Фон поля графика"));
    addItem(color, menu::PlotColour, QStringLiteral("Фон графика"));
    QMenu *axis = addSubmenu(color, menu::AxisColourMenu, QStringLiteral("Ось"));
    addItem(axis, menu::XAxisColour, QStringLiteral("Ось Х"));
    addItem(axis, menu::YAxisColour, QStringLiteral("Ось Y"));
    addItem(axis, menu::Y2AxisColour, QStringLiteral("Ось Y2"));
    addSeparator(mouse, QStringLiteral("mnu13"));
    QAction *showLegend = addItem(mouse, menu::ChartLegendOnOff, QStringLiteral("Обозначения   Вкл\\Выкл"));
    showLegend->setCheckable(true);
    showLegend->setChecked(true);
    addItem(mouse, menu::Rescale, QStringLiteral("Обновить"));

    addSpacer(QStringLiteral("mnuR2"));

    // The X axis's context menu; never shown in the menu bar.
    QMenu *axisX = addSubmenu(nullptr, menu::XAxisMenu, QStringLiteral("Ось Х"));
    QMenu *grid = addSubmenu(axisX, menu::XDivisionsMenu, QStringLiteral("&Деления  решётки  Оси Х "));
    addItem(grid, menu::AutoXDivisions, QStringLiteral("&Автоматически"))->setCheckable(true);
    addSeparator(grid, QStringLiteral("mnuXBar1"));
    for (const auto &[name, caption] : {
             std::pair{menu::XDivisions1, u"Через  каждую точку"},
             std::pair{menu::XDivisions10, u"Через 10 точек"},
             std::pair{menu::XDivisions50, u"Через 50 точек"},
             std::pair{menu::XDivisions100, u"Через 100 точек"},
             std::pair{menu::XDivisions500, u"Через 500 точек"},
             std::pair{menu::XDivisions1000, u"Через 1000 точек"},
             std::pair{menu::XDivisions2500, u"Через 2500 точек"},
         })
        addItem(grid, name, text(caption))->setCheckable(true);
    m_items.value(menu::XDivisions10)->setChecked(true);

    // Recordings looked at after the fact, and the session on the line put
    // out the same ways.
    QMenu *review = topMenu(menu::ReviewMenu, QStringLiteral("&Обзор"));
    addItem(review, menu::ReviewRecording, QStringLiteral("Просмотреть запись…"));
    addSeparator(review, QStringLiteral("reviewBar"));
    addItem(review, menu::ExportSessionCsv, QStringLiteral("Экспорт в CSV…"));
    addItem(review, menu::ReportSession, QStringLiteral("Отчёт…"));
}

void MainWindow::buildToolBar() {
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

void MainWindow::buildStatusBar() {
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
        if (p.key == panel::ConnectTime) {
            // The elapsed time is never cut off: the panel is at least as wide
            // as its longest text; the other panels give way.
            for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
                const QString elapsed = QStringLiteral("%1%1:%1%1:%1%1").arg(QChar(digit));
                for (const QString &longest :
                     {PortControl::connectionTimeText(elapsed), PortControl::durationText(elapsed)}) {
                    label->setText(longest);
                    label->setMinimumWidth(std::max(label->minimumWidth(), label->sizeHint().width()));
                }
            }
            label->setText(text(p.text));
        }
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

void MainWindow::buildCentralArea() {
    // No layout manager: applyLayout() places every control on each resize.
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralArea"));
    central->installEventFilter(this);

    QWidget *chartView = m_chart->widget();
    chartView->setParent(central);

    // The digital indicator column with its clear button beneath.
    m_terminalEdit = new QPlainTextEdit(central);
    m_terminalEdit->setObjectName(QStringLiteral("txtTerm"));
    m_terminalEdit->setToolTip(
        QStringLiteral("Окно индикации поступления данных   Температура  оС: Тысячи, сотни, десятки, единицы"));
    m_terminalEdit->setAccessibleName(QStringLiteral("Цифровой индикатор"));
    m_terminalEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_terminalEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_terminalEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_terminalEdit->document()->setDocumentMargin(2);
    QFont mono = QFont(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(12);
    mono.setBold(true);
    m_terminalEdit->setFont(mono);
    m_terminalEdit->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #000000; color: #00ff00; }"));
    m_termBox = std::make_unique<QtTextBox>(m_terminalEdit);
    m_terminalEdit->installEventFilter(this);
    m_clearButton = new QPushButton(QStringLiteral("Очистить"), central);
    m_clearButton->setObjectName(QStringLiteral("Command1"));
    connect(m_clearButton, &QPushButton::clicked, this, &MainWindow::clearClicked);

    // The small controls pinned to the lower right edge, over the chart.
    m_alarmTemperatureBox = new QLineEdit(central);
    m_alarmTemperatureBox->setObjectName(QStringLiteral("txtSig"));
    m_alarmTemperatureBox->setToolTip(QStringLiteral("Установленное значение сигнальной температуры"));
    m_alarmTemperatureBox->setAccessibleName(QStringLiteral("Сигнальная температура"));
    m_alarmTemperatureBox->setReadOnly(true);
    m_pointText = new QLineEdit(QStringLiteral("Значение точки на кривой в град."), central);
    m_pointText->setObjectName(QStringLiteral("PointText"));
    m_pointText->setAccessibleName(QStringLiteral("Значение точки"));
    m_pointText->setReadOnly(true);
    m_pointText->setFrame(false);
    m_pointText->setCursorPosition(0);
    m_pointText->installEventFilter(this);
    m_refreshButton = new QPushButton(QStringLiteral("Обновить"), central);
    m_refreshButton->setObjectName(QStringLiteral("cmdNew"));
    connect(m_refreshButton, &QPushButton::clicked, this, &MainWindow::refreshClicked);

    // The port-state frame: two pictures at one place, the front one shows the state.
    m_portStateFrame = new QGroupBox(central);
    m_portStateFrame->setObjectName(QStringLiteral("Frame1"));
    m_portStateFrame->setAccessibleName(QStringLiteral("Состояние порта"));
    auto *frameLayout = new QVBoxLayout(m_portStateFrame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    m_pictures = new QStackedWidget(m_portStateFrame);
    m_connectedPicture = new QLabel(m_pictures);
    m_connectedPicture->setObjectName(QStringLiteral("imgConnected"));
    m_connectedPicture->setPixmap(connectedPicture());
    m_connectedPicture->setToolTip(QStringLiteral("Порт открыт"));
    m_connectedPicture->setAccessibleName(QStringLiteral("Порт открыт"));
    m_notConnectedPicture = new QLabel(m_pictures);
    m_notConnectedPicture->setObjectName(QStringLiteral("imgNotConnected"));
    m_notConnectedPicture->setPixmap(notConnectedPicture());
    m_notConnectedPicture->setToolTip(QStringLiteral("Порт закрыт"));
    m_notConnectedPicture->setAccessibleName(QStringLiteral("Порт закрыт"));
    for (QLabel *img : {m_connectedPicture, m_notConnectedPicture}) {
        img->setAlignment(Qt::AlignCenter);
        img->setCursor(Qt::PointingHandCursor);
        img->installEventFilter(this);
        m_pictures->addWidget(img);
    }
    m_pictures->setCurrentWidget(m_notConnectedPicture);
    frameLayout->addWidget(m_pictures);
    m_portStateFrame->adjustSize();

    // The small controls have small fixed heights: a small font fits them.
    QFont small = font();
    small.setPointSize(8);
    for (QWidget *w : {static_cast<QWidget *>(m_clearButton), static_cast<QWidget *>(m_alarmTemperatureBox),
                       static_cast<QWidget *>(m_pointText), static_cast<QWidget *>(m_refreshButton)})
        w->setFont(small);
    m_alarmTemperatureBox->setFrame(false);
    // The point value field is 2800 twips wide: its prompt fits at 7 points.
    small.setPointSize(7);
    m_pointText->setFont(small);
    m_pointText->setTextMargins(0, 0, 0, 0);
    for (QWidget *w : {static_cast<QWidget *>(m_alarmTemperatureBox), static_cast<QWidget *>(m_pointText),
                       static_cast<QWidget *>(m_refreshButton), static_cast<QWidget *>(m_portStateFrame)})
        w->raise();
    setCentralWidget(central);
}

void MainWindow::applyLayout() {
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
    in.indicatorShown = !m_terminalEdit->isHidden();
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
        m_terminalEdit->show();
        put(m_terminalEdit, r.indicator);
    } else if (!in.indicatorShown) {
        m_terminalEdit->hide();
    }
    if (QAction *item = m_items.value(menu::IndicatorOnOff))
        item->setChecked(in.indicatorShown);
    // The two buttons are never smaller than their captions need: a larger
    // one grows away from the edges it is pinned to (the clear button to the
    // right and up, the refresh button to the left and up), and the fields
    // left of the refresh button move aside with it.
    QRect clear(m_clearButton->x(), py(r.clearButtonTop), px(WindowLayout::IndicatorWidth),
                twipsToPixels(ClearButtonHeight, dpiY));
    const QSize clearNeeds = captionNeeds(m_clearButton);
    clear.setWidth(std::max(clear.width(), clearNeeds.width()));
    clear.setTop(std::min(clear.top(), clear.bottom() + 1 - clearNeeds.height()));
    m_clearButton->setGeometry(clear);
    int shift = 0;
    if (r.refresh) {
        QRect refresh(px(r.refresh->left), py(r.refresh->top), px(r.refresh->width),
                      twipsToPixels(r.refresh->height, dpiY));
        const QSize refreshNeeds = captionNeeds(m_refreshButton);
        shift = std::max(0, refreshNeeds.width() - refresh.width());
        refresh.setLeft(refresh.left() - shift);
        refresh.setTop(std::min(refresh.top(), refresh.bottom() + 1 - refreshNeeds.height()));
        m_refreshButton->setGeometry(refresh);
    }
    if (r.pointText) {
        m_pointText->setGeometry(px(r.pointText->left) - shift, py(r.pointText->top), px(r.pointText->width),
                                 twipsToPixels(r.pointText->height, dpiY));
        // The signal temperature box, left of the point value field.
        const int sigWidth = px(SigTextWidth);
        m_alarmTemperatureBox->setGeometry(px(r.pointText->left) - shift - sigWidth - px(SigTextGap),
                                           py(r.pointText->top), sigWidth, twipsToPixels(r.pointText->height, dpiY));
    }
    m_portStateFrame->move(px(r.frameLeft), std::max(0, py(FrameTop)));
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void MainWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    applyLayout();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_terminalEdit && event->type() == QEvent::KeyPress && terminalKeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty() && !terminalKeyPress(typed))
            return true;
    }
    if (watched == m_terminalEdit && event->type() == QEvent::InputMethod && terminalKeyPress) {
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
    if ((watched == m_connectedPicture || watched == m_notConnectedPicture) &&
        event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT connectionPictureClicked();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    Q_EMIT unloading();
    event->accept();
}

QMenu *MainWindow::menu(const QString &name) const {
    return m_menus.value(name);
}

QAction *MainWindow::item(const QString &name) const {
    return m_items.value(name);
}

void MainWindow::setPanelText(const QString &key, const QString &text) {
    QLabel *label = m_panels.value(key);
    if (!label)
        return;
    const bool otherLength = label->text().size() != text.size();
    label->setText(text);
    if (QWidget *place = m_panelPlaces.value(key); place && otherLength)
        place->updateGeometry();
}

QString MainWindow::panelText(const QString &key) const {
    QLabel *label = m_panels.value(key);
    return label ? label->text() : QString();
}

void MainWindow::setItemChecked(const QString &name, bool checked) {
    if (QAction *a = m_items.value(name)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

bool MainWindow::itemChecked(const QString &name) const {
    QAction *a = m_items.value(name);
    return a && a->isChecked();
}

void MainWindow::setItemEnabled(const QString &name, bool enabled) {
    if (QAction *a = m_items.value(name))
        a->setEnabled(enabled);
}

bool MainWindow::itemEnabled(const QString &name) const {
    QAction *a = m_items.value(name);
    return a && a->isEnabled();
}

void MainWindow::showConnected(bool connected) {
    m_pictures->setCurrentWidget(connected ? m_connectedPicture : m_notConnectedPicture);
}

bool MainWindow::connectedShown() const {
    return m_pictures->currentWidget() == m_connectedPicture;
}

TextBox &MainWindow::terminalBox() {
    return *m_termBox;
}

void MainWindow::setCaption(const QString &caption) {
    setWindowTitle(caption);
}

QString MainWindow::caption() const {
    return windowTitle();
}

void MainWindow::showAlarm(const QString &text) {
    if (!m_sigTemp)
        m_sigTemp = new AlarmWindow(this);
    m_sigTemp->messageField()->setText(text);
    m_sigTemp->show();
    m_sigTemp->raise();
}

void MainWindow::showAbout() {
    // Loaded on each showing and unloaded when closed; a box still open is
    // brought to the front.
    if (!m_about)
        m_about = new AboutWindow(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

AboutWindow *MainWindow::aboutWindow() const {
    return m_about.data();
}

void MainWindow::showGraphSettings(GraphSettings &dialog) {
    GraphSettingsWindow window(dialog, this);
    m_prGraph = &window;
    window.exec();
    m_prGraph = nullptr;
}

void MainWindow::showSnapshotDialog(SnapshotDialog &dialog) {
    // A window that is closing is on its way out; a new one takes its place.
    if (m_snapShot && m_snapShot->isClosing())
        m_snapShot = nullptr;
    if (!m_snapShot)
        m_snapShot = new SnapshotWindow(dialog, this);
    m_snapShot->show();
    m_snapShot->raise();
    m_snapShot->activateWindow();
}

SnapshotWindow *MainWindow::snapshotWindow() const {
    return m_snapShot;
}

void MainWindow::showPortProperties(PortProperties &dialog) {
    PortSettingsWindow window(dialog, this);
    m_properties = &window;
    window.exec();
    m_properties = nullptr;
}

void MainWindow::setSigText(const QString &text) {
    m_alarmTemperatureBox->setText(text);
}

QString MainWindow::sigText() const {
    return m_alarmTemperatureBox->text();
}

void MainWindow::setIndicatorVisible(bool visible) {
    m_terminalEdit->setVisible(visible);
    applyLayout();
}

bool MainWindow::indicatorVisible() const {
    return !m_terminalEdit->isHidden();
}

void MainWindow::setClearButtonVisible(bool visible) {
    m_clearButton->setVisible(visible);
}

bool MainWindow::clearButtonVisible() const {
    return !m_clearButton->isHidden();
}

void MainWindow::setIndicatorColors(std::int32_t background, std::int32_t text) {
    auto css = [](std::int32_t c) { return QColor(redPart(c), greenPart(c), bluePart(c)).name(); };
    m_terminalEdit->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; color: %2; }").arg(css(background), css(text)));
}

bool MainWindow::seriesDataVisible() const {
    return m_seriesData && m_seriesData->isVisible();
}

void MainWindow::refreshSeriesData() {
    if (m_seriesData)
        m_seriesData->refresh();
}

void MainWindow::showSeriesData(SeriesData &content) {
    // A new window each time: its load computes every field again.
    if (m_seriesData)
        m_seriesData->close();
    m_seriesData = new SeriesDataWindow(content, this);
    m_seriesData->show();
    m_seriesData->raise();
    m_seriesData->activateWindow();
}

void MainWindow::setPointText(const QString &text) {
    m_pointText->setText(text);
    // Show the text from its start, not scrolled to the caret at its end.
    m_pointText->setCursorPosition(0);
}

QString MainWindow::shownPointText() const {
    return m_pointText->text();
}

void MainWindow::setPointTextBackground(std::int32_t colour) {
    QPalette palette = m_pointText->palette();
    palette.setColor(QPalette::Base, QColor(redPart(colour), greenPart(colour), bluePart(colour)));
    m_pointText->setPalette(palette);
    m_pointText->setAutoFillBackground(true);
}

void MainWindow::popupMenu(const QString &name) {
    if (QMenu *m = m_menus.value(name))
        m->popup(QCursor::pos());
}

} // namespace zorneta
