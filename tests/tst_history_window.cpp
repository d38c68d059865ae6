#include "support/PdfText.h"
#include "support/TestFolder.h"

#include "base/Mei.h"
#include "base/Settings.h"
#include "data/Dbconnection.h"
#include "export/ListExport.h"
#include "history/PlanHistory.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// A plan with the given coals (price 500, 600, ...) and one proportion row per
// entry of blends.
int MakePlan(const AppFolder& folder, const QString& info, const QStringList& coalNames,
             const QVector<QVector<double>>& blends)
{
    NewPlan plan{info, {}, {}};
    for (int i = 0; i < coalNames.size(); ++i)
        plan.coals << MakeCoal(coalNames[i], 500 + 100 * i);
    for (int i = 0; i < blends.size(); ++i) {
        PlanBlendRow row;
        for (int j = 0; j < blends[i].size(); ++j)
            row.parts[j] = blends[i][j];
        row.blend = MakeCoal(QString(), 550 + i);
        plan.rows << row;
    }
    return Expect(StorePlan(folder, plan));
}

// 1200 plans, twenty a day from 2026-01-01: every third names 大同, every
// hundredth carries "50%_\\" in its text.
QString SearchText(int i)
{
    return QStringLiteral("灰分<=12 方案%1").arg(i) + (i % 3 == 0 ? QStringLiteral(" 大同") : QString())
           + (i % 100 == 0 ? QStringLiteral(" 50%_\\") : QString());
}

QDate SearchDay(int i) { return QDate(2026, 1, 1).addDays(i / 20); }

void MakeSearchPlans(const AppFolder& folder)
{
    auto transaction = Expect(WriteTransaction::Begin(folder));
    for (int i = 1; i <= 1200; ++i) {
        const int id = Expect(SavePlanHeader(SearchText(i)));
        Expect(Execute(QStringLiteral("update Lishi_fangan set riqi=? where id=?"),
                       {SearchDay(i).toString("yyyy-MM-dd") + QStringLiteral(" 08:30:00"), id}));
    }
    Expect(transaction.Commit());
}

int CountRows(const AppFolder& folder, const QString& table, const QString& column, int id)
{
    auto scope = Expect(ConnectionScope::Open(folder));
    QSqlQuery q = Expect(RunQuery(QStringLiteral("select count(*) from %1 where %2=?").arg(table, column), {id}));
    q.next();
    return q.value(0).toInt();
}

QStringList HiddenHeaders(const ReportList* list)
{
    QStringList hidden;
    for (int c = 1; c < list->listData().columnCount(); ++c)
        if (list->isColumnHidden(c))
            hidden << list->listData().columns[c].header;
    return hidden;
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsTheNewest500();
    void showsPlan();
    void deletesEverySelectedPlan_data();
    void deletesEverySelectedPlan();
    void deleteFailureSaidOnce();
    void hidesColumnsBySettings();
    void exportsAsShown();
    void excelFailureMessage();
    void sortsByHeaderText();
    void reloadShowsNewPlan();
    void coalNamesWithCommasKeepTheirColumns();
    void searchFindsEveryMatchingPlan_data();
    void searchFindsEveryMatchingPlan();
    void pagesReachTheOldestPlan();
    void loaderSheetOfTheSelectedRow_data();
    void loaderSheetOfTheSelectedRow();

private:
    std::unique_ptr<TestFolder> tf_;
    QPointer<HistoryWindow> window_;

    HistoryWindow* open()
    {
        const QDateTime fixed(QDate(2026, 3, 4), QTime(17, 5, 9));
        window_ = new HistoryWindow(WindowContext{tf_->folder(), [fixed] { return fixed; }}, ReadSettings(tf_->folder()));
        return window_;
    }
    template <class T>
    T* child(const char* name) { return window_->findChild<T*>(QString::fromLatin1(name)); }
};

void HistoryWindowTest::init()
{
    tf_ = std::make_unique<TestFolder>();
    Prompt::setTestMode(true);
    Prompt::clear();
}

void HistoryWindowTest::cleanup()
{
    delete window_;
    tf_.reset();
}

