// The help menu's commands: the help file and the price list found in the
// installation and opened, the messages when they are missing, the About box.

#include "common/ItemNames.h"
#include "support/LogicRig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorneta;
using namespace zorneta::testing;
using namespace Qt::StringLiterals;

namespace {

const QString ErrorTitle = u"      Ошибка"_s;
const QString HelpMissing = u"В текущем директории отсутствует файл помощи Zorneta.hlp"_s;
const QString HelpAdvice =
    u"    Возможно неправильно установлены компоненты программного продукта Зорнета. Программа не может найти файл "
    u"справки. Рекомендуется запустить программу Setup и переустановить продукт с фирменных дискет."_s;
const QString PriceMissing = u"В текущем директории отсутствует файл информации Price.htm"_s;
const QString PriceAdvice =
    u"    Возможно неправильно установлены компоненты программного продукта Зорнета. Программа не может найти файл "
    u"информации о выпускаемой продукции и ценах ZID ЛИРАНТ. Рекомендуется запустить программу Setup и "
    u"переустановить продукт с фирменных дискет."_s;

void touch(const QString &path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
}

} // namespace

class tst_HelpCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void helpOpensFromTheInstallation();
    void missingHelpGivesBothMessages_data();
    void missingHelpGivesBothMessages();
    void priceListOpensInTheBrowser();
    void missingPriceListGivesBothMessages();
    void withoutInstallationOnlyTheAdvice_data();
    void withoutInstallationOnlyTheAdvice();
    void failedOpeningGivesOnlyTheAdvice_data();
    void failedOpeningGivesOnlyTheAdvice();
    void aboutBoxIsShown();
};

