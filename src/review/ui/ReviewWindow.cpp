#include "review/ui/ReviewWindow.h"

#include "review/ui/ReviewChart.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace zorneta {

ReviewWindow::ReviewWindow(Prompts &prompts, ReportPrinter *printer, QWidget *parent)
    : QMainWindow(parent), m_actions(prompts, printer) {
    setObjectName(QStringLiteral("reviewWindow"));
    setWindowTitle(QStringLiteral("Просмотр записи"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_exportAction = new QAction(QStringLiteral("Экспорт в CSV…"), this);
    m_exportAction->setObjectName(QStringLiteral("reviewExportCsv"));
    m_reportAction = new QAction(QStringLiteral("Отчёт…"), this);
    m_reportAction->setObjectName(QStringLiteral("reviewReport"));
    m_wholeAction = new QAction(QStringLiteral("Вся кривая"), this);
    m_wholeAction->setObjectName(QStringLiteral("reviewWholeCurve"));
    m_wholeAction->setShortcut(QKeySequence(Qt::Key_Home));
    QMenu *menu = menuBar()->addMenu(QStringLiteral("&Запись"));
    menu->setObjectName(QStringLiteral("reviewMenu"));
    menu->addAction(m_exportAction);
    menu->addAction(m_reportAction);
    menu->addSeparator();
    menu->addAction(m_wholeAction);
    menu->addSeparator();
    QAction *close = menu->addAction(QStringLiteral("&Закрыть"));
    close->setObjectName(QStringLiteral("reviewClose"));
    connect(close, &QAction::triggered, this, &QWidget::close);
    QToolBar *tools = addToolBar(QStringLiteral("Просмотр записи"));
    tools->setObjectName(QStringLiteral("reviewToolBar"));
    tools->setMovable(false);
    tools->addAction(m_exportAction);
    tools->addAction(m_reportAction);
    tools->addAction(m_wholeAction);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    auto *row = new QHBoxLayout;
    auto *runCaption = new QLabel(QStringLiteral("Сеанс:"), central);
    m_runs = new QComboBox(central);
    m_runs->setObjectName(QStringLiteral("runChooser"));
    m_runs->setAccessibleName(runCaption->text());
    m_runs->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    runCaption->setBuddy(m_runs);
    m_startLabel = new QLabel(central);
    m_startLabel->setObjectName(QStringLiteral("startCaption"));
    m_start = new QDateTimeEdit(central);
    m_start->setObjectName(QStringLiteral("startEdit"));
    m_start->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    m_start->setCalendarPopup(true);
    m_startLabel->setBuddy(m_start);
    row->addWidget(runCaption);
    row->addWidget(m_runs);
    row->addSpacing(16);
    row->addWidget(m_startLabel);
    row->addWidget(m_start);
    row->addStretch(1);
    column->addLayout(row);
    m_chart = new ReviewChart(m_session, central);
    column->addWidget(m_chart, 1);
    m_readout = new QLabel(central);
    m_readout->setObjectName(QStringLiteral("readoutLabel"));
    m_readout->setMinimumHeight(m_readout->fontMetrics().height());
    column->addWidget(m_readout);
    setCentralWidget(central);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("reviewStatus"));
    statusBar()->addWidget(m_status, 1);

    connect(m_exportAction, &QAction::triggered, this, &ReviewWindow::exportCsv);
    connect(m_reportAction, &QAction::triggered, this, &ReviewWindow::report);
    connect(m_wholeAction, &QAction::triggered, m_chart, &ReviewChart::showWhole);
    connect(m_chart, &ReviewChart::readoutChanged, m_readout, &QLabel::setText);
    connect(m_runs, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing || index < 0)
            return;
        m_session.setRun(index + 1);
        refresh();
    });
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &start) {
        if (m_showing)
            return;
        m_session.giveStart(start);
        showStart();
        m_chart->update();
    });
    resize(960, 620);
    refresh();
}

ReviewStatus ReviewWindow::openFile(const QString &path) {
    ReviewStatus status = m_session.open(path);
    setWindowTitle(QStringLiteral("Просмотр записи: ") + QFileInfo(path).fileName());
    refresh();
    return status;
}

void ReviewWindow::showRecord(FiringRecord record, const QString &sourceName, const QDateTime &start) {
    m_session.take(std::move(record), sourceName, start);
    setWindowTitle(QStringLiteral("Просмотр записи: ") + sourceName);
    refresh();
}

void ReviewWindow::showStart() {
    m_showing = true;
    const QDateTime shown = m_session.shownStart();
    m_start->setEnabled(!m_session.isEmpty());
    if (shown.isValid())
        m_start->setDateTime(shown);
    m_startLabel->setText(m_session.startCaption());
    m_start->setAccessibleName(m_startLabel->text());
    m_showing = false;
}

void ReviewWindow::refresh() {
    m_showing = true;
    m_runs->clear();
    m_runs->addItems(m_session.runTexts());
    m_runs->setCurrentIndex(m_session.run() - 1);
    m_runs->setEnabled(!m_session.isEmpty());
    m_showing = false;
    showStart();
    const bool any = !m_session.isEmpty();
    m_exportAction->setEnabled(any);
    m_reportAction->setEnabled(any);
    m_wholeAction->setEnabled(any);
    m_status->setText(m_session.statusText());
    m_readout->clear();
    m_chart->update();
}

void ReviewWindow::exportCsv() {
    if (!m_session.isEmpty())
        m_actions.exportCsv(m_session.record(), m_session.csvOptions(), m_session.proposedName(QStringLiteral("csv")));
}

void ReviewWindow::report() {
    if (!m_session.isEmpty())
        m_actions.report(m_session.record(), m_session.reportOptions(), m_session.proposedName(QStringLiteral("pdf")));
}

} // namespace zorneta
