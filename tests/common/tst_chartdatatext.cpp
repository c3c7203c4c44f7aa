// The chart's data as the clipboard carries it: the exact text written, and
// what reading such a text gives back or why it is refused.

#include "common/ChartDataText.h"

#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// Points 1 to 4: two elapsed labels, one at an hour, the last column's "C5";
// readings 20.5, 21 and -3.25, point 4 unread.
ReadingsTable sample(qint64 first = 1) {
    ReadingsTable table(first, first + 4);
    table.setElapsedLabel(1, first + 1, 0);
    table.setElapsedLabel(1, first + 2, 1);
    table.setElapsedLabel(1, first + 3, 3725);
    table.setText(1, first + 4, u"C5"_s);
    table.setText(2, first, u"МЛ512"_s);
    table.setNumber(2, first + 1, 20.5);
    table.setNumber(2, first + 2, 21.0);
    table.setNumber(2, first + 3, -3.25);
    return table;
}

const QString SampleText = u"\t00:00:00\t00:00:01\t01:02:05\tC5\r\nМЛ512\t20.5\t21\t-3.25\t\r\n"_s;

} // namespace

class tst_ChartDataText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void written_data();
    void written();
    void readBack_data();
    void readBack();
    void refused_data();
    void refused();
};

void tst_ChartDataText::written_data() {
    QTest::addColumn<ReadingsTable>("table");
    QTest::addColumn<QString>("text");
    QTest::newRow("labels, readings, an unread point") << sample() << SampleText;
    QTest::newRow("columns from 7") << sample(7) << SampleText;
    ReadingsTable fractions(1, 3);
    fractions.setText(2, 1, u"Снимок 08 декабря 14`05"_s);
    fractions.setNumber(2, 2, 0.1);
    fractions.setNumber(2, 3, 1234567.125);
    QTest::newRow("title, fractions, no labels")
        << fractions << u"\t\t\r\nСнимок 08 декабря 14`05\t0.1\t1234567.125\r\n"_s;
    QTest::newRow("one column") << ReadingsTable(1, 1) << u"\r\n\r\n"_s;
}

void tst_ChartDataText::written() {
    QFETCH(ReadingsTable, table);
    QFETCH(QString, text);
    QCOMPARE(chartDataText(table), text);
}

void tst_ChartDataText::readBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<ReadingsTable>("table");
    QTest::newRow("as written") << SampleText << sample();
    QTest::newRow("LF ends, empty lines after")
        << u"\t00:00:00\t00:00:01\t01:02:05\tC5\nМЛ512\t20.5\t21\t-3.25\t\n\n\n"_s << sample();
    QTest::newRow("CR ends, no last end, blanks, a comma")
        << u"\t00:00:00\t00:00:01\t01:02:05\tC5\rМЛ512\t 20,5\t21 \t-3.25\t"_s << sample();
    ReadingsTable limits(1, 3);
    limits.setText(1, 2, QString(ChartDataMaxCellLength, u'x'));
    limits.setNumber(2, 2, ChartDataMaxValue);
    limits.setNumber(2, 3, -ChartDataMaxValue);
    QTest::newRow("at the limits") << u"\t"_s + QString(ChartDataMaxCellLength, u'x') + u"\r\n\t1e15\t-1e15\r\n"_s
                                   << limits;
}

void tst_ChartDataText::readBack() {
    QFETCH(QString, text);
    QFETCH(ReadingsTable, table);
    const ChartDataReading read = readChartDataText(text);
    QCOMPARE(read.refusal, QString());
    QVERIFY(read.table);
    QCOMPARE(*read.table, table);
    // Numbered from another first column.
    const ChartDataReading at7 = readChartDataText(text, 7);
    QVERIFY(at7.table);
    QCOMPARE(at7.table->firstColumn(), 7);
    QCOMPARE(chartDataText(*at7.table), chartDataText(table));
}

