// The history window's insight panel, driven by object name: a run's plan
// with a binding target, a plan stored without targets, the tons toggle, the
// hidden-column settings and the chart saved as a picture.

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "history/PlanHistory.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/PlanCharts.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QChart>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kNeishui = 0, kAsh = 6;

QLineEdit* Box(QWidget* w, const QString& name) { return Child<QLineEdit>(w, name); }
QLineEdit* Cell(QWidget* w, const char* column, int row)
{
    return Box(w, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
}

// The cells of the target list's row for an index label; empty when none.
QStringList LimitRow(ReportList* limits, const QString& label)
{
    const ListData& data = limits->listData();
    for (int r = 0; r < data.rowCount(); ++r)
        if (data.cell(r, 0) == label)
            return QStringList{data.rows[r].text} + data.rows[r].subItems;
    return {};
}

QLineSeries* PriceSeries(QWidget* window)
{
    auto* view = Child<QChartView>(window, QStringLiteral("chartPrice"));
    for (QAbstractSeries* series : view->chart()->series())
        if (series->objectName() == QStringLiteral("seriesPrice"))
            return qobject_cast<QLineSeries*>(series);
    qFatal("chartPrice has no price series");
}

QXYSeries* Series(QWidget* window, const QString& name)
{
    auto* view = Child<QChartView>(window, QStringLiteral("chartPrice"));
    for (QAbstractSeries* series : view->chart()->series())
        if (series->objectName() == name)
            return qobject_cast<QXYSeries*>(series);
    qFatal("chartPrice has no series %s", qPrintable(name));
}

int PlanWithoutTargets(const AppFolder& folder)
{
    NewPlan plan{QStringLiteral("[铲数配比] 灰分<=12 "), {}, {}};
    plan.coals << MakeCoal("甲", 500) << MakeCoal("乙", 450);
    plan.coals[0].MeiChan = QStringLiteral("2");
    plan.coals[1].MeiChan = QStringLiteral("3");
    for (int r = 1; r <= 3; ++r) {
        PlanBlendRow row;
        row.parts[0] = r;
        row.parts[1] = 1;
        row.blend.JiaGe = 470 + r;
        plan.rows << row;
    }
    return Expect(StorePlan(folder, plan));
}

}  // namespace

class HistoryInsightTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void runWithABindingAshBound();
    void followsTheSelection_data();
    void followsTheSelection();
    void planStoredWithoutTargets();
    void followsTheTonsToggle();
    void hiddenIndexHidesItsRow();
    void savesTheChart_data();
    void savesTheChart();

private:
    std::unique_ptr<TestFolder> test_;
    std::unique_ptr<Windows> windows_;

    HistoryWindow* runThreeCoals(const QString& neishuiMin = QString());
    void selectRowWhere(HistoryWindow* history, const std::function<bool()>& found);
};

void HistoryInsightTest::initTestCase()
{
    Prompt::setTestMode(true);
}

void HistoryInsightTest::init()
{
    Prompt::clear();
    test_ = std::make_unique<TestFolder>();
}

void HistoryInsightTest::cleanup()
{
    windows_.reset();
    test_.reset();
}

