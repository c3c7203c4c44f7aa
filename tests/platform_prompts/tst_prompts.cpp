// The Qt message boxes and dialogs: exact titles and texts, Russian standard
// buttons, default and escape buttons, the answer returned; file filters.

#include "platform/qt/QtPrompts.h"
#include "platform/qt/Translations.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace zorneta;
using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the modal box once it is up.
template <typename Widget, typename F> void whenShown(F act) {
    QTimer::singleShot(0, [act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<Widget *>(w); box && box->isVisible()) {
                act(box);
                return;
            }
        }
        QFAIL("no box shown");
    });
}

QStringList buttonTexts(QMessageBox *box) {
    QStringList out;
    for (QAbstractButton *b : box->buttons())
        out.append(b->text().remove(u'&'));
    out.sort();
    return out;
}

} // namespace

class tst_Prompts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void messageBox_data();
    void messageBox();
    void escapeGivesTheCancelLikeAnswer();
    void lineEndsBreakLines();
    void inputBox();
    void inputBoxCancelled();
    void nameFilters_data();
    void nameFilters();
    void fileDialogTitleAndCancel();
};

void tst_Prompts::initTestCase() {
    QVERIFY(installRussianTranslation(*QCoreApplication::instance()));
}

void tst_Prompts::messageBox_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes/No, No default") << int(Prompts::Buttons::YesNo) << QStringList{u"Да"_s, u"Нет"_s} << 1
                                        << u"Нет"_s << int(Prompts::Answer::No);
    QTest::newRow("Yes/No/Cancel") << int(Prompts::Buttons::YesNoCancel) << QStringList{u"Да"_s, u"Нет"_s, u"Отмена"_s}
                                   << 0 << u"Да"_s << int(Prompts::Answer::Yes);
    QTest::newRow("Retry/Cancel") << int(Prompts::Buttons::RetryCancel) << QStringList{u"Отмена"_s, u"Повторить"_s} << 0
                                  << u"Повторить"_s << int(Prompts::Answer::Retry);
    QTest::newRow("OK/Cancel") << int(Prompts::Buttons::OkCancel) << QStringList{u"OK"_s, u"Отмена"_s} << 0 << u"OK"_s
                               << int(Prompts::Answer::Ok);
}

void tst_Prompts::messageBox() {
    QFETCH(int, buttons);
    QFETCH(QStringList, texts);
    QFETCH(int, defaultButton);
    QFETCH(QString, defaultText);
    QFETCH(int, answer);
    QtPrompts prompts;
    bool checked = false;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        QCOMPARE(box->windowTitle(), u"Зорнета:   Ошибка коммуникационного Порта"_s);
        QCOMPARE(box->text(), u"Переполнение буфера приема данных"_s);
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QStringList expected = texts;
        expected.sort();
        QCOMPARE(buttonTexts(box), expected);
        QCOMPARE(box->defaultButton()->text().remove(u'&'), defaultText);
        checked = true;
        box->defaultButton()->click();
    });
    const auto got =
        prompts.messageBox(u"Зорнета:   Ошибка коммуникационного Порта"_s, u"Переполнение буфера приема данных"_s,
                           Prompts::Icon::Critical, Prompts::Buttons(buttons), Prompts::DefaultButton(defaultButton));
    QVERIFY(checked);
    QCOMPARE(int(got), answer);
}

void tst_Prompts::escapeGivesTheCancelLikeAnswer() {
    QtPrompts prompts;
    whenShown<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(prompts.messageBox(u"Зорнета"_s, u"?"_s, Prompts::Icon::Question, Prompts::Buttons::YesNo),
             Prompts::Answer::No);
    whenShown<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(prompts.messageBox(u"Зорнета"_s, u"?"_s, Prompts::Icon::Critical, Prompts::Buttons::RetryCancel),
             Prompts::Answer::Cancel);
}

void tst_Prompts::lineEndsBreakLines() {
    QtPrompts prompts;
    QString shown;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        shown = box->text();
        box->defaultButton()->click();
    });
    prompts.messageBox(u"Зорнета       Новый сеанс приема данных"_s, u"a !\r\r   b"_s, Prompts::Icon::Question,
                       Prompts::Buttons::YesNo, Prompts::DefaultButton::Second);
    QCOMPARE(shown, u"a !\n\n   b"_s);
}

void tst_Prompts::inputBox() {
    QtPrompts prompts;
    whenShown<QInputDialog>([](QInputDialog *d) {
        QCOMPARE(d->windowTitle(), u"Зорнета:   Сигнальная температура"_s);
        QCOMPARE(d->labelText(), u"Введите температуру"_s);
        QCOMPARE(d->textValue(), u"266"_s);
        d->setTextValue(u"850"_s);
        d->accept();
    });
    QCOMPARE(prompts.inputBox(u"Введите температуру"_s, u"Зорнета:   Сигнальная температура"_s, u"266"_s),
             std::optional<QString>(u"850"_s));
}

void tst_Prompts::inputBoxCancelled() {
    QtPrompts prompts;
    whenShown<QInputDialog>([](QInputDialog *d) { d->reject(); });
    QCOMPARE(prompts.inputBox(u"p"_s, u"t"_s, u"1"_s), std::optional<QString>());
}

void tst_Prompts::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("recording") << u"Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*"_s
                               << QStringList{u"Текстовые файлы (*.txt *.TXT)"_s, u"Все файлы (*.*)"_s};
    QTest::newRow("snapshot") << u"Файл снимка(*.TXT)|*.TXT|Все файлы (*.*)|*.*"_s
                              << QStringList{u"Файл снимка (*.TXT)"_s, u"Все файлы (*.*)"_s};
    QTest::newRow("no patterns shown") << u"Text|*.txt;*.log"_s << QStringList{u"Text (*.txt *.log)"_s};
}

void tst_Prompts::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, qt);
    QCOMPARE(QtPrompts::nameFilters(filter), qt);
}

void tst_Prompts::fileDialogTitleAndCancel() {
    QtPrompts prompts;
    QString title;
    QString proposed;
    whenShown<QFileDialog>([&](QFileDialog *d) {
        title = d->windowTitle();
        if (auto *edit = d->findChild<QLineEdit *>(u"fileNameEdit"_s))
            proposed = edit->text();
        d->reject();
    });
    const auto choice =
        prompts.openFileDialog(u"Открыть файл протокола связи"_s,
                               u"Текстовые файлы (*.TXT)|*.txt|Все файлы (*.*)|*.*"_s, u"Зорнета 08 декабря 14`05"_s);
    QVERIFY(!choice);
    QCOMPARE(title, u"Открыть файл протокола связи"_s);
    QCOMPARE(proposed, u"Зорнета 08 декабря 14`05"_s);
}

QTEST_MAIN(tst_Prompts)
#include "tst_prompts.moc"