void HistoryWindowTest::listsTheNewest500()
{
    QVector<int> ids;
    {
        auto scope = Expect(ConnectionScope::Open(tf_->folder()));
        auto t = Expect(Transaction::Begin());
        for (int i = 0; i < 501; ++i)
            ids << Expect(SavePlanHeader(QStringLiteral("方案%1").arg(i)));
        Expect(t.Commit());
    }
    open();
    const ReportList* lsvLeft = child<ReportList>("lsvLeft");
    QCOMPARE(lsvLeft->rowCount(), 500);
    QCOMPARE(lsvLeft->listData().cell(0, 0), QString::number(ids.last()));
    QCOMPARE(lsvLeft->listData().cell(499, 0), QString::number(ids[1]));
    QCOMPARE(window_->currentPlanId(), ids.last());
    QVERIFY(lsvLeft->isColumnHidden(0));
    QVERIFY(NothingHeldOpen());
}

void HistoryWindowTest::showsPlan()
{
    MakePlan(tf_->folder(), QStringLiteral("硫分<1\r\n灰分<10"), {"A", "B", "C"}, {{60, 30, 10}, {50, 40, 10}});
    open();
    QCOMPARE(child<QLabel>("lbZhibiao")->text(), QStringLiteral("硫分<1灰分<10"));
    QCOMPARE(child<ReportList>("lsvMid")->rowCount(), 3);
    const ListData& blends = child<ReportList>("lsvBottom")->listData();
    QCOMPARE(blends.rowCount(), 2);
    QStringList titles;
    for (int c = 1; c <= 10; ++c)
        titles << blends.columns[c].header;
    QCOMPARE(titles, (QStringList{"A", "B", "C", "d4", "d5", "d6", "d7", "d8", "d9", "d10"}));
    QCOMPARE(blends.cell(0, 1), QStringLiteral("60"));  // cheapest first
    QCOMPARE(blends.cell(0, 4), QStringLiteral("0"));
    QCOMPARE(child<QPushButton>("Command1")->text(), QStringLiteral("把如下比例转换成吨"));
    for (const char* name : {"Toolbar1", "fraLeft", "fraTop", "fraMid", "fraBottom", "txtZhongliang", "picLOAD"})
        QVERIFY2(window_->findChild<QWidget*>(QString::fromLatin1(name)), name);
    QCOMPARE(child<QAction>("Toolbar1_2")->text(), QStringLiteral("删除方案"));
    QCOMPARE(child<QAction>("Toolbar1_3")->text(), QStringLiteral("导出普通"));
    QCOMPARE(child<QAction>("Toolbar1_4")->text(), QStringLiteral("导出Excel"));
    QVERIFY(NothingHeldOpen());
}

void HistoryWindowTest::deletesEverySelectedPlan_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("confirmed") << int(QMessageBox::Ok);
    QTest::newRow("cancelled") << int(QMessageBox::Cancel);
}

void HistoryWindowTest::deletesEverySelectedPlan()
{
    QFETCH(int, answer);
    const int oldest = MakePlan(tf_->folder(), QStringLiteral("一"), {"A", "B"}, {{1, 1}, {2, 1}});
    const int middle = MakePlan(tf_->folder(), QStringLiteral("二"), {"C", "D"}, {{1, 2}});
    const int newest = MakePlan(tf_->folder(), QStringLiteral("三"), {"E", "F"}, {{3, 1}});
    open();
    ReportList* lsvLeft = child<ReportList>("lsvLeft");
    lsvLeft->selectRow(0);
    lsvLeft->selectRow(2, true);
    Prompt::queueAnswer(QMessageBox::StandardButton(answer));
    child<QAction>("Toolbar1_2")->trigger();

    QCOMPARE(Prompt::shown().size(), 1);
    QCOMPARE(Prompt::shown()[0].text, QStringLiteral("确定要删除此方案吗？"));
    const bool deleted = answer == QMessageBox::Ok;
    QCOMPARE(lsvLeft->rowCount(), deleted ? 1 : 3);
    for (int id : {oldest, newest}) {
        QCOMPARE(CountRows(tf_->folder(), QStringLiteral("Lishi_fangan"), QStringLiteral("id"), id), deleted ? 0 : 1);
        QCOMPARE(CountRows(tf_->folder(), QStringLiteral("Lishi_meitan"), QStringLiteral("followid"), id) == 0, deleted);
        QCOMPARE(CountRows(tf_->folder(), QStringLiteral("Lishi_Peibibiao"), QStringLiteral("followid"), id) == 0, deleted);
    }
    QCOMPARE(CountRows(tf_->folder(), QStringLiteral("Lishi_meitan"), QStringLiteral("followid"), middle), 2);
    if (deleted) {
        QCOMPARE(window_->currentPlanId(), middle);
        QCOMPARE(child<ReportList>("lsvMid")->listData().cell(0, 1), QStringLiteral("C"));
    }
    QVERIFY(NothingHeldOpen());
}

