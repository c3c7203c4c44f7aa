#include "shell/ui/HelpViewer.h"

#include "common/SystemErrors.h"

#include "session/Services.h"
#include "shell/ui/Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace zorneta {

namespace {

// Topic headings of the help document are level 2; each carries an anchor.
constexpr int TopicLevel = 2;

QString anchorOf(const QTextBlock &block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.first();
    }
    return QString();
}

} // namespace

HelpViewer::HelpViewer(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    // An open help window does not keep the program running once the main
    // window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QString::fromUtf16(AppTitle) + QStringLiteral(" - Справка"));
    setWindowIcon(QIcon(logoPicture(64)));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *splitter = new QSplitter(this);
    m_contents = new QListWidget(splitter);
    m_contents->setObjectName(QStringLiteral("lstContents"));
    m_contents->setAccessibleName(QStringLiteral("Содержание"));
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setAccessibleName(QStringLiteral("Справка"));
    m_browser->setOpenExternalLinks(true);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 600});
    layout->addWidget(splitter);
    connect(m_contents, &QListWidget::currentRowChanged, this, &HelpViewer::showTopic);
    resize(900, 640);
}

Status HelpViewer::load(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(fileFailureText(FileAction::Read, path, file.errorString()));
    const QString html = QString::fromUtf8(file.readAll());
    m_browser->setSearchPaths({QFileInfo(path).absolutePath()});
    m_browser->setHtml(html);
    m_anchors.clear();
    m_contents->blockSignals(true);
    m_contents->clear();
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != TopicLevel)
            continue;
        m_anchors.append(anchorOf(block));
        m_contents->addItem(block.text().trimmed());
    }
    m_contents->blockSignals(false);
    if (m_anchors.isEmpty())
        return Status::failure(QStringLiteral("В файле справки нет разделов: ") + path);
    return Status::ok();
}

QStringList HelpViewer::topics() const {
    QStringList out;
    for (int i = 0; i < m_contents->count(); ++i)
        out.append(m_contents->item(i)->text());
    return out;
}

void HelpViewer::showTopic(int index) {
    if (index < 0 || index >= m_anchors.size())
        return;
    if (m_contents->currentRow() != index)
        m_contents->setCurrentRow(index);
    if (!m_anchors.at(index).isEmpty())
        m_browser->scrollToAnchor(m_anchors.at(index));
}

HelpLauncher::~HelpLauncher() {
    delete m_viewer.data();
}

Status HelpLauncher::showHelpContents(const QString &path) {
    if (!m_viewer)
        m_viewer = new HelpViewer;
    const Status loaded = m_viewer->load(path);
    if (!loaded)
        return loaded;
    m_viewer->contents()->setCurrentRow(-1);
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
    m_viewer->contents()->setFocus();
    return Status::ok();
}

} // namespace zorneta
