#include "platform/qt/QtReportPrinter.h"

#include <QPageLayout>
#include <QRectF>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace zorneta {

bool QtReportPrinter::print(const QString &title, const std::function<void(QPainter &, const QRectF &)> &paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(title);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the printable area's top left corner.
    paint(painter, QRectF(0, 0, printer.width(), printer.height()));
    painter.end();
    return true;
}

} // namespace zorneta
