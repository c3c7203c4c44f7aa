#pragma once

#include "chart/ui/SeriesDataWindow.h"
#include "session/MainView.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QGroupBox;
class QToolBar;

namespace zorneta {

class QtChartSurface;

// The main window: menu bar, the two chart context menus, toolbar, status
// bar, chart, digital indicator and the small controls around them. It only
// shows state and forwards what the user does; the logic drives it through
// MainView.
class MainWindow : public QMainWindow, public MainView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    QtChartSurface &chart() { return *m_chart; }
    QMenu *menu(const QString &name) const;
    QAction *item(const QString &name) const;
    QPlainTextEdit *terminalWidget() const { return m_terminalEdit; }

    // MainView
    void setPanelText(const QString &key, const QString &text) override;
    QString panelText(const QString &key) const override;
    void setItemChecked(const QString &name, bool checked) override;
    bool itemChecked(const QString &name) const override;
    void setItemEnabled(const QString &name, bool enabled) override;
    bool itemEnabled(const QString &name) const override;
    void showConnected(bool connected) override;
    bool connectedShown() const override;
    TextBox &terminalBox() override;
    void setCaption(const QString &caption) override;
    QString caption() const override;
    void popupMenu(const QString &name) override;
    void showAlarm(const QString &text) override;
    void showAbout() override;
    // The About box while it is open (for tests).
    class AboutWindow *aboutWindow() const;
    void showGraphSettings(GraphSettings &dialog) override;
    // The graph settings dialog while it is shown (for tests).
    class GraphSettingsWindow *graphSettingsWindow() const {
        return m_prGraph;
    }
    void showSnapshotDialog(SnapshotDialog &dialog) override;
    // The snapshot dialog's window while it exists (for tests).
    class SnapshotWindow *snapshotWindow() const;
    void showPortProperties(PortProperties &dialog) override;
    // The port settings dialog while it is shown (for tests).
    class PortSettingsWindow *portPropertiesWindow() const {
        return m_properties;
    }
    // Decides each key press in terminalEdit that carries a character, before the
    // box takes it (the character's text): true lets the box take it.
    std::function<bool(const QString &text)> terminalKeyPress;
    bool seriesDataVisible() const override;
    void refreshSeriesData() override;
    void showSeriesData(SeriesData &content) override;
    // The current-parameters window while it is open.
    SeriesDataWindow *seriesDataWindow() const { return m_seriesData; }
    void setPointText(const QString &text) override;
    QString shownPointText() const override;
    void setPointTextBackground(std::int32_t colour) override;
    void setSigText(const QString &text) override;
    QString sigText() const override;
    void setIndicatorVisible(bool visible) override;
    bool indicatorVisible() const override;
    void setClearButtonVisible(bool visible) override;
    bool clearButtonVisible() const override;
    void setIndicatorColors(std::int32_t background, std::int32_t text) override;

    class AlarmWindow *alarmWindow() const {
        return m_sigTemp;
    }
    QLineEdit *alarmTemperatureBox() const { return m_alarmTemperatureBox; }
    QLineEdit *pointText() const { return m_pointText; }

Q_SIGNALS:
    // A menu item was chosen (its name).
    void menuCommand(const QString &name);
    // A toolbar button was pressed (its key).
    void toolbarButton(const QString &key);
    // One of the two connection pictures was clicked.
    void connectionPictureClicked();
    // The point value field took the focus, or was double-clicked.
    void pointTextFocused();
    void pointTextDoubleClicked();
    void clearClicked();
    void refreshClicked();
    // The window is about to close; the logic shuts everything down.
    void unloading();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

public:
    // Places the chart, the indicator column and the small controls by the
    // window's layout rule (see WindowLayout), at the screen's resolution.
    void applyLayout();

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildCentralArea();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption);
    QAction *addSeparator(QMenu *menu, const QString &name);
    QMenu *addSubmenu(QMenu *parent, const QString &name, const QString &caption);
    QAction *addSpacer(const QString &name);

    std::unique_ptr<QtChartSurface> m_chart;
    std::unique_ptr<TextBox> m_termBox;
    QHash<QString, QAction *> m_items;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, QLabel *> m_panels;
    QHash<QString, QWidget *> m_panelPlaces; // of the panels written often
    QToolBar *m_toolBar = nullptr;
    QPlainTextEdit *m_terminalEdit = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_refreshButton = nullptr;
    QLineEdit *m_pointText = nullptr;
    QLineEdit *m_alarmTemperatureBox = nullptr;
    QGroupBox *m_portStateFrame = nullptr;
    QStackedWidget *m_pictures = nullptr;
    QLabel *m_connectedPicture = nullptr;
    QLabel *m_notConnectedPicture = nullptr;
    class AlarmWindow *m_sigTemp = nullptr;
    class GraphSettingsWindow *m_prGraph = nullptr;
    class PortSettingsWindow *m_properties = nullptr;
    QPointer<SeriesDataWindow> m_seriesData;
    QPointer<class AboutWindow> m_about;
    QPointer<class SnapshotWindow> m_snapShot;
};

} // namespace zorneta
