#include "shell/ui/WindowPlacement.h"

#include "session/Services.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>

namespace zorneta::WindowPlacement {

namespace {

const QString Section = QStringLiteral("Window");
const std::array<QString, 4> Keys = {QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                                     QStringLiteral("Height")};

QString application() {
    return QString::fromUtf16(AppTitle);
}

// Fits each window and dialog as it is shown.
class ScreenKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                fitOnScreen(*widget);
        }
        return false;
    }
};

QPointer<ScreenKeeper> g_keeper;

} // namespace

QRect fitted(const QRect &wanted, const QRect &area) {
    if (!area.isValid())
        return wanted;
    const QSize size = wanted.size().boundedTo(area.size());
    const int left = std::clamp(wanted.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(wanted.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

void keepWindowsOnScreen() {
    if (g_keeper || !qApp)
        return;
    g_keeper = new ScreenKeeper(qApp);
    qApp->installEventFilter(g_keeper);
}

void fitOnScreen(QWidget &window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                           frame.bottom() - inner.bottom());
    const QRect place = fitted(frame, screen->availableGeometry());
    if (place.size() != frame.size())
        window.resize(place.size().shrunkBy(margins).expandedTo(window.minimumSize()));
    if (place.topLeft() != frame.topLeft())
        window.move(place.topLeft());
}

void restore(QWidget &window, const SettingsStore &store) {
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        bool ok = false;
        values[i] = store.getSetting(application(), Section, Keys[i]).trimmed().toInt(&ok);
        if (!ok)
            return;
    }
    QRect place(values[0], values[1], values[2], values[3]);
    if (place.width() <= 0 || place.height() <= 0)
        return;
    const QScreen *screen = QGuiApplication::screenAt(place.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        place = fitted(place, screen->availableGeometry());
    place.setSize(place.size().expandedTo(window.minimumSize()));
    window.setGeometry(place);
}

Status save(const QWidget &window, SettingsStore &store) {
    // A maximised window is remembered at the place it comes back to.
    const QRect place = window.isMaximized() || window.isFullScreen() ? window.normalGeometry() : window.geometry();
    const std::array<int, 4> values = {place.x(), place.y(), place.width(), place.height()};
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (const Status st = store.saveSetting(application(), Section, Keys[i], QString::number(values[i])); !st)
            return st;
    }
    return Status::ok();
}

} // namespace zorneta::WindowPlacement
