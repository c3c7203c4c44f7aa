#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace zorneta {

class GraphSettings;
class SnapshotDialog;
class PortProperties;
class SeriesData;

// A multi-line text box with a caret and a selection, addressed the way the
// terminal output works on it: positions count characters from 0.
class TextBox {
public:
    virtual ~TextBox() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
    virtual qsizetype selStart() const = 0;
    virtual qsizetype selLength() const = 0;
    // Places the caret (and empties the selection).
    virtual void setSelStart(qsizetype position) = 0;
    // Selects from the caret on.
    virtual void setSelLength(qsizetype length) = 0;
    // Replaces the selection (or inserts at the caret) and leaves the caret after it.
    virtual void setSelText(const QString &text) = 0;
};

// What the logic shows on the main window. Menu items and toolbar buttons are
// addressed by name (menu item names, toolbar keys), status bar panels by key.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void setPanelText(const QString &key, const QString &text) = 0;
    virtual QString panelText(const QString &key) const = 0;

    virtual void setItemChecked(const QString &name, bool checked) = 0;
    virtual bool itemChecked(const QString &name) const = 0;
    virtual void setItemEnabled(const QString &name, bool enabled) = 0;
    virtual bool itemEnabled(const QString &name) const = 0;

    // Brings the connected or the not-connected picture to the front.
    virtual void showConnected(bool connected) = 0;
    virtual bool connectedShown() const = 0;

    virtual TextBox &terminalBox() = 0;

    virtual void setCaption(const QString &caption) = 0;
    virtual QString caption() const = 0;

    // Opens a menu (a context menu or one of its submenus) at the mouse.
    virtual void popupMenu(const QString &name) = 0;

    // Shows the graph settings dialog modally over its state; returns when
    // the dialog is closed.
    virtual void showGraphSettings(GraphSettings &dialog) = 0;

    // Shows the port settings dialog modally over its state; returns when
    // the dialog is closed.
    virtual void showPortProperties(PortProperties &dialog) = 0;
    // The About box, shown without blocking the main window.
    virtual void showAbout() = 0;
    // Shows the snapshot dialog without waiting (the same window again when
    // it is only hidden); the window follows the dialog's state.
    virtual void showSnapshotDialog(SnapshotDialog &dialog) = 0;

    // The alarm window: its message set and the window shown without waiting.
    virtual void showAlarm(const QString &text) = 0;

    // The current-parameters window, when it is open, follows each event.
    virtual bool seriesDataVisible() const = 0;
    virtual void refreshSeriesData() = 0;
    // Opens the current-parameters window (modeless) over its content.
    virtual void showSeriesData(SeriesData &content) = 0;

    // The point value field beside the chart; its background as 0x00BBGGRR.
    virtual void setPointText(const QString &text) = 0;
    virtual QString shownPointText() const = 0;
    virtual void setPointTextBackground(std::int32_t colour) = 0;

    // The signal temperature box beside the chart.
    virtual void setSigText(const QString &text) = 0;
    virtual QString sigText() const = 0;

    // Visibility of the digital indicator and the clear button, and the
    // indicator's colours (as 0x00BBGGRR).

    virtual void setIndicatorVisible(bool visible) = 0;
    virtual bool indicatorVisible() const = 0;
    virtual void setClearButtonVisible(bool visible) = 0;
    virtual bool clearButtonVisible() const = 0;
    virtual void setIndicatorColors(std::int32_t background, std::int32_t text) = 0;
};

// Checks item `index` of a radio family of menu items (entries with a
// `name`) and clears the others, in menu order.
template <typename T, std::size_t N> void checkOnly(MainView &view, const std::array<T, N> &family, std::size_t index) {
    for (std::size_t i = 0; i < N; ++i)
        view.setItemChecked(family[i].name, i == index);
}

} // namespace zorneta