// Settings of 1 hide the index columns of both lists; the G rule also takes a
// proportion column whose coal name (of the plan shown at load) holds a Latin
// G, and the hidden state stays with the column when another plan is shown.
void HistoryWindowTest::deleteFailureSaidOnce()
{
    MakePlan(tf_->folder(), QStringLiteral("一"), {"A", "B"}, {{1, 1}});
    MakePlan(tf_->folder(), QStringLiteral("二"), {"C", "D"}, {{1, 2}});
    open();
    const QString said = tf_->breakDatabase();
    Prompt::queueAnswer(QMessageBox::Ok);
    child<QAction>("Toolbar1_2")->trigger();

    // The question, then one box for the failed delete; the plan stays listed
    // and shown.
    QCOMPARE(Prompt::shown().size(), 2);
    QVERIFY2(Prompt::lastText().startsWith(said), qPrintable(Prompt::lastText()));
    QCOMPARE(Prompt::lastText().count(QStringLiteral("数据库操作失败")), 1);
    QCOMPARE(child<ReportList>("lsvLeft")->rowCount(), 2);
    QCOMPARE(child<ReportList>("lsvMid")->rowCount(), 2);
    QCOMPARE(child<ReportList>("lsvMid")->listData().cell(0, 1), QStringLiteral("C"));
    QVERIFY(NothingHeldOpen());
}

void HistoryWindowTest::hidesColumnsBySettings()
{
    QVERIFY(WriteBytes(tf_->folder().ConfigPath(), "[config]\r\nneishui=1\r\nG=1\r\nhuishoulv=1\r\nfenxiji=0\r\nY=2\r\n"));
    MakePlan(tf_->folder(), QStringLiteral("旧"), {"甲", "乙"}, {{1, 1}});
    MakePlan(tf_->folder(), QStringLiteral("新"), {"乙", "Gx煤"}, {{1, 1}});
    open();
    ReportList* lsvMid = child<ReportList>("lsvMid");
    ReportList* lsvBottom = child<ReportList>("lsvBottom");
    QCOMPARE(HiddenHeaders(lsvMid), (QStringList{"内水", "粘结G", "回收率"}));
    QCOMPARE(HiddenHeaders(lsvBottom), (QStringList{"Gx煤", "内水", "粘结G", "回收率"}));
    QVERIFY(lsvBottom->isColumnHidden(0));

    child<ReportList>("lsvLeft")->selectRow(1);
    QCOMPARE(lsvBottom->listData().columns[2].header, QStringLiteral("乙"));
    QVERIFY(lsvBottom->isColumnHidden(2));
}