// Three coals through the workspace, ash at most 12. Two parts of A (ash
// 11.9) and one of C (12.2) sit exactly on the bound at total 3; one step
// more (12.12) lets a second part of the cheaper C in, and one shovel more
// of C breaks it.
HistoryWindow* HistoryInsightTest::runThreeCoals(const QString& neishuiMin)
{
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    WorkspaceWindow* main = windows_->workspace();
    const char* names[] = {"A", "B", "C"};
    const char* prices[] = {"500", "450", "420"};
    const char* ashes[] = {"11.9", "14", "12.2"};
    for (int j = 0; j < 3; ++j) {
        Cell(main, "txtMingcheng", j)->setText(QString::fromLatin1(names[j]));
        Cell(main, "txtJiage", j)->setText(QString::fromLatin1(prices[j]));
        Cell(main, "txtHuifen", j)->setText(QString::fromLatin1(ashes[j]));
        Cell(main, "txtNeishui", j)->setText(QStringLiteral("4"));
        Cell(main, "txtKuCun", j)->setText(QStringLiteral("500"));
    }
    Box(main, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("12"));
    if (!neishuiMin.isEmpty()) {
        Child<QCheckBox>(main, QStringLiteral("chkJingque"))->setChecked(true);
        Box(main, QStringLiteral("txtNeishuiMin"))->setText(neishuiMin);
    }
    Box(main, QStringLiteral("txtChanshu"))->setText(QStringLiteral("6"));
    QSignalSpy finished(main, &WorkspaceWindow::runFinished);
    Child<QPushButton>(main, QStringLiteral("Command1"))->click();
    if (finished.isEmpty() && !finished.wait(60000))
        qFatal("the run did not end");
    if (!Prompt::shown().isEmpty())
        qFatal("the run said: %s", qPrintable(Prompt::lastText()));
    HistoryWindow* history = windows_->existingHistory();
    if (!history)
        qFatal("no history window after the run");
    return history;
}

void HistoryInsightTest::selectRowWhere(HistoryWindow* history, const std::function<bool()>& found)
{
    ReportList* blends = Child<ReportList>(history, QStringLiteral("lsvBottom"));
    for (int r = 0; r < blends->rowCount(); ++r) {
        blends->selectRow(r);
        if (found())
            return;
    }
    QFAIL("no proportion row fits");
}

// The plan of a run shows its targets at once; a row whose ash sits on its
// bound marks it, prices it lower one step looser and lower still without
// it, and names ash as what one shovel breaks. The chart has a point per
// stored row and marks the selected one.
void HistoryInsightTest::runWithABindingAshBound()
{
    HistoryWindow* history = runThreeCoals();
    auto* limits = Child<ReportList>(history, QStringLiteral("lsvLimits"));
    auto* blends = Child<ReportList>(history, QStringLiteral("lsvBottom"));
    auto* margin = Child<QLabel>(history, QStringLiteral("lblMargin"));
    QCOMPARE(LimitRow(limits, QStringLiteral("灰分")), (QStringList{"灰分", "", "", "12", "", "", "", ""}));
    QCOMPARE(blends->currentRow(), -1);

    selectRowWhere(history, [&] { return LimitRow(limits, QStringLiteral("灰分")).value(4).contains("已达上限"); });
    const QStringList ash = LimitRow(limits, QStringLiteral("灰分"));
    const int priceColumn = blends->listData().columnCount() - 1;
    const double price = blends->listData().cell(blends->currentRow(), priceColumn).toDouble();
    QCOMPARE(ash[1], QStringLiteral("12.00"));
    QCOMPARE(ash[4], QStringLiteral("0.00 已达上限"));
    const auto stepped = ReadNumberText(ash[5]);
    const auto removed = ReadNumberText(ash[6]);
    QVERIFY2(stepped && removed, qPrintable(ash.join('|')));
    QVERIFY2(*stepped < price - 0.005, qPrintable(ash.join('|')));
    QVERIFY(*removed <= *stepped);
    QVERIFY(ReadNumberText(ash[7]).value_or(0.0) < 0.0);  // a higher upper bound lowers the price
    QVERIFY2(margin->text().contains(QStringLiteral("灰分可达")), qPrintable(margin->text()));
    QVERIFY(margin->text().contains(QStringLiteral("比上限 12 高")));

    QCOMPARE(PriceSeries(history)->count(), blends->rowCount());
    QXYSeries* selected = Series(history, QStringLiteral("seriesSelected"));
    QCOMPARE(selected->count(), 1);
    QVERIFY(std::fabs(selected->at(0).y() - price) < 0.005);  // the stored price is rounded
    QCOMPARE(Series(history, QStringLiteral("seriesFineEnough"))->count(), 1);
    QCOMPARE(Child<ShareBar>(history, QStringLiteral("chartShares"))->shares().size(), 3);
}

void HistoryInsightTest::followsTheSelection_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("mouse click on the row") << "mouse";
    QTest::newRow("arrow keys") << "keys";
    QTest::newRow("code") << "code";
}

