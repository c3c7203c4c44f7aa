#pragma once

#include "platform/ReportPrinter.h"

class QWidget;

namespace zorneta {

// Printing through Qt Print Support: QPrintDialog over a QPrinter, A4 lying
// on its side.
class QtReportPrinter : public ReportPrinter {
public:
    explicit QtReportPrinter(QWidget *parent = nullptr) : m_parent(parent) {}
    bool print(const QString &title, const std::function<void(QPainter &, const QRectF &)> &paint) override;

private:
    QWidget *m_parent;
};

} // namespace zorneta