// Both exports write the plan as shown, after a conversion to tons too; the
// dialog proposes the program's name with the time; OK opens the file.
void HistoryWindowTest::exportsAsShown()
{
    MakePlan(tf_->folder(), QStringLiteral("硫分<1 & 灰分"), {"A<1>", "B"}, {{60, 40}});
    open();
    child<QLineEdit>("txtZhongliang")->setText(QStringLiteral("500"));
    child<QPushButton>("Command1")->click();
    QCOMPARE(child<QPushButton>("Command1")->text(), QStringLiteral("还原"));

    const QString xls = tf_->path(QStringLiteral("plan"));
    Prompt::queueFileName(xls);
    Prompt::queueAnswer(QMessageBox::Ok);
    child<QAction>("Toolbar1_4")->trigger();
    QCOMPARE(Prompt::fileRequests().size(), 1);
    QCOMPARE(Prompt::fileRequests()[0].proposedName, QStringLiteral("Velmora配煤软件_26-03-04-17-05-09"));
    QVERIFY(Prompt::fileRequests()[0].filter.contains(QStringLiteral("*.xls")));
    QCOMPARE(Prompt::lastText(), QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开"));
    QCOMPARE(Prompt::shown().last().title, QStringLiteral("导出提示："));
    QCOMPARE(Prompt::openedDocuments(), QStringList{xls + QStringLiteral(".xls")});
    const XlsSheet sheet = Expect(ReadXlsFile(xls + QStringLiteral(".xls")));
    const XlsRow& last = sheet.rows.last();
    // The tons as numbers, not texts.
    QCOMPARE(last.value(1).kind, XlsCell::Kind::Number);
    QCOMPARE(last.value(1).number, 300.0);
    QCOMPARE(last.value(2).number, 200.0);
    QVERIFY(!child<QWidget>("picLOAD")->isVisible());

    const QString html = tf_->path(QStringLiteral("plan.html"));
    Prompt::queueFileName(html);
    Prompt::queueAnswer(QMessageBox::Cancel);
    child<QAction>("Toolbar1_3")->trigger();
    QVERIFY(Prompt::fileRequests().last().filter.contains(QStringLiteral("*.html")));
    QCOMPARE(Prompt::openedDocuments().size(), 1);  // Cancel opens nothing
    QFile page(html);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY(text.contains(QStringLiteral("硫分&lt;1 &amp; 灰分")));
    QVERIFY(text.contains(QStringLiteral("<td>A&lt;1&gt;</td>")));
    QVERIFY(text.contains(QStringLiteral("<td>300.00</td>")));

    // A cancelled dialog ends the command silently.
    const int shown = Prompt::shown().size();
    child<QAction>("Toolbar1_3")->trigger();
    QCOMPARE(Prompt::shown().size(), shown);
}

void HistoryWindowTest::excelFailureMessage()
{
    MakePlan(tf_->folder(), QStringLiteral("x"), {"A"}, {{1}});
    open();
    Prompt::queueFileName(tf_->path(QStringLiteral("no/such/folder/plan.xls")));
    child<QAction>("Toolbar1_4")->trigger();
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY(Prompt::lastText().startsWith(ExcelExportFailedMessage()));
    QVERIFY(Prompt::lastText().size() > ExcelExportFailedMessage().size());
    QVERIFY(Prompt::openedDocuments().isEmpty());
}

void HistoryWindowTest::sortsByHeaderText()
{
    MakePlan(tf_->folder(), QStringLiteral("x"), {"A", "B"}, {{9, 1}, {10, 1}, {8, 1}});
    open();
    ReportList* lsvBottom = child<ReportList>("lsvBottom");
    window_->lsvBottom_ColumnClick(1);
    QCOMPARE(lsvBottom->listData().columnCells(1), (QStringList{"9", "8", "10"}));
    window_->lsvBottom_ColumnClick(1);
    QCOMPARE(lsvBottom->listData().columnCells(1), (QStringList{"10", "8", "9"}));
}

void HistoryWindowTest::reloadShowsNewPlan()
{
    MakePlan(tf_->folder(), QStringLiteral("旧"), {"A"}, {{1}});
    open();
    const int fresh = MakePlan(tf_->folder(), QStringLiteral("新"), {"N1", "N2"}, {{1, 2}});
    window_->reloadAndShowNewest();
    QCOMPARE(child<ReportList>("lsvLeft")->rowCount(), 2);
    QCOMPARE(window_->currentPlanId(), fresh);
    QCOMPARE(child<QLabel>("lbZhibiao")->text(), QStringLiteral("新"));
    QCOMPARE(child<ReportList>("lsvBottom")->listData().columns[2].header, QStringLiteral("N2"));
}

// A coal name holding a comma is one proportion column's title, in the
// window and in both exports; the columns after it keep their coals.
void HistoryWindowTest::coalNamesWithCommasKeepTheirColumns()
{
    MakePlan(tf_->folder(), QStringLiteral("x"), {"甲,乙", "丙煤"}, {{3, 1}});
    open();
    const ListData& blends = child<ReportList>("lsvBottom")->listData();
    QCOMPARE(blends.columns[1].header, QStringLiteral("甲,乙"));
    QCOMPARE(blends.columns[2].header, QStringLiteral("丙煤"));
    QCOMPARE(blends.columns[3].header, QStringLiteral("d3"));

    const QString xls = tf_->path(QStringLiteral("plan.xls"));
    Prompt::queueFileName(xls);
    child<QAction>("Toolbar1_4")->trigger();
    const XlsSheet sheet = Expect(ReadXlsFile(xls));
    const XlsRow& header = sheet.rows[sheet.rows.size() - 2];
    QCOMPARE(header.value(1).text, QStringLiteral("甲,乙"));
    QCOMPARE(header.value(2).text, QStringLiteral("丙煤"));

    const QString html = tf_->path(QStringLiteral("plan.html"));
    Prompt::queueFileName(html);
    child<QAction>("Toolbar1_3")->trigger();
    QVERIFY(QString::fromUtf8(ReadBytes(html)).contains(QStringLiteral("<td>序</td><td>甲,乙</td><td>丙煤</td><td>d3</td>")));
}

// The search lists every plan whose text holds each typed word, saved in the
// range of days when one is ticked, newest first; what is typed is text, %
// and _ included.
void HistoryWindowTest::searchFindsEveryMatchingPlan_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("from");  // null: no range of days
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QVector<int>>("expected");  // the plans, newest first
    const auto plans = [](const std::function<bool(int)>& match) {
        QVector<int> ids;
        for (int i = 1200; i >= 1; --i)
            if (match(i))
                ids << i;
        return ids;
    };
    QTest::newRow("a word") << "大同" << QDate() << QDate() << plans([](int i) { return i % 3 == 0; });
    QTest::newRow("two words, both needed")
        << " 大同  方案12 " << QDate() << QDate()
        << plans([](int i) { return i % 3 == 0 && QString::number(i).startsWith("12"); });
    QTest::newRow("% and _ are characters") << "50%_\\" << QDate() << QDate()
                                            << plans([](int i) { return i % 100 == 0; });
    QTest::newRow("a range of days") << "" << QDate(2026, 1, 10) << QDate(2026, 1, 12)
                                     << plans([](int i) { return i / 20 >= 9 && i / 20 <= 11; });
    QTest::newRow("words in a range of days")
        << "大同" << QDate(2026, 2, 1) << QDate(2026, 2, 1) << plans([](int i) { return i % 3 == 0 && i / 20 == 31; });
    QTest::newRow("nothing matches") << "没有这个词" << QDate() << QDate() << QVector<int>();
}