// However the last proportion row gets selected, the panel shows its analysis:
// a mouse press makes the row current before it selects it.
void HistoryInsightTest::followsTheSelection()
{
    QFETCH(QString, how);
    HistoryWindow* history = runThreeCoals();
    auto* blends = Child<ReportList>(history, QStringLiteral("lsvBottom"));
    auto* limits = Child<ReportList>(history, QStringLiteral("lsvLimits"));
    auto* margin = Child<QLabel>(history, QStringLiteral("lblMargin"));
    const QString hint = margin->text();
    QVERIFY(blends->rowCount() >= 2);
    QCOMPARE(LimitRow(limits, QStringLiteral("灰分")).value(1), QString());
    const int last = blends->rowCount() - 1;
    if (how == QLatin1String("mouse")) {
        QVERIFY(QTest::qWaitForWindowExposed(history));
        // As a user would, scroll the row into view before clicking it.
        const QModelIndex lastCell = blends->model()->index(last, 1);
        blends->scrollTo(lastCell);
        const QRect cell = blends->visualRect(lastCell);
        QVERIFY2(blends->viewport()->rect().contains(cell.center()), "the row cannot be seen");
        QTest::mouseClick(blends->viewport(), Qt::LeftButton, {}, cell.center());
    } else if (how == QLatin1String("keys")) {
        blends->setFocus();
        QTest::keyClick(blends, Qt::Key_Home);
        for (int r = 0; r < last; ++r)
            QTest::keyClick(blends, Qt::Key_Down);
    } else {
        blends->selectRow(last);
    }
    QCOMPARE(blends->currentRow(), last);
    const QStringList ash = LimitRow(limits, QStringLiteral("灰分"));
    QVERIFY2(ReadNumberText(ash.value(1)).has_value(), qPrintable(ash.join('|')));
    QVERIFY2(!ash.value(4).isEmpty(), qPrintable(ash.join('|')));
    QVERIFY2(margin->text() != hint && margin->text().startsWith(QStringLiteral("差一")), qPrintable(margin->text()));
    QCOMPARE(Series(history, QStringLiteral("seriesSelected"))->count(), 1);
}

// A plan stored before targets were kept says so; its prices are charted.
void HistoryInsightTest::planStoredWithoutTargets()
{
    PlanWithoutTargets(test_->folder());
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    HistoryWindow* history = windows_->history();
    Child<ReportList>(history, QStringLiteral("lsvBottom"))->selectRow(1);
    QCOMPARE(Child<QLabel>(history, QStringLiteral("lblMargin"))->text(), QStringLiteral("此方案没有保存指标范围"));
    QCOMPARE(Child<ReportList>(history, QStringLiteral("lsvLimits"))->rowCount(), 0);
    QLineSeries* prices = PriceSeries(history);
    QCOMPARE(prices->count(), 3);
    // Shovel counts by their weight: 2 t per shovel of 甲, 3 t of 乙.
    QCOMPARE(prices->at(0).x(), 5.0);
    QCOMPARE(prices->at(2).x(), 9.0);
    QCOMPARE(Series(history, QStringLiteral("seriesSelected"))->count(), 1);
}

// Converted to tons, the rows still are the stored proportions: the same row
// stays selected with the same analysis, its shares now in tons.
void HistoryInsightTest::followsTheTonsToggle()
{
    HistoryWindow* history = runThreeCoals();
    auto* limits = Child<ReportList>(history, QStringLiteral("lsvLimits"));
    auto* blends = Child<ReportList>(history, QStringLiteral("lsvBottom"));
    auto* shares = Child<ShareBar>(history, QStringLiteral("chartShares"));
    selectRowWhere(history, [&] { return LimitRow(limits, QStringLiteral("灰分")).value(4).contains("已达上限"); });
    const QString id = blends->listData().cell(blends->currentRow(), 0);
    const QStringList before = LimitRow(limits, QStringLiteral("灰分"));
    const QString margin = Child<QLabel>(history, QStringLiteral("lblMargin"))->text();
    QCOMPARE(shares->shares()[0].amount, QStringLiteral("2份"));

    Box(history, QStringLiteral("txtZhongliang"))->setText(QStringLiteral("300"));
    auto* convert = Child<QPushButton>(history, QStringLiteral("Command1"));
    convert->click();
    QCOMPARE(convert->text(), QStringLiteral("还原"));
    QCOMPARE(blends->listData().cell(blends->currentRow(), 0), id);
    QCOMPARE(LimitRow(limits, QStringLiteral("灰分")), before);
    QCOMPARE(Child<QLabel>(history, QStringLiteral("lblMargin"))->text(), margin);
    QCOMPARE(shares->shares()[0].amount, QStringLiteral("200.00吨"));
    QCOMPARE(shares->shares()[2].amount, QStringLiteral("100.00吨"));

    convert->click();
    QCOMPARE(blends->listData().cell(blends->currentRow(), 0), id);
    QCOMPARE(shares->shares()[0].amount, QStringLiteral("2份"));
}

