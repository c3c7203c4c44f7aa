#pragma once

// In-memory doubles of the main window and the chart for headless tests.

#include "platform/ChartSurface.h"
#include "session/MainView.h"

#include <QHash>

#include <functional>
#include <QStringList>

namespace zorneta::testing {

// A text box with the terminal box's semantics, in memory.
class MemoryTextBox : public TextBox {
public:
    QString text() const override { return contents; }
    void setText(const QString &t) override {
        contents = t;
        selectionStart = std::min(selectionStart, contents.size());
        selectionLength = 0;
    }
    qsizetype selStart() const override { return selectionStart; }
    qsizetype selLength() const override { return selectionLength; }
    void setSelStart(qsizetype p) override {
        selectionStart = std::clamp<qsizetype>(p, 0, contents.size());
        selectionLength = 0;
    }
    void setSelLength(qsizetype n) override {
        selectionLength = std::clamp<qsizetype>(n, 0, contents.size() - selectionStart);
    }
    void setSelText(const QString &t) override {
        contents.replace(selectionStart, selectionLength, t);
        selectionStart += t.size();
        selectionLength = 0;
    }

    QString contents;
    qsizetype selectionStart = 0;
    qsizetype selectionLength = 0;
};

// The main window's state as plain values.
class MemoryMainView : public MainView {
public:
    void setPanelText(const QString &key, const QString &text) override { panels[key] = text; }
    QString panelText(const QString &key) const override { return panels.value(key); }
    void setItemChecked(const QString &name, bool checked) override { checkedItems[name] = checked; }
    bool itemChecked(const QString &name) const override { return checkedItems.value(name, false); }
    void setItemEnabled(const QString &name, bool enabled) override { enabledItems[name] = enabled; }
    bool itemEnabled(const QString &name) const override { return enabledItems.value(name, true); }
    void showConnected(bool c) override { connected = c; }
    bool connectedShown() const override { return connected; }
    TextBox &terminalBox() override { return box; }
    void setCaption(const QString &c) override { windowCaption = c; }
    QString caption() const override { return windowCaption; }
    void popupMenu(const QString &name) override { popups.append(name); }
    void showGraphSettings(GraphSettings &dialog) override {
        ++graphDialogsShown;
        if (whileGraphSettingsShown)
            whileGraphSettingsShown(dialog);
    }
    void showPortProperties(PortProperties &dialog) override {
        ++portDialogsShown;
        if (whilePortPropertiesShown)
            whilePortPropertiesShown(dialog);
    }
    void showAbout() override { ++aboutShown; }
    void showSnapshotDialog(SnapshotDialog &) override { ++snapshotDialogsShown; }
    void showAlarm(const QString &text) override {
        alarmText = text;
        ++alarmsShown;
    }
    bool seriesDataVisible() const override { return seriesData; }
    void refreshSeriesData() override { ++seriesDataRefreshes; }
    void showSeriesData(SeriesData &) override { seriesData = true; }
    void setPointText(const QString &t) override { point = t; }
    QString shownPointText() const override { return point; }
    void setPointTextBackground(std::int32_t colour) override { pointBack = colour; }
    void setSigText(const QString &t) override { sig = t; }
    QString sigText() const override { return sig; }
    void setIndicatorVisible(bool v) override { indicator = v; }
    bool indicatorVisible() const override { return indicator; }
    void setClearButtonVisible(bool v) override { clearButton = v; }
    bool clearButtonVisible() const override { return clearButton; }
    void setIndicatorColors(std::int32_t bg, std::int32_t fg) override {
        indicatorBack = bg;
        indicatorText = fg;
    }

    QHash<QString, QString> panels;
    QHash<QString, bool> checkedItems;
    QHash<QString, bool> enabledItems;
    bool connected = false;
    MemoryTextBox box;
    QString windowCaption = QStringLiteral("   Зорнета");
    QStringList popups;
    int graphDialogsShown = 0;
    int snapshotDialogsShown = 0;
    // What the user does in the graph settings dialog while it is shown.
    std::function<void(GraphSettings &)> whileGraphSettingsShown;
    int portDialogsShown = 0;
    // What the user does in the port settings dialog while it is shown.
    std::function<void(PortProperties &)> whilePortPropertiesShown;
    int aboutShown = 0;
    QString alarmText;
    int alarmsShown = 0;
    bool seriesData = false;
    int seriesDataRefreshes = 0;
    bool clearButton = true;
    bool indicator = true;
    QString sig;
    QString point = QStringLiteral("Значение точки на кривой в град.");
    std::int32_t pointBack = -1;
    std::int32_t indicatorBack = -1;
    std::int32_t indicatorText = -1;
};

// Records every chart call in order ("setAxisPenWidth(Y,25)", ...) and keeps
// the last table and settings. A name in `refuse` makes that call fail.
class RecordingChart : public ChartSurface {
public:
    void setChartData(const ReadingsTable &table) override;
    void refresh() override { calls.append(QStringLiteral("Refresh")); }
    Status setAxisPenWidth(Axis axis, float width) override;
    Status setAxisPenColor(Axis axis, int red, int green, int blue) override;
    Status setAxisScaleHidden(Axis axis, bool hidden) override;
    bool axisScaleHidden(Axis axis) const override { return hiddenAxes.value(static_cast<int>(axis), false); }
    Status setDivisionsPerLabel(int divisions) override;
    Status setDivisionsPerTick(int divisions) override;
    Status setLabelTick(bool onTicks) override;
    Status setCategoryScaleAuto(Axis axis, bool automatic) override;
    Status setAxisLabelFont(Axis axis, bool bold, int size) override;
    Status setValueScale(Axis axis, const ValueScale &scale) override;
    ValueScale valueScale(Axis) const override { return scale; }
    Status setSeriesPenColor(int red, int green, int blue) override;
    Status setSeriesPenWidth(float width) override;
    void setShowLegend(bool shown) override;
    bool showLegend() const override { return legend; }
    Status setBackdrop(Backdrop part, const BackdropStyle &style) override;
    BackdropStyle backdrop(Backdrop part) const override { return backdrops.value(static_cast<int>(part)); }
    Status setCurrentCell(int column, int row) override;
    double currentCellValue() const override { return currentValue; }
    QString rowLabel(int) const override { return title; }
    Status setRowLabel(int row, const QString &label) override;
    Status editCopy() override;
    Status editPaste() override;
    void move(int left, int top, int width, int height) override;
    void resetZoom() override;
    void setClockTimeAxis(bool clockTimes) override;

    static QString axisName(Axis axis);

    QStringList calls;
    QStringList refuse;
    ReadingsTable table;
    int tablesGiven = 0;
    QHash<int, bool> hiddenAxes;
    QHash<int, BackdropStyle> backdrops;
    ValueScale scale;
    bool legend = true;
    QString title;
    double currentValue = 0.0;
    int divisionsPerLabel = 1;
    int divisionsPerTick = 1;

private:
    Status record(const QString &call);
};

} // namespace zorneta::testing
