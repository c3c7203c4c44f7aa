#pragma once

#include <QString>

#include <functional>

class QPainter;
class QRectF;

namespace zorneta {

// The system's printing: the print dialog, then one page painted on the
// printer the user chose.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;

    // Shows the print dialog titled `title`; when the user accepts it,
    // paints the page through `paint` (a painter on the printer and the
    // page's rectangle in its units) and returns true. False when the user
    // cancelled or the printer could not be started.
    virtual bool print(const QString &title, const std::function<void(QPainter &, const QRectF &)> &paint) = 0;
};

} // namespace zorneta
