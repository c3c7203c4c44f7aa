#pragma once

#include "common/PeriodTables.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace zorneta {

class ChartModel;
class PersistedSettings;
struct Services;
struct SessionState;

// The graph settings dialog's state and commands: five choice lists, the
// signal temperature text, the two section lengths and three option groups.
// The dialog window shows this state and forwards what the user does; the
// choices take effect at OK, which also stores them.
//
// The dialog is loaded on first use and then stays loaded (hidden when not
// shown) until OK or Cancel unloads it; every load reads the store afresh.
class GraphSettings : public QObject {
    Q_OBJECT
public:
    GraphSettings(Services &services, SessionState &state, PersistedSettings &settings, ChartModel &chart);

    // The entries of the five lists, in list order.
    static QStringList speedEntries();
    static QStringList passOverEntries();
    static QStringList colorEntries();
    static QStringList thinEntries();
    static QStringList vGridEntries();

    bool isLoaded() const { return m_loaded; }
    // The dialog's load: cut fields from the section lengths, then
    // LoadGraphSettings.
    void load();
    void loadGraphSettings();
    // Loads the dialog (hidden) unless it is loaded.
    void ensureLoaded();
    // The signal temperature and the five list positions from the store
    // (start-up presets the dialog with them).
    void presetFromStore();

    // A period menu command chose `position` in one of the lists: the dialog
    // (loaded hidden when needed) shows the same choice.
    void followMenu(PeriodList list, int position);

    // Option groups: they set their flag when clicked, not at OK.
    void chooseXAxisOption(int index);
    void chooseY2AxisOption(int index);
    void chooseLegendOption(int index);

    // OK: applies, checks, stores, sets the chart up and unloads. Returns
    // false when an error keeps the dialog open.
    bool confirm();
    // Cancel and the close box: unloads, nothing applied or stored.
    void cancel();

    // The dialog's controls. A list position of -1 means no selection.
    int updatePeriodPosition = -1;
    int readPeriodPosition = -1;
    int curveColourPosition = -1;
    int curveWidthPosition = -1;
    int xDivisionsPosition = -1;
    QString alarmTemperatureText;
    QString cutStartText;
    QString endPointsText;
    int xAxisOption = 0;
    int y2AxisOption = 0;
    int legendOption = 0;

Q_SIGNALS:
    // The controls changed from outside the window (a menu command, a load).
    void changed();

private:
    void unload();
    void warn(const QString &description);

    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
    ChartModel &m_chart;
    bool m_loaded = false;
};

} // namespace zorneta
