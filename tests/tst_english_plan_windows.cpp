#include "support/TestFolder.h"

#include "base/Mei.h"
#include "base/Settings.h"
#include "blend/ModelText.h"
#include "export/LoaderSheet.h"
#include "history/PlanHistory.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/LoaderSheetPrint.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"
#include "ui/windows/ConfigWindow.h"
#include "ui/windows/DatabaseWindow.h"
#include "ui/windows/DiagnoseDialog.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/ScheduleWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QChartView>
#include <QtTest>

#include <functional>

namespace {

bool HasChinese(const QString& text)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

// Every text a window shows of its own (not its list cells): its title,
// labels, buttons, frames, box hints, actions, tooltips and chart series; each
// holding a Chinese character is returned with the control that shows it.
QStringList ChineseTexts(QWidget* window, const QStringList& skipped)
{
    QStringList found;
    auto check = [&found, &skipped](const QObject* owner, const QString& text) {
        if (HasChinese(text) && !skipped.contains(owner->objectName()))
            found << owner->objectName() + QStringLiteral(": ") + text;
    };
    check(window, window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets << window;
    for (const QWidget* w : std::as_const(widgets)) {
        check(w, w->toolTip());
        if (auto* label = qobject_cast<const QLabel*>(w))
            check(w, label->text());
        if (auto* button = qobject_cast<const QAbstractButton*>(w))
            check(w, button->text());
        if (auto* frame = qobject_cast<const QGroupBox*>(w))
            check(w, frame->title());
        if (auto* box = qobject_cast<const QLineEdit*>(w))
            check(w, box->placeholderText());
        if (auto* view = qobject_cast<const QChartView*>(w))
            for (const QAbstractSeries* series : view->chart()->series())
                check(w, series->name());
    }
    for (const QAction* action : window->findChildren<QAction*>()) {
        check(action, action->text());
        check(action, action->toolTip());
    }
    return found;
}

// A stored plan whose data (title, coals) are Latin: any Chinese the history
// window shows of it is its own.
void StoreLatinPlan(const AppFolder& folder)
{
    NewPlan plan{QStringLiteral("ash<=12"), {}, {}};
    plan.coals << MakeCoal(QStringLiteral("C1"), 500) << MakeCoal(QStringLiteral("C2"), 600);
    PlanBlendRow row;
    row.parts[0] = 4;
    row.parts[1] = 6;
    row.blend = MakeCoal(QString(), 560);
    plan.rows << row;
    QVERIFY(StorePlan(folder, plan).ok());
}

using MakeWindow = std::function<QWidget*(const AppFolder&)>;

}  // namespace

Q_DECLARE_METATYPE(MakeWindow)

class EnglishPlanWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void windowShowsNoChinese_data();
    void windowShowsNoChinese();
    void loaderSheetShowsNoChinese();
    void dataWorkMessagesShowNoChinese_data();
    void dataWorkMessagesShowNoChinese();
};

void EnglishPlanWindowsTest::initTestCase()
{
    Prompt::setTestMode(true);
    QVERIFY(InstallLanguage(Settings::kEnglish));
}

void EnglishPlanWindowsTest::cleanupTestCase()
{
    InstallLanguage(Settings::kChinese);
}

void EnglishPlanWindowsTest::windowShowsNoChinese_data()
{
    QTest::addColumn<MakeWindow>("make");
    // Controls whose words come from elsewhere: what the core says of a plan
    // or a diagnosis, the captions of the quality indices, and a language
    // named in itself.
    QTest::addColumn<QStringList>("skipped");
    QTest::newRow("history with a plan") << MakeWindow([](const AppFolder& folder) -> QWidget* {
        StoreLatinPlan(folder);
        return new HistoryWindow(WindowContext{folder}, ReadSettings(folder));
    }) << QStringList{"lblChart", "lblMargin", "Command1"};
    QTest::newRow("diagnosis with nothing tried")
        << MakeWindow([](const AppFolder&) -> QWidget* { return new DiagnoseDialog(ModelInput{}, 0); })
        << QStringList{"lbSummary", "lbConflict"};
    QTest::newRow("database") << MakeWindow([](const AppFolder& folder) -> QWidget* {
        return new DatabaseWindow(WindowContext{folder});
    }) << QStringList();
    QTest::newRow("schedule") << MakeWindow([](const AppFolder& folder) -> QWidget* {
        return new ScheduleWindow(WindowContext{folder});
    }) << QStringList();
    QTest::newRow("settings") << MakeWindow([](const AppFolder& folder) -> QWidget* {
        return new ConfigWindow(WindowContext{folder});
    }) << QStringList{"optLanguage_0", "neishui", "fenxiji", "gudingtan", "kemoxing", "huirongdian", "huishoulv"};
}

void EnglishPlanWindowsTest::windowShowsNoChinese()
{
    QFETCH(MakeWindow, make);
    QFETCH(QStringList, skipped);
    TestFolder t;
    QWidget* window = make(t.folder());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    QApplication::processEvents();
    const QStringList chinese = ChineseTexts(window, skipped);
    delete window;
    QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join(QLatin1Char('\n'))));
}

// The sheet's captions and sentences, and why it cannot be written.
void EnglishPlanWindowsTest::loaderSheetShowsNoChinese()
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
void EnglishPlanWindowsTest::dataWorkMessagesShowNoChinese_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("exit asked") << QStringLiteral("exit");
    QTest::newRow("restore of a file that is no backup") << QStringLiteral("restore");
    QTest::newRow("compact asked") << QStringLiteral("compact");
}

void EnglishPlanWindowsTest::dataWorkMessagesShowNoChinese()
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

QTEST_MAIN(EnglishPlanWindowsTest)
#include "tst_english_plan_windows.moc"