// An index whose columns the settings hide has its row hidden, not removed.
void HistoryInsightTest::hiddenIndexHidesItsRow()
{
    QVERIFY(WriteBytes(test_->folder().ConfigPath(), "[config]\r\nneishui=1\r\n"));
    HistoryWindow* history = runThreeCoals(QStringLiteral("3"));
    auto* limits = Child<ReportList>(history, QStringLiteral("lsvLimits"));
    QCOMPARE(limits->rowCount(), 2);
    QCOMPARE(limits->listData().cell(0, 0), QString::fromUtf8(QualityIndices()[kNeishui].listHeader));
    QCOMPARE(limits->listData().cell(1, 0), QString::fromUtf8(QualityIndices()[kAsh].listHeader));
    Child<ReportList>(history, QStringLiteral("lsvBottom"))->selectRow(0);
    QVERIFY(limits->isRowHidden(0, QModelIndex()));
    QVERIFY(!limits->isRowHidden(1, QModelIndex()));
    QCOMPARE(limits->listData().cell(0, 2), QStringLiteral("3"));
}

void HistoryInsightTest::savesTheChart_data()
{
    QTest::addColumn<QString>("chosen");     // "" = the dialog is cancelled
    QTest::addColumn<QString>("written");    // "" = no file
    QTest::addColumn<QString>("message");    // the first message shown
    QTest::newRow("name without extension") << "chart" << "chart.png" << "导出成功，是否打开文件？点确定打开，点取消不打开";
    QTest::newRow("cancelled") << "" << "" << "";
    QTest::newRow("folder missing") << "no/such/chart.png" << "" << "保存图表失败";
}

// The charts' context menu saves both charts as one PNG picture through the
// file dialog; a failed write says so and leaves nothing.
void HistoryInsightTest::savesTheChart()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, message);
    HistoryWindow* history = runThreeCoals();
    history->resize(1000, 800);
    Child<ReportList>(history, QStringLiteral("lsvBottom"))->selectRow(0);
    auto* save = Child<QAction>(history, QStringLiteral("munSaveChart"));
    QVERIFY(Child<QWidget>(history, QStringLiteral("chartPrice"))->actions().contains(save));
    if (!chosen.isEmpty())
        Prompt::queueFileName(test_->path(chosen));
    Prompt::queueAnswer(QMessageBox::Cancel);
    save->trigger();

    QCOMPARE(Prompt::fileRequests().size(), 1);
    QVERIFY(Prompt::fileRequests()[0].filter.contains(QStringLiteral("*.png")));
    if (message.isEmpty())
        QVERIFY(Prompt::shown().isEmpty());
    else
        QVERIFY2(Prompt::shown().value(0).text.startsWith(message), qPrintable(Prompt::lastText()));
    QVERIFY(Prompt::openedDocuments().isEmpty());
    if (!written.isEmpty()) {
        const QImage image(test_->path(written));
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 100 && image.height() > 50);
    }
    QCOMPARE(QDir(test_->folder().dir).entryList({QStringLiteral("*.png")}, QDir::Files).size(), written.isEmpty() ? 0 : 1);
}

QTEST_MAIN(HistoryInsightTest)
#include "tst_history_insight.moc"
