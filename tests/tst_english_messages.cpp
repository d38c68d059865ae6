#include "support/TestFolder.h"

#include "base/Settings.h"
#include "export/LoaderSheet.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/LoaderSheetPrint.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

bool HasChinese(const QString& text)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

}  // namespace

class EnglishMessagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void loaderSheetShowsNoChinese();
    void dataWorkMessagesShowNoChinese_data();
    void dataWorkMessagesShowNoChinese();
};

void EnglishMessagesTest::initTestCase()
{
    Prompt::setTestMode(true);
    QVERIFY(InstallLanguage(Settings::kEnglish));
}

void EnglishMessagesTest::cleanupTestCase()
{
    InstallLanguage(Settings::kChinese);
}

// The sheet's captions and sentences, and why it cannot be written.
void EnglishMessagesTest::loaderSheetShowsNoChinese()
{
    LoaderSheet sheet;
    sheet.title = QStringLiteral("ash<=12");
    sheet.date = QDateTime(QDate(2026, 12, 8), QTime(9, 30));
    sheet.planDate = sheet.date;
    sheet.tonnage = 100;
    sheet.shovelMode = true;
    sheet.coals << LoaderSheetCoal{};
    sheet.coals[0].name = QStringLiteral("C1");
    sheet.totalCents = 10000;
    sheet.remainderCents = 50;
    const QString html = LoaderSheetHtml(sheet);
    QVERIFY2(!HasChinese(html), qPrintable(html));
    const Status none = WriteLoaderSheets({}, QDir::temp().filePath(QStringLiteral("none.pdf")));
    QVERIFY(!none.ok());
    QVERIFY2(!HasChinese(Say(none)), qPrintable(Say(none)));
}

// What the data work of the main menu asks, or says when it is refused.
void EnglishMessagesTest::dataWorkMessagesShowNoChinese_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("exit asked") << QStringLiteral("exit");
    QTest::newRow("restore of a file that is no backup") << QStringLiteral("restore");
    QTest::newRow("compact asked") << QStringLiteral("compact");
}

void EnglishMessagesTest::dataWorkMessagesShowNoChinese()
{
    QFETCH(QString, action);
    TestFolder t;
    Windows hub(WindowContext{t.folder()});
    hub.workspace();
    Prompt::clear();
    if (action == QLatin1String("exit")) {
        Prompt::queueAnswer(QMessageBox::No);
        QVERIFY(!hub.confirmExit());
    } else if (action == QLatin1String("restore")) {
        const QString junk = t.path(QStringLiteral("junk.bak"));
        QVERIFY(WriteBytes(junk, "not a backup"));
        Prompt::queueFileName(junk);
        Prompt::queueAnswer(QMessageBox::Yes);
        hub.restoreData();
    } else {
        Prompt::queueAnswer(QMessageBox::No);
        hub.compactData();
    }
    // A reason the core gives stands in brackets after the sentence.
    const QString text = Prompt::lastText().section(QLatin1Char('('), 0, 0);
    QVERIFY(!text.isEmpty());
    QVERIFY2(!HasChinese(text), qPrintable(Prompt::lastText()));
    const QString title = Prompt::shown().constLast().title;
    QVERIFY2(!HasChinese(title), qPrintable(title));
}

QTEST_MAIN(EnglishMessagesTest)
#include "tst_english_messages.moc"
