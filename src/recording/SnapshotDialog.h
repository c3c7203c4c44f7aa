#pragma once

#include <QObject>
#include <QString>

namespace zorneta {

class PersistedSettings;
class Snapshots;
struct Services;
struct SessionState;

// The snapshot dialog's state and commands: the range choice (all data or a
// section between two point numbers), the two point-number texts and the
// "write to a file" choice. The dialog is modeless: OK hides it and it comes
// back with its values; Cancel unloads it and the next opening starts afresh.
// The window shows this state and follows changed().
class SnapshotDialog : public QObject {
    Q_OBJECT
public:
    SnapshotDialog(Services &services, SessionState &state, PersistedSettings &settings, Snapshots &snapshots);

    // Menu "Сделать снимок графика..." / toolbar "CopySnap": loads the dialog
    // when it is not loaded, and shows it.
    void mnuGetInMind_Click();

    // Load: "1" and "50", no file, the range choice from the settings.
    void Form_Load();
    // Choosing an option: 0 "Все данные", 1 "Участок".
    void Snap_Click(int index);
    // Takes the snapshot; on success hides the dialog and, when asked,
    // writes the snapshot file.
    void CmdOK_Click();
    // Unloads the dialog.
    void CmdCancel_Click();

    bool isLoaded() const { return m_loaded; }
    bool isShown() const { return m_shown; }

    int option() const { return m_allData ? 0 : 1; }
    // The point-number boxes can be typed in only for a section.
    bool boundsEnabled() const { return !m_allData; }
    QString Text1() const { return m_text1; }
    QString Text2() const { return m_text2; }
    bool SFile() const { return m_saveToFile; }
    void setText1(const QString &text) { m_text1 = text; }
    void setText2(const QString &text) { m_text2 = text; }
    void setSFile(bool save) { m_saveToFile = save; }

Q_SIGNALS:
    // The dialog's state changed in a way the window shows: loaded or
    // unloaded, shown or hidden, the option, the texts.
    void changed();

private:
    void message(const QString &text);

    Services &m_services;
    SessionState &m_state;
    PersistedSettings &m_settings;
    Snapshots &m_snapshots;

    bool m_loaded = false;
    bool m_shown = false;
    bool m_allData = true;
    QString m_text1;
    QString m_text2;
    bool m_saveToFile = false;
};

} // namespace zorneta