void HistoryWindowTest::searchFindsEveryMatchingPlan()
{
    QFETCH(QString, typed);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QVector<int>, expected);
    MakeSearchPlans(tf_->folder());
    open()->show();
    child<QLineEdit>("txtSousuo")->setText(typed);
    if (from.isValid()) {
        QTest::mouseClick(child<QCheckBox>("chkRiqi"), Qt::LeftButton);
        child<QDateEdit>("dtpFrom")->setDate(from);
        child<QDateEdit>("dtpTo")->setDate(to);
    }
    QTest::mouseClick(child<QPushButton>("cmdSousuo"), Qt::LeftButton);
    const ReportList* plans = child<ReportList>("lsvLeft");
    QStringList ids;
    for (int id : expected)
        ids << QString::number(id);
    QCOMPARE(plans->listData().columnCells(0), ids);
    if (expected.isEmpty()) {
        QCOMPARE(child<QLabel>("lblYeshu")->text(), QStringLiteral("没有找到方案"));
        QCOMPARE(child<ReportList>("lsvBottom")->rowCount(), 0);
        QVERIFY(child<QLabel>("lbZhibiao")->text().isEmpty());
    } else {
        QCOMPARE(child<QLabel>("lblYeshu")->text(), QStringLiteral("第 1/1 页，共 %1 个方案").arg(expected.size()));
        QCOMPARE(window_->currentPlanId(), expected.first());
    }
}