void tst_HelpCommands::helpOpensFromTheInstallation() {
    QTemporaryDir dir;
    touch(dir.filePath(u"Zorneta.hlp"_s));
    LogicRig rig;
    rig.install.directory = dir.path() + u'/';
    rig.logic->runToolbarKey(toolbar::Help);
    rig.logic->runMenuItem(menu::HelpContents);
    QCOMPARE(rig.launcher.helpShown, QStringList(2, dir.filePath(u"Zorneta.hlp"_s)));
    QVERIFY(rig.launcher.opened.isEmpty());
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_HelpCommands::missingHelpGivesBothMessages_data() {
    QTest::addColumn<int>("firstAnswer");
    QTest::newRow("OK") << int(Prompts::Answer::Ok);
    QTest::newRow("Cancel") << int(Prompts::Answer::Cancel);
}

void tst_HelpCommands::missingHelpGivesBothMessages() {
    QFETCH(int, firstAnswer);
    QTemporaryDir dir;
    touch(dir.filePath(u"zorneta.hlp"_s)); // letter case counts
    touch(dir.filePath(u"Price.htm"_s));
    LogicRig rig;
    rig.install.directory = dir.path() + u'/';
    rig.prompts.messageAnswers = {static_cast<Prompts::Answer>(firstAnswer), Prompts::Answer::Ok};
    rig.logic->runMenuItem(menu::HelpContents);
    QCOMPARE(rig.prompts.shown.size(), 2);
    const auto &first = rig.prompts.shown.at(0);
    QCOMPARE(first.title, ErrorTitle);
    QCOMPARE(first.text, HelpMissing);
    QCOMPARE(first.icon, Prompts::Icon::Critical);
    QCOMPARE(first.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(first.defaultButton, Prompts::DefaultButton::Second);
    const auto &second = rig.prompts.shown.at(1);
    QCOMPARE(second.title, u"Зорнета"_s);
    QCOMPARE(second.text, HelpAdvice);
    QCOMPARE(second.icon, Prompts::Icon::Question);
    QCOMPARE(second.buttons, Prompts::Buttons::Ok);
    QCOMPARE(rig.prompts.unanswered, 0);
    QVERIFY(rig.launcher.helpShown.isEmpty());
}

void tst_HelpCommands::priceListOpensInTheBrowser() {
    QTemporaryDir dir;
    touch(dir.filePath(u"Price.htm"_s));
    LogicRig rig;
    rig.install.directory = dir.path() + u'/';
    rig.logic->runMenuItem(menu::PriceList);
    QCOMPARE(rig.launcher.opened, QStringList{dir.filePath(u"Price.htm"_s)});
    QCOMPARE(rig.prompts.shown.size(), 0);
}

void tst_HelpCommands::missingPriceListGivesBothMessages() {
    QTemporaryDir dir;
    touch(dir.filePath(u"Zorneta.hlp"_s));
    LogicRig rig;
    rig.install.directory = dir.path() + u'/';
    rig.prompts.messageAnswers = {Prompts::Answer::Ok, Prompts::Answer::Ok};
    rig.logic->runMenuItem(menu::PriceList);
    QCOMPARE(rig.prompts.shown.size(), 2);
    QCOMPARE(rig.prompts.shown.at(0).title, ErrorTitle);
    QCOMPARE(rig.prompts.shown.at(0).text, PriceMissing);
    QCOMPARE(rig.prompts.shown.at(0).icon, Prompts::Icon::Critical);
    QCOMPARE(rig.prompts.shown.at(0).buttons, Prompts::Buttons::Ok);
    QCOMPARE(rig.prompts.shown.at(1).title, u"Зорнета"_s);
    QCOMPARE(rig.prompts.shown.at(1).text, PriceAdvice);
    QCOMPARE(rig.prompts.shown.at(1).icon, Prompts::Icon::Question);
    QCOMPARE(rig.prompts.shown.at(1).buttons, Prompts::Buttons::Ok);
    QVERIFY(rig.launcher.opened.isEmpty());
}

void tst_HelpCommands::withoutInstallationOnlyTheAdvice_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("advice");
    QTest::newRow("help") << menu::HelpContents << HelpAdvice;
    QTest::newRow("price list") << menu::PriceList << PriceAdvice;
}

void tst_HelpCommands::withoutInstallationOnlyTheAdvice() {
    QFETCH(QString, command);
    QFETCH(QString, advice);
    LogicRig rig;
    rig.install.directory.reset();
    rig.prompts.messageAnswers = {Prompts::Answer::Ok};
    rig.logic->runMenuItem(command);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.at(0).text, advice);
    QCOMPARE(rig.prompts.shown.at(0).icon, Prompts::Icon::Question);
    QVERIFY(rig.launcher.opened.isEmpty());
    QVERIFY(rig.launcher.helpShown.isEmpty());
}

void tst_HelpCommands::failedOpeningGivesOnlyTheAdvice_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("advice");
    QTest::newRow("help viewer fails") << menu::HelpContents << HelpAdvice;
    QTest::newRow("browser fails") << menu::PriceList << PriceAdvice;
}

void tst_HelpCommands::failedOpeningGivesOnlyTheAdvice() {
    QFETCH(QString, command);
    QFETCH(QString, advice);
    QTemporaryDir dir;
    touch(dir.filePath(u"Zorneta.hlp"_s));
    touch(dir.filePath(u"Price.htm"_s));
    LogicRig rig;
    rig.install.directory = dir.path() + u'/';
    rig.launcher.failWith = u"no browser"_s;
    rig.launcher.helpFailWith = u"no viewer"_s;
    rig.prompts.messageAnswers = {Prompts::Answer::Ok};
    rig.logic->runMenuItem(command);
    QCOMPARE(rig.launcher.opened.size() + rig.launcher.helpShown.size(), 1);
    QCOMPARE(rig.prompts.shown.size(), 1);
    QCOMPARE(rig.prompts.shown.at(0).text, advice);
}

void tst_HelpCommands::aboutBoxIsShown() {
    LogicRig rig;
    rig.logic->runMenuItem(menu::About);
    QCOMPARE(rig.view.aboutShown, 1);
    QCOMPARE(rig.prompts.shown.size(), 0);
}

QTEST_GUILESS_MAIN(tst_HelpCommands)
#include "tst_helpcommands.moc"
