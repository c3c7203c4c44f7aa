#pragma once

#include "platform/Status.h"
#include "platform/qt/QtSystem.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace zorneta {

// The help window: the help document on the right, its table of contents
// (the document's topic headings) on the left; choosing a topic scrolls to it.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget *parent = nullptr);

    // Reads an HTML help document and fills the contents; fails when the file
    // cannot be read or holds no topics.
    Status load(const QString &path);

    // The topics, in document order.
    QStringList topics() const;
    // Scrolls to a topic by its position in the contents.
    void showTopic(int index);

    QListWidget *contents() const { return m_contents; }
    QTextBrowser *browser() const { return m_browser; }

private:
    QListWidget *m_contents = nullptr;
    QTextBrowser *m_browser = nullptr;
    QStringList m_anchors;
};

// The desktop launcher with the program's own help window.
class HelpLauncher : public QtLauncher {
public:
    ~HelpLauncher() override;
    Status showHelpContents(const QString &path) override;
    HelpViewer *viewer() const { return m_viewer; }

private:
    QPointer<HelpViewer> m_viewer;
};

} // namespace zorneta