void tst_ChartDataText::refused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString notData = u"В буфере обмена нет данных графика. Вставить можно только данные, скопированные "
                            u"командой \"Копировать данные\": строку подписей точек и строку значений, "
                            u"разделённых табуляцией. График не изменён."_s;
    QTest::newRow("one line") << u"Температура печи 850"_s << notData;
    QTest::newRow("no TAB") << u"a\r\nb\r\n"_s << notData;
    QTest::newRow("three lines") << u"\tx\r\nt\t1\r\nmore\t2\r\n"_s << notData;
    QTest::newRow("empty line between") << u"\tx\r\n\r\nt\t1\r\n"_s << notData;
    QTest::newRow("a word for a value") << u"\tx\r\nt\tжарко\r\n"_s << notData;
    QTest::newRow("empty") << QString() << notData;

    QTest::newRow("text over 32 MB")
        << QString(ChartDataMaxTextLength + 1, u'\t')
        << u"В буфере обмена слишком много текста: 32,1 МБ. Вставить можно не больше 32 МБ — это около двух "
           u"недель записи. График не изменён."_s;
    QTest::newRow("two million points and one")
        << u"\r\n"_s + QString(ChartDataMaxPoints + 1, u'\t')
        << u"В буфере обмена слишком много точек: 2000001. Вставить можно не больше двух миллионов — это около "
           u"двух недель записи. График не изменён."_s;
    QTest::newRow("long label") << u"\t00:00:00\t"_s + QString(ChartDataMaxCellLength + 1, u'x') + u"\r\nt\t1\t2\r\n"_s
                                << u"В буфере обмена слишком длинная ячейка: строка 1, столбец 3 (символов: 256). "
                                   u"Ячейка может быть не длиннее 255 символов. График не изменён."_s;
    QTest::newRow("long title") << u"\t00:00:00\r\n"_s + QString(1000, u'T') + u"\t1\r\n"_s
                                << u"В буфере обмена слишком длинная ячейка: строка 2, столбец 1 (символов: 1000). "
                                   u"Ячейка может быть не длиннее 255 символов. График не изменён."_s;
    const QString notDrawable = u"В буфере обмена число, которое нельзя показать на графике: строка 2, столбец %1 "
                                u"(«%2»). Показать можно числа по модулю не больше 10¹⁵. График не изменён."_s;
    QTest::newRow("1e308") << u"\ta\tb\r\nt\t1\t1e308\r\n"_s << notDrawable.arg(3).arg(u"1e308"_s);
    QTest::newRow("-1e308") << u"\ta\tb\r\nt\t-1e308\t1\r\n"_s << notDrawable.arg(2).arg(u"-1e308"_s);
    QTest::newRow("just over 1e15") << u"\ta\r\nt\t1000000000000001\r\n"_s
                                    << notDrawable.arg(2).arg(u"1000000000000001"_s);
    QTest::newRow("beyond a double") << u"\ta\r\nt\t 1e400 \r\n"_s << notDrawable.arg(2).arg(u"1e400"_s);
    QTest::newRow("beyond a double, comma") << u"\ta\r\nt\t1,5e400\r\n"_s << notDrawable.arg(2).arg(u"1,5e400"_s);
    QTest::newRow("inf") << u"\ta\r\nt\tinf\r\n"_s << notDrawable.arg(2).arg(u"inf"_s);
    QTest::newRow("nan") << u"\ta\r\nt\tnan\r\n"_s << notDrawable.arg(2).arg(u"nan"_s);
}

void tst_ChartDataText::refused() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    const ChartDataReading read = readChartDataText(text);
    QVERIFY(!read.table);
    QCOMPARE(read.refusal, message);
    QCOMPARE(notChartDataText(), u"В буфере обмена нет данных графика. Вставить можно только данные, скопированные "
                                 u"командой \"Копировать данные\": строку подписей точек и строку значений, "
                                 u"разделённых табуляцией. График не изменён."_s);
}

QTEST_MAIN(tst_ChartDataText)
#include "tst_chartdatatext.moc"