// Every plan is reachable: the list opens on the newest 500, and the pages
// go down to the oldest and back; a range whose first day comes after its
// last is refused, and the list stays.
void HistoryWindowTest::pagesReachTheOldestPlan()
{
    MakeSearchPlans(tf_->folder());
    open()->show();
    const ReportList* plans = child<ReportList>("lsvLeft");
    auto* next = child<QPushButton>("cmdXiaye");
    auto* previous = child<QPushButton>("cmdShangye");
    QCOMPARE(plans->rowCount(), 500);
    QCOMPARE(child<QLabel>("lblYeshu")->text(), QStringLiteral("第 1/3 页，共 1200 个方案"));
    QVERIFY(!previous->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(plans->rowCount(), 200);
    QCOMPARE(plans->listData().cell(0, 0), QStringLiteral("200"));
    QCOMPARE(plans->listData().cell(199, 0), QStringLiteral("1"));
    QCOMPARE(window_->currentPlanId(), 200);
    QVERIFY(!next->isEnabled());
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(plans->listData().cell(0, 0), QStringLiteral("700"));

    QTest::mouseClick(child<QCheckBox>("chkRiqi"), Qt::LeftButton);
    child<QDateEdit>("dtpFrom")->setDate(QDate(2026, 2, 2));
    child<QDateEdit>("dtpTo")->setDate(QDate(2026, 2, 1));
    QTest::mouseClick(child<QPushButton>("cmdSousuo"), Qt::LeftButton);
    QVERIFY2(Prompt::lastText().contains(QStringLiteral("晚于")), qPrintable(Prompt::lastText()));
    QCOMPARE(plans->listData().cell(0, 0), QStringLiteral("700"));

    // A new plan clears the search and shows itself.
    const int fresh = MakePlan(tf_->folder(), QStringLiteral("新"), {"A"}, {{1}});
    window_->reloadAndShowNewest();
    QCOMPARE(window_->currentPlanId(), fresh);
    QCOMPARE(child<QLabel>("lblYeshu")->text(), QStringLiteral("第 1/3 页，共 1201 个方案"));
    QVERIFY(!child<QCheckBox>("chkRiqi")->isChecked());
}

// The loader sheet of the selected row: saved as PDF (the export's question
// after it) or printed, for the typed tonnage or the plan's own; nothing
// without a row or a tonnage.
void HistoryWindowTest::loaderSheetOfTheSelectedRow_data()
{
    QTest::addColumn<QString>("command");     // btnZhuangche or btnDayin
    QTest::addColumn<QString>("typed");       // txtZhongliang
    QTest::addColumn<bool>("selected");       // a proportion row is selected
    QTest::addColumn<QString>("tons");        // the total on the sheet; "" = no sheet
    QTest::addColumn<QString>("message");     // the box shown instead of a sheet
    QTest::newRow("saved, typed tonnage") << "btnZhuangche" << "500" << true << "500.00" << "";
    QTest::newRow("saved, plan's tonnage") << "btnZhuangche" << "" << true << "800.00" << "";
    QTest::newRow("printed") << "btnDayin" << "90" << true << "90.00" << "";
    QTest::newRow("no row") << "btnZhuangche" << "500" << false << "" << "请先选择一行配比方案";
    QTest::newRow("no tonnage number") << "btnDayin" << "abc" << true << "" << "配多少吨请填写成数字";
}

void HistoryWindowTest::loaderSheetOfTheSelectedRow()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(bool, selected);
    QFETCH(QString, tons);
    QFETCH(QString, message);
    NewPlan plan{QStringLiteral("电厂5500"), {MakeCoal(QStringLiteral("大同"), 500), MakeCoal(QStringLiteral("神木"), 600)},
                 {}, PlanTargets{}};
    plan.targets->tonnage = QStringLiteral("800");
    plan.targets->upper[6] = QStringLiteral("12");
    for (const QVector<double>& parts : {QVector<double>{60, 40}, QVector<double>{1, 2}}) {
        PlanBlendRow row;
        row.parts[0] = parts[0];
        row.parts[1] = parts[1];
        row.blend = MakeCoal(QString(), 540 + parts[1]);
        row.blend.HuiFen = QStringLiteral("11.50");
        plan.rows << row;
    }
    Expect(StorePlan(tf_->folder(), plan));
    open();
    child<QLineEdit>("txtZhongliang")->setText(typed);
    if (selected)
        child<ReportList>("lsvBottom")->selectRow(1);  // cheapest first: the dearer row, 60 to 40
    const QString path = tf_->path(QStringLiteral("sheet"));
    Prompt::queueFileName(path);
    Prompt::queueAnswer(QMessageBox::Ok);
    auto* action = child<QAction>(qPrintable(command));
    QCOMPARE(action->text(), QString(command == QLatin1String("btnDayin") ? "打印" : "装车单"));
    action->trigger();

    if (tons.isEmpty()) {
        QCOMPARE(Prompt::lastText(), message);
        QVERIFY(Prompt::fileRequests().isEmpty());
        return;
    }
    const bool printed = command == QLatin1String("btnDayin");
    const QString written = printed ? path : path + QStringLiteral(".pdf");
    if (!printed) {
        QVERIFY(Prompt::fileRequests()[0].filter.contains(QStringLiteral("*.pdf")));
        QCOMPARE(Prompt::lastText(), QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开"));
        QCOMPARE(Prompt::openedDocuments(), QStringList{written});
    } else {
        QVERIFY(Prompt::shown().isEmpty());
    }
    const QStringList pages = PdfPages(written);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QStringLiteral("电厂5500")));
    QCOMPARE(PdfLineWith(pages[0], QStringLiteral("1")).value(1), QStringLiteral("大同"));
    QCOMPARE(PdfLineWith(pages[0], QStringLiteral("2")).value(1), QStringLiteral("神木"));
    QVERIFY2(PdfLineWith(pages[0], QStringLiteral("合计")).contains(tons), qPrintable(pages[0]));
    QVERIFY(pages[0].contains(QStringLiteral("2026-03-04 17:05")));
}

QTEST_MAIN(HistoryWindowTest)
#include "tst_history_window.moc"
