#include "common/ChartDataText.h"

#include "common/Formats.h"

#include <cmath>

namespace zorneta {

namespace {

// "hh:nn:ss" with hours below 24, as an elapsed-time label stores it.
std::optional<qint64> elapsedLabelSeconds(QStringView text) {
    if (text.size() != 8 || text.at(2) != u':' || text.at(5) != u':')
        return std::nullopt;
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const QChar hi = text.at(i * 3);
        const QChar lo = text.at(i * 3 + 1);
        if (hi < u'0' || hi > u'9' || lo < u'0' || lo > u'9')
            return std::nullopt;
        parts[i] = (hi.unicode() - u'0') * 10 + (lo.unicode() - u'0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return qint64(parts[0]) * 3600 + parts[1] * 60 + parts[2];
}

// A value cell, trimmed and not empty: its number, or nothing when it is no
// number. A number written too large to be held comes back infinite.
std::optional<double> cellNumber(QStringView text) {
    bool ok = false;
    double value = text.toDouble(&ok);
    if (!ok && !std::isinf(value) && text.contains(u',')) {
        QString withPoint = text.toString();
        withPoint.replace(u',', u'.');
        value = withPoint.toDouble(&ok);
    }
    if (!ok && !std::isinf(value))
        return std::nullopt;
    return value;
}

// The text up to the first line end (CR LF, CR or LF), and what follows it.
struct Lines {
    QStringView rest;
    bool more = true;

    QStringView next() {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != u'\r' && rest[end] != u'\n')
            ++end;
        const QStringView line = rest.first(end);
        if (end == rest.size()) {
            more = false;
            rest = QStringView();
            return line;
        }
        qsizetype after = end + 1;
        if (rest[end] == u'\r' && after < rest.size() && rest[after] == u'\n')
            ++after;
        rest = rest.sliced(after);
        return line;
    }
};

// Calls take(index, cell) for the TAB-separated cells of a line, in order,
// until it returns false; false when it did.
template <typename Take> bool eachCell(QStringView line, Take take) {
    qsizetype index = 0;
    for (;;) {
        const qsizetype tab = line.indexOf(u'\t');
        if (!take(index++, tab < 0 ? line : line.first(tab)))
            return false;
        if (tab < 0)
            return true;
        line = line.sliced(tab + 1);
    }
}

QString refused(const QString &reason) {
    return reason + QStringLiteral(" График не изменён.");
}

QString textTooLong(qsizetype length) {
    // Tenths of a megabyte, rounded up: a text just over the limit does not
    // read as the limit itself.
    const double tenths = std::ceil(double(length) * 10.0 / (1024.0 * 1024.0));
    return refused(QStringLiteral("В буфере обмена слишком много текста: %1 МБ. Вставить можно не больше %2 МБ — "
                                  "это около двух недель записи.")
                       .arg(QString::number(tenths / 10.0, 'f', 1).replace(u'.', u','))
                       .arg(ChartDataMaxTextLength / (1024 * 1024)));
}

QString tooManyPoints(qint64 points) {
    return refused(QStringLiteral("В буфере обмена слишком много точек: %1. Вставить можно не больше двух "
                                  "миллионов — это около двух недель записи.")
                       .arg(points));
}

QString cellTooLong(int line, qsizetype index, qsizetype length) {
    return refused(QStringLiteral("В буфере обмена слишком длинная ячейка: строка %1, столбец %2 (символов: %3). "
                                  "Ячейка может быть не длиннее %4 символов.")
                       .arg(line)
                       .arg(index + 1)
                       .arg(length)
                       .arg(ChartDataMaxCellLength));
}

QString valueNotDrawable(qsizetype index, QStringView cell) {
    return refused(QStringLiteral("В буфере обмена число, которое нельзя показать на графике: строка 2, столбец %1 "
                                  "(«%2»). Показать можно числа по модулю не больше 10¹⁵.")
                       .arg(index + 1)
                       .arg(cell));
}

ChartDataReading refusal(const QString &text) {
    return ChartDataReading{std::nullopt, text};
}

} // namespace

QString notChartDataText() {
    return QStringLiteral("В буфере обмена нет данных графика. Вставить можно только данные, скопированные "
                          "командой \"Копировать данные\": строку подписей точек и строку значений, "
                          "разделённых табуляцией. График не изменён.");
}

QString chartDataText(const ReadingsTable &table) {
    QString text;
    const qint64 first = table.firstColumn();
    const qint64 last = table.lastColumn();
    for (int row = 1; row <= ReadingsTable::Rows; ++row) {
        for (qint64 column = first; column <= last; ++column) {
            if (column > first)
                text += u'\t';
            if (row == 1 && column == first)
                continue; // the corner above the series title
            if (row == 2 && column > first) {
                if (table.isNumber(2, column))
                    text += numberText(table.number(2, column));
                continue;
            }
            text += table.cell(row, column).toText();
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

ChartDataReading readChartDataText(QStringView text, qint64 firstColumn) {
    // The size first: nothing below allocates more than the table.
    if (text.size() > ChartDataMaxTextLength)
        return refusal(textTooLong(text.size()));

    // Two lines, then nothing but empty ones.
    Lines lines{text};
    const QStringView labels = lines.next();
    const bool twoLines = lines.more;
    const QStringView values = twoLines ? lines.next() : QStringView();
    while (lines.more) {
        if (!lines.next().isEmpty())
            return refusal(notChartDataText());
    }
    if (!twoLines || values.isEmpty() || (!labels.contains(u'\t') && !values.contains(u'\t')))
        return refusal(notChartDataText());

    const qint64 columns = std::max(labels.count(u'\t'), values.count(u'\t')) + 1;
    if (columns - 1 > ChartDataMaxPoints)
        return refusal(tooManyPoints(columns - 1));
    ReadingsTable table(firstColumn, firstColumn + columns - 1);
    if (table.columnCount() != columns)
        return refusal(notChartDataText());

    QString why;
    const bool labelsRead = eachCell(labels, [&](qsizetype i, QStringView label) {
        if (label.size() > ChartDataMaxCellLength) {
            why = cellTooLong(1, i, label.size());
            return false;
        }
        if (label.isEmpty())
            return true;
        if (const std::optional<qint64> seconds = elapsedLabelSeconds(label))
            table.setElapsedLabel(1, firstColumn + i, *seconds);
        else
            table.setText(1, firstColumn + i, label.toString());
        return true;
    });
    if (!labelsRead)
        return refusal(why);

    const bool valuesRead = eachCell(values, [&](qsizetype i, QStringView cell) {
        if (cell.size() > ChartDataMaxCellLength) {
            why = cellTooLong(2, i, cell.size());
            return false;
        }
        if (i == 0) {
            if (!cell.isEmpty())
                table.setText(2, firstColumn, cell.toString());
            return true;
        }
        const QStringView number = cell.trimmed();
        if (number.isEmpty())
            return true;
        const std::optional<double> value = cellNumber(number);
        if (!value) {
            why = notChartDataText();
            return false;
        }
        if (!std::isfinite(*value) || std::fabs(*value) > ChartDataMaxValue) {
            why = valueNotDrawable(i, number);
            return false;
        }
        table.setNumber(2, firstColumn + i, *value);
        return true;
    });
    if (!valuesRead)
        return refusal(why);
    return ChartDataReading{std::move(table), QString()};
}

} // namespace zorneta
