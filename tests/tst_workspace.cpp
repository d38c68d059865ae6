#include "base/Files.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "base/Settings.h"
#include "data/Dbconnection.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/IndexCaptions.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/ConfigWindow.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/WorkspaceWindow.h"
#include "workspace/GridRows.h"
#include "workspace/TargetSets.h"
#include "workspace/WorkspaceState.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <map>
#include <memory>

namespace {

struct TestCoal {
    QString name;
    double price;
    double ash;
    double sulphur;
    double shovel;
};

struct Stored {
    int total;
    QVector<int> parts;
    double price;
    bool operator==(const Stored&) const = default;
};

// The workspace's problem solved by enumeration: ash <= 12, sulphur >= 0.6,
// coal 2 in every mix, each coal's share of a tonnage of 100 within its stock
// of 500. In shovel mode a part weighs the coal's tons per shovel.
struct Problem {
    QVector<TestCoal> coals;
    bool shovel = false;
    bool allPricesEqual = false;
    int last = 15;

    double weight(int j) const { return shovel ? coals[j].shovel : 1.0; }

    bool feasible(const QVector<int>& x, int n) const
    {
        double ash = 0, sulphur = 0;
        for (int j = 0; j < 3; ++j) {
            const double w = weight(j) * x[j];
            ash += coals[j].ash * w;
            sulphur += coals[j].sulphur * w;
            if (100.0 * w > 500.0 * n + 1e-9)
                return false;
        }
        return x[1] >= 1 && ash <= 12.0 * n + 1e-9 && sulphur >= 0.6 * n - 1e-9;
    }

    double cost(const QVector<int>& x) const
    {
        double sum = 0;
        for (int j = 0; j < 3; ++j)
            sum += coals[j].price * weight(j) * x[j];
        return sum;
    }

    int total(const QVector<int>& x) const
    {
        double sum = 0;
        for (int j = 0; j < 3; ++j)
            sum += weight(j) * x[j];
        return int(std::lround(sum));
    }

    // The cheapest cost for each total that has a mix at all.
    std::map<int, double> cheapest() const
    {
        std::map<int, double> best;
        for (int n = 2; n <= last; ++n) {
            for (int a = 0; a <= n; ++a) {
                for (int b = 0; b <= n; ++b) {
                    for (int c = 0; c <= n; ++c) {
                        const QVector<int> x{a, b, c};
                        if (total(x) != n || std::abs(weight(0) * a + weight(1) * b + weight(2) * c - n) > 1e-9
                            || !feasible(x, n))
                            continue;
                        const double value = cost(x);
                        if (!best.count(n) || value < best[n])
                            best[n] = value;
                    }
                }
            }
        }
        return best;
    }
};

QLineEdit* Box(QWidget* w, const QString& name) { return Child<QLineEdit>(w, name); }
QLineEdit* Cell(QWidget* w, const char* column, int row)
{
    return Box(w, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
}

// The thirteen bound boxes that precision control switches.
QStringList SwitchedBoxes()
{
    QStringList names;
    for (const IndexView& index : IndexViews()) {
        if (!index.lowerEnabled)
            names << QLatin1String(index.boundBox) + QStringLiteral("Min");
        if (!index.upperEnabled)
            names << QLatin1String(index.boundBox) + QStringLiteral("Max");
    }
    return names;
}

QColor Background(QLineEdit* box) { return box->palette().color(QPalette::Base); }

// Presses a button that starts a run and waits until the run has ended.
void RunAndWait(WorkspaceWindow* window, QAbstractButton* button)
{
    QSignalSpy finished(window, &WorkspaceWindow::runFinished);
    button->click();
    if (finished.isEmpty() && !finished.wait(60000))
        qFatal("the run did not end");
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

Q_DECLARE_METATYPE(Problem)

class WorkspaceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void runStoresCheapestMixes_data();
    void runStoresCheapestMixes();
    void runsWithoutPlan_data();
    void runsWithoutPlan();
    void runKeepsTheWindowAnswering();
    void inputMessageAndCompaction();
    void precisionControl();
    void selectAll();
    void deleteAndClear();
    void setTxtValueFillsFreeRows();
    void shovelModeFromSettings();
    void basisWeightingSwitch();
    void designLayoutFits();
    void targetSetRoundTrip_data();
    void targetSetRoundTrip();
    void workspaceKeptAcrossRestart();
    void damagedWorkspaceFileIsIgnored_data();
    void damagedWorkspaceFileIsIgnored();

private:
    std::unique_ptr<TestFolder> test_;
    std::unique_ptr<Windows> windows_;
    WorkspaceWindow* window_ = nullptr;

    void fill(const Problem& problem);
};

void WorkspaceTest::initTestCase()
{
    Prompt::setTestMode(true);
}

void WorkspaceTest::init()
{
    Prompt::clear();
    test_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    window_ = windows_->workspace();
}

void WorkspaceTest::cleanup()
{
    windows_.reset();
    test_.reset();
}

void WorkspaceTest::fill(const Problem& problem)
{
    QWidget* w = window_;
    // The third coal stands apart: the run closes the gap first.
    const int rows[] = {0, 1, 4};
    for (int j = 0; j < 3; ++j) {
        const TestCoal& c = problem.coals[j];
        const int r = rows[j];
        Cell(w, "txtMingcheng", r)->setText(c.name);
        Cell(w, "txtJiage", r)->setText(QString::number(c.price));
        Cell(w, "txtHuifen", r)->setText(QString::number(c.ash));
        Cell(w, "txtLiu", r)->setText(QString::number(c.sulphur));
        Cell(w, "txtKuCun", r)->setText(QStringLiteral("500"));
        Cell(w, "txtMeiChan", r)->setText(QString::number(c.shovel));
    }
    Child<QCheckBox>(w, QStringLiteral("chk_1"))->setChecked(true);
    // The sulphur lower bound is editable only under precision control; it
    // still counts once precision control is off again.
    Child<QCheckBox>(w, QStringLiteral("chkJingque"))->setChecked(true);
    QTest::keyClicks(Box(w, QStringLiteral("txtLiuMin")), QStringLiteral("0.6"));
    Child<QCheckBox>(w, QStringLiteral("chkJingque"))->setChecked(false);
    Box(w, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("12"));
    Box(w, QStringLiteral("txtZhongliang"))->setText(QStringLiteral("100"));
    Box(w, QStringLiteral("txtChanshu"))->setText(QString::number(problem.last));
}

void WorkspaceTest::runStoresCheapestMixes_data()
{
    QTest::addColumn<Problem>("problem");
    const QVector<TestCoal> coals = {
        {"A", 500, 10, 0.5, 2}, {"B", 450, 14, 0.9, 3}, {"C", 420, 16, 0.7, 1}};
    QTest::newRow("weights") << Problem{coals, false, false, 15};
    QVector<TestCoal> same = coals;
    for (TestCoal& c : same)
        c.price = 450;
    QTest::newRow("all prices equal") << Problem{same, false, true, 15};
    QTest::newRow("shovel counts") << Problem{coals, true, false, 24};
}

void WorkspaceTest::runStoresCheapestMixes()
{
    QFETCH(Problem, problem);
    window_->setShovelMode(problem.shovel);
    fill(problem);
    RunAndWait(window_, Child<QPushButton>(window_, QStringLiteral("Command1")));
    QVERIFY2(Prompt::shown().isEmpty(), qPrintable(Prompt::lastText()));
    QVERIFY(windows_->existingHistory() && windows_->existingHistory()->isVisible());
    QVERIFY(!QFileInfo::exists(test_->folder().ModelPath()));

    // What the plan must hold: for each total in turn the cheapest mix, kept
    // when its blend price is new to the plan (every one when all prices are equal).
    QVector<Stored> expected;
    QSet<double> seen;
    for (const auto& [n, cost] : problem.cheapest()) {
        const double price = ToRoundedDouble(cost / n);
        if (problem.allPricesEqual || !seen.contains(price)) {
            seen.insert(price);
            expected << Stored{n, {}, price};
        }
    }
    QVERIFY(expected.size() > 2);

    auto connection = Expect(ConnectionScope::Open(test_->folder()));
    QSqlQuery header = Expect(RunQuery(QStringLiteral("select id, xinxi from Lishi_fangan")));
    QVERIFY(header.next());
    const int planId = header.value(0).toInt();
    QCOMPARE(header.value(1).toString(),
             QString(problem.shovel ? QStringLiteral("[铲数配比] ") : QString())
                 + QStringLiteral("硫分=>0.6 灰分<=12  配100吨 B必选"));
    QVERIFY(!header.next());

    QSqlQuery blends = Expect(RunQuery(
        QStringLiteral("select d1, d2, d3, d4, d10, JiaGe from Lishi_Peibibiao where followid=? order by id"), {planId}));
    const std::map<int, double> cheapest = problem.cheapest();
    QVector<Stored> actual;
    while (blends.next()) {
        const QVector<int> x{blends.value(0).toInt(), blends.value(1).toInt(), blends.value(2).toInt()};
        QVERIFY(blends.value(3).isNull() && blends.value(4).isNull());
        const int n = problem.total(x);
        QVERIFY2(problem.feasible(x, n), qPrintable(QStringLiteral("total %1").arg(n)));
        QVERIFY(cheapest.count(n));
        QCOMPARE(problem.cost(x), cheapest.at(n));
        actual << Stored{n, {}, blends.value(5).toDouble()};
    }
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual[i].total, expected[i].total);
        QCOMPARE(actual[i].price, expected[i].price);
    }

    QSqlQuery coals = Expect(RunQuery(QStringLiteral("select Name, HuiFen, kucun, meichan, JiaGe from Lishi_meitan "
                                              "where followid=? order by id"),
                               {planId}));
    for (const TestCoal& c : problem.coals) {
        QVERIFY(coals.next());
        QCOMPARE(coals.value(0).toString(), c.name);
        QCOMPARE(coals.value(1).toString(), QString::number(c.ash));
        QCOMPARE(coals.value(2).toString(), QStringLiteral("500"));
        QCOMPARE(coals.value(3).toString(), QString::number(c.shovel));
        QCOMPARE(coals.value(4).toDouble(), c.price);
    }
    QVERIFY(!coals.next());
    // The grid was compacted by the run.
    QCOMPARE(Cell(window_, "txtMingcheng", 2)->text(), problem.coals[2].name);
    QCOMPARE(Cell(window_, "txtMingcheng", 4)->text(), QString());
    QCOMPARE(window_->CoalList().size(), 3);
}

void WorkspaceTest::runsWithoutPlan_data()
{
    QTest::addColumn<QString>("ashMax");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("modelPathBlocked");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message");
    QTest::newRow("model file cannot be written") << "12" << "" << true << false << "无法写入模型文件";
    QTest::newRow("cancelled in the progress dialog") << "12" << "" << false << true << "配煤已被取消";
}

void WorkspaceTest::runsWithoutPlan()
{
    QFETCH(QString, ashMax);
    QFETCH(QString, count);
    QFETCH(bool, modelPathBlocked);
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    const QVector<TestCoal> coals = {
        {"A", 500, 10, 0.5, 2}, {"B", 450, 14, 0.9, 3}, {"C", 420, 16, 0.7, 1}};
    fill(Problem{coals, false, false, 0});
    Box(window_, QStringLiteral("txtHuifenMax"))->setText(ashMax);
    Box(window_, QStringLiteral("txtChanshu"))->setText(count);
    if (modelPathBlocked)
        QVERIFY(QDir().mkpath(test_->folder().ModelPath()));
    QSignalSpy finished(window_, &WorkspaceWindow::runFinished);
    Child<QPushButton>(window_, QStringLiteral("Command1"))->click();
    if (cancel)
        Child<QProgressDialog>(window_, QStringLiteral("dlgProgress"))->findChild<QPushButton*>()->click();
    if (finished.isEmpty())
        QVERIFY(finished.wait(60000));
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY2(Prompt::lastText().startsWith(message), qPrintable(Prompt::lastText()));
    QCOMPARE(Prompt::shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(HistoryRows(test_->folder()), 0);
    QVERIFY(!windows_->existingHistory() || !windows_->existingHistory()->isVisible());
    // A run that failed has nothing to explain about its bounds.
    QVERIFY(!windows_->existingDiagnose());
    QVERIFY(!QFileInfo(test_->folder().ModelPath()).isFile());
}

// A run of a thousand totals: while it solves, the workspace repaints and the
// progress advances, and a cancel keeps no row of it.
void WorkspaceTest::runKeepsTheWindowAnswering()
{
    QWidget* w = window_;
    struct Row {
        const char* name;
        const char* price;
        const char* heat;
        const char* sulphur;
        const char* ash;
        const char* volatile_;
        const char* stock;
    };
    const Row rows[] = {
        {"大同", "620", "5800", "0.60", "9.5", "28", "3000"},   {"神木", "580", "5600", "0.40", "8.0", "33", "2500"},
        {"准格尔", "430", "4600", "0.55", "18.0", "35", "4000"}, {"阳泉", "660", "6100", "0.90", "11.0", "9", "1500"},
        {"晋城", "700", "6300", "0.45", "10.5", "7", "1800"},   {"平顶山", "540", "5200", "1.20", "14.0", "30", "2200"},
        {"淮南", "520", "5000", "0.70", "16.5", "36", "2600"},  {"兖州", "600", "5700", "0.85", "10.0", "38", "2000"},
        {"开滦", "560", "5400", "0.95", "13.0", "32", "2400"},  {"乌海", "480", "4900", "1.60", "15.5", "26", "3500"},
    };
    for (int r = 0; r < 10; ++r) {
        Cell(w, "txtMingcheng", r)->setText(QString::fromUtf8(rows[r].name));
        Cell(w, "txtJiage", r)->setText(QLatin1String(rows[r].price));
        Cell(w, "txtReliang", r)->setText(QLatin1String(rows[r].heat));
        Cell(w, "txtLiu", r)->setText(QLatin1String(rows[r].sulphur));
        Cell(w, "txtHuifen", r)->setText(QLatin1String(rows[r].ash));
        Cell(w, "txtHuifafen", r)->setText(QLatin1String(rows[r].volatile_));
        Cell(w, "txtKuCun", r)->setText(QLatin1String(rows[r].stock));
    }
    Box(w, QStringLiteral("txtReliangMin"))->setText(QStringLiteral("5300"));
    Box(w, QStringLiteral("txtLiuMax"))->setText(QStringLiteral("0.8"));
    Box(w, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("12"));
    Box(w, QStringLiteral("txtHuifafenMin"))->setText(QStringLiteral("22"));
    Box(w, QStringLiteral("txtHuifafenMax"))->setText(QStringLiteral("32"));
    Box(w, QStringLiteral("txtZhongliang"))->setText(QStringLiteral("5000"));
    Box(w, QStringLiteral("txtChanshu"))->setText(QStringLiteral("1000"));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));

    PaintCounter counter;
    window_->centralWidget()->installEventFilter(&counter);
    QSignalSpy finished(window_, &WorkspaceWindow::runFinished);
    Child<QPushButton>(w, QStringLiteral("Command1"))->click();
    QVERIFY(finished.isEmpty());
    auto* dialog = Child<QProgressDialog>(window_, QStringLiteral("dlgProgress"));
    auto* bar = dialog->findChild<QProgressBar*>();
    QVERIFY(bar);

    // The progress advances while the window's own events are handled.
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 10, 20000);
    const int reached = bar->value();
    const int paintsBefore = counter.paints;
    window_->centralWidget()->update();
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > paintsBefore, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > reached, 20000);
    QVERIFY2(finished.isEmpty(), "the run ended before it could be watched");

    dialog->findChild<QPushButton*>()->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(Prompt::lastText(), QStringLiteral("配煤已被取消，没有保存任何结果。"));
    QCOMPARE(HistoryRows(test_->folder()), 0);
    QVERIFY(!QFileInfo(test_->folder().ModelPath()).isFile());
}

void WorkspaceTest::inputMessageAndCompaction()
{
    QWidget* w = window_;
    Cell(w, "txtMingcheng", 3)->setText(QStringLiteral("A"));
    Cell(w, "txtJiage", 3)->setText(QStringLiteral("500"));
    Cell(w, "txtJiage", 6)->setText(QStringLiteral("300"));
    Child<QCheckBox>(w, QStringLiteral("chk_6"))->setChecked(true);
    QAction* start = Child<QAction>(w, QStringLiteral("tbrMenu_4"));
    start->trigger();
    QCOMPARE(Prompt::shown().size(), 1);
    QCOMPARE(Prompt::lastText(), QStringLiteral("第2行的煤名称没有填写，请你填写"));
    QCOMPARE(Cell(w, "txtMingcheng", 0)->text(), QStringLiteral("A"));
    QCOMPARE(Cell(w, "txtJiage", 1)->text(), QStringLiteral("300"));
    QVERIFY(Child<QCheckBox>(w, QStringLiteral("chk_1"))->isChecked());
    QVERIFY(!Child<QCheckBox>(w, QStringLiteral("chk_6"))->isChecked());
    QCOMPARE(Cell(w, "txtJiage", 6)->text(), QString());
    QCOMPARE(HistoryRows(test_->folder()), 0);
}

void WorkspaceTest::precisionControl()
{
    QWidget* w = window_;
    auto* jingque = Child<QCheckBox>(w, QStringLiteral("chkJingque"));
    const QStringList switched = SwitchedBoxes();
    QCOMPARE(switched.size(), 13);
    const QColor button = QApplication::palette().color(QPalette::Button);
    const QColor base = QApplication::palette().color(QPalette::Base);
    QVERIFY(button != base);

    const auto check = [&](bool precise) {
        for (const IndexView& index : IndexViews()) {
            for (const char* end : {"Min", "Max"}) {
                const QString name = QLatin1String(index.boundBox) + QLatin1String(end);
                const bool enabled = precise || !switched.contains(name);
                QLineEdit* box = Box(w, name);
                QVERIFY2(box->isEnabled() == enabled, qPrintable(name));
                QVERIFY2(Background(box) == (enabled ? base : button), qPrintable(name));
            }
        }
    };
    QVERIFY(!jingque->isChecked());
    check(false);
    jingque->click();
    check(true);
    Box(w, QStringLiteral("txtLiuMin"))->setText(QStringLiteral("0.4"));
    Box(w, QStringLiteral("txtHuiShouMax"))->setText(QStringLiteral("90"));
    jingque->click();
    check(false);
    QCOMPARE(Box(w, QStringLiteral("txtLiuMin"))->text(), QStringLiteral("0.4"));
    QCOMPARE(Box(w, QStringLiteral("txtHuiShouMax"))->text(), QStringLiteral("90"));
    QCOMPARE(window_->readInput().lower[5], QStringLiteral("0.4"));
}

void WorkspaceTest::selectAll()
{
    QWidget* w = window_;
    Cell(w, "txtMingcheng", 2)->setText(QStringLiteral("A"));
    Cell(w, "txtMingcheng", 5)->setText(QStringLiteral("B"));
    Cell(w, "txtJiage", 7)->setText(QStringLiteral("300"));  // a row without a name
    Child<QCheckBox>(w, QStringLiteral("chk_8"))->setChecked(true);
    auto* all = Child<QCheckBox>(w, QStringLiteral("chkAll"));
    const auto ticked = [&] {
        QList<int> rows;
        for (int r = 0; r < 10; ++r) {
            if (Child<QCheckBox>(w, QStringLiteral("chk_%1").arg(r))->isChecked())
                rows << r;
        }
        return rows;
    };
    all->click();
    QCOMPARE(ticked(), QList<int>({2, 5, 8}));
    all->click();
    QCOMPARE(ticked(), QList<int>({8}));
}

void WorkspaceTest::deleteAndClear()
{
    QWidget* w = window_;
    for (int r = 0; r < 3; ++r) {
        Cell(w, "txtMingcheng", r)->setText(QStringLiteral("C%1").arg(r));
        Cell(w, "txtHuiFaFenVdaf", r)->setText(QStringLiteral("30"));
        Cell(w, "txtJiage", r)->setText(QStringLiteral("400"));
        Child<QCheckBox>(w, QStringLiteral("chk_%1").arg(r))->setChecked(r == 1);
    }
    Child<QPushButton>(w, QStringLiteral("btnDel_1"))->click();
    QVERIFY(Child<QCheckBox>(w, QStringLiteral("chk_1"))->isChecked());
    QCOMPARE(Cell(w, "txtMingcheng", 1)->text(), QString());
    QCOMPARE(Cell(w, "txtHuiFaFenVdaf", 1)->text(), QString());
    QCOMPARE(Cell(w, "txtMingcheng", 2)->text(), QStringLiteral("C2"));

    // The next compaction moves row 2 up, tick and all.
    RunAndWait(window_, Child<QPushButton>(w, QStringLiteral("Command1")));
    QCOMPARE(Cell(w, "txtMingcheng", 1)->text(), QStringLiteral("C2"));
    QVERIFY(!Child<QCheckBox>(w, QStringLiteral("chk_1"))->isChecked());

    Child<QCheckBox>(w, QStringLiteral("chk_0"))->setChecked(true);
    Child<QAction>(w, QStringLiteral("tbrMenu_3"))->trigger();
    for (int r = 0; r < 10; ++r) {
        QVERIFY(!Child<QCheckBox>(w, QStringLiteral("chk_%1").arg(r))->isChecked());
        QCOMPARE(Cell(w, "txtMingcheng", r)->text(), QString());
        QCOMPARE(Cell(w, "txtHuiFaFenVdaf", r)->text(), QString());
        QCOMPARE(Cell(w, "txtJiage", r)->text(), QString());
    }
}

void WorkspaceTest::setTxtValueFillsFreeRows()
{
    QWidget* w = window_;
    Cell(w, "txtMingcheng", 0)->setText(QStringLiteral("A"));
    Cell(w, "txtLiu", 2)->setText(QStringLiteral("0.5"));
    Mei x = MakeCoal(QStringLiteral("X"), 650);
    x.Kucun = QStringLiteral("0");
    Mei y = MakeCoal(QStringLiteral("Y"), 12.5);
    y.HuiFen = QStringLiteral("7");
    window_->SetTxtValue({x, y});
    QCOMPARE(Cell(w, "txtMingcheng", 1)->text(), QStringLiteral("X"));
    QCOMPARE(Cell(w, "txtJiage", 1)->text(), QStringLiteral("650.00"));
    QCOMPARE(Cell(w, "txtKuCun", 1)->text(), QStringLiteral("0"));
    QCOMPARE(Cell(w, "txtMeiChan", 1)->text(), QString());
    QCOMPARE(Cell(w, "txtMingcheng", 3)->text(), QStringLiteral("Y"));
    QCOMPARE(Cell(w, "txtHuifen", 3)->text(), QStringLiteral("7.00"));
}

void WorkspaceTest::shovelModeFromSettings()
{
    QVERIFY(!window_->readInput().shovelMode);
    windows_.reset();
    QVERIFY(WriteBytes(test_->folder().ConfigPath(), "[config]\r\nchan=1\r\n"));
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    window_ = windows_->workspace();
    QVERIFY(window_->readInput().shovelMode);
    windows_.reset();
    QVERIFY(WriteBytes(test_->folder().ConfigPath(), "[config]\r\nchan=x\r\n"));
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    window_ = windows_->workspace();
    QVERIFY(!window_->readInput().shovelMode);
}

// chkJizhun: kept in config.ini as the user clicks it (mouse or key), read
// at start, handed to the run and the calculator with the settings' bases.
void WorkspaceTest::basisWeightingSwitch()
{
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    auto* box = Child<QCheckBox>(window_, QStringLiteral("chkJizhun"));
    QCOMPARE(box->text(), QStringLiteral("按基准加权"));
    QVERIFY(!box->isChecked() && !window_->readInput().weighting.on);
    CalculatorWindow* calculator = windows_->calculator();

    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(ReadIni(test_->folder(), kConfigSection, QStringLiteral("jizhun")), QStringLiteral("1"));
    QVERIFY(window_->readInput().weighting.on);
    QCOMPARE(Child<QLabel>(calculator, QStringLiteral("lbNotice"))->text(), QStringLiteral("方式：重量配比，按基准加权"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(ReadIni(test_->folder(), kConfigSection, QStringLiteral("jizhun")), QStringLiteral("0"));
    QCOMPARE(Child<QLabel>(calculator, QStringLiteral("lbNotice"))->text(), QStringLiteral("方式：重量配比"));

    // A basis chosen in the settings reaches the run.
    ConfigWindow* config = windows_->config();
    auto* grid = Child<QTableWidget>(config, QStringLiteral("grdJizhun"));
    qobject_cast<QComboBox*>(grid->cellWidget(6, 1))->setCurrentText(QStringLiteral("收到基"));
    config->btnOk_Click();
    QCOMPARE(window_->readInput().weighting.basis[6], Basis::AsReceived);
    QVERIFY(!window_->readInput().weighting.on);

    windows_.reset();
    QVERIFY(WriteBytes(test_->folder().ConfigPath(), "[config]\r\njizhun=1\r\n"));
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    window_ = windows_->workspace();
    QVERIFY(Child<QCheckBox>(window_, QStringLiteral("chkJizhun"))->isChecked());
    QVERIFY(window_->readInput().weighting.on);
}

// As the workspace opens, every value fits its box and no two controls of one
// frame overlap. With VELMORA_SHOTS set, the workspace is also saved as a
// picture.
void WorkspaceTest::designLayoutFits()
{
    WorkspaceWindow* w = window_;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // Values as long as the yard's usually are.
    const QStringList values[] = {
        {"大同5500", "3.50", "9.80", "5500.00", "5800.00", "", "0.60", "9.50", "28.00", "", "20.00", "",
         "", "", "", "", "3000.00", "2.50", "620.00"},
        {"神木", "", "8.00", "5600.00", "", "", "0.40", "8.00", "33.00", "", "", "", "", "", "", "",
         "2500.00", "", "580.00"},
        {"准格尔原煤", "", "12.30", "4600.00", "", "", "0.55", "18.00", "35.00", "", "", "", "", "", "",
         "85.00", "12000.00", "3.00", "430.50"},
    };
    for (int r = 0; r < 3; ++r) {
        for (int cell = 0; cell < 19; ++cell) {
            Box(w, QStringLiteral("%1_%2").arg(GridCellName(cell)).arg(r))->setText(values[r][cell]);
        }
    }
    Child<QCheckBox>(w, QStringLiteral("chk_1"))->setChecked(true);
    Box(w, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("12"));
    Box(w, QStringLiteral("txtReliangMin"))->setText(QStringLiteral("5300"));
    Box(w, QStringLiteral("txtChanshu"))->setText(QStringLiteral("1000"));
    QWidget* client = w->centralWidget();
    QStringList problems;
    const QList<QWidget*> controls = client->findChildren<QWidget*>();
    for (QWidget* c : controls) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c)) {
            if (c->objectName() == QLatin1String("picBanner"))
                continue;
            // A push button's hint carries the style's minimum width; its text is what must fit.
            auto* push = qobject_cast<QPushButton*>(c);
            const int needed = push ? push->fontMetrics().horizontalAdvance(push->text()) + 8
                                    : (qobject_cast<QLabel*>(c) ? c->minimumSizeHint() : c->sizeHint()).width();
            if (needed > c->width() + 1)
                problems << QStringLiteral("%1 needs %2 px, has %3").arg(c->objectName()).arg(needed).arg(c->width());
        }
        if (auto* edit = qobject_cast<QLineEdit*>(c)) {
            const int needed = edit->fontMetrics().horizontalAdvance(edit->text()) + 10;
            if (needed > edit->width())
                problems << QStringLiteral("%1 needs %2 px for %3, has %4")
                                .arg(c->objectName()).arg(needed).arg(edit->text()).arg(edit->width());
        }
        for (QWidget* other : controls) {
            if (other <= c || other->parentWidget() != c->parentWidget() || other->objectName().isEmpty()
                || other->objectName().startsWith(QLatin1String("qt_")))
                continue;
            if (c->geometry().intersects(other->geometry()))
                problems << c->objectName() + QStringLiteral(" overlaps ") + other->objectName();
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    const QString shots = qEnvironmentVariable("VELMORA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        QVERIFY(w->grab().save(shots + QStringLiteral("/workspace-design.png")));
    }
}

namespace {

// The boxes a target set fills, as the window shows them.
struct SetFields {
    QString ashMax, heatMin, count, tonnage;
    bool weighting;
    bool operator==(const SetFields&) const = default;
};

SetFields ReadFields(QWidget* w)
{
    return {Box(w, QStringLiteral("txtHuifenMax"))->text(), Box(w, QStringLiteral("txtReliangMin"))->text(),
            Box(w, QStringLiteral("txtChanshu"))->text(), Box(w, QStringLiteral("txtZhongliang"))->text(),
            Child<QCheckBox>(w, QStringLiteral("chkJizhun"))->isChecked()};
}

void WriteFields(QWidget* w, const SetFields& f)
{
    Box(w, QStringLiteral("txtHuifenMax"))->setText(f.ashMax);
    Box(w, QStringLiteral("txtReliangMin"))->setText(f.heatMin);
    Box(w, QStringLiteral("txtChanshu"))->setText(f.count);
    Box(w, QStringLiteral("txtZhongliang"))->setText(f.tonnage);
    Child<QCheckBox>(w, QStringLiteral("chkJizhun"))->setChecked(f.weighting);
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

}  // namespace

// Save, save again under the same name (the question answered either way),
// choose the set to fill the boxes, delete it: in the database of the run
// (coal.dat, or the server on the server run).
void WorkspaceTest::targetSetRoundTrip_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("replaced") << true;
    QTest::newRow("kept") << false;
}

void WorkspaceTest::targetSetRoundTrip()
{
    QFETCH(bool, replace);
    WorkspaceWindow* w = window_;
    auto* cbo = Child<QComboBox>(w, QStringLiteral("cboMuban"));
    auto* save = Child<QPushButton>(w, QStringLiteral("btnSaveMuban"));
    auto* del = Child<QPushButton>(w, QStringLiteral("btnDelMuban"));
    QCOMPARE(save->text(), QStringLiteral("保存指标"));
    QCOMPARE(del->text(), QStringLiteral("删除指标"));

    save->click();  // no name yet
    QCOMPARE(Prompt::lastText(), QStringLiteral("请在“指标方案”中填写方案名称"));
    QCOMPARE(CountRows(test_->folder(), QStringLiteral("Zhibiao_muban")), 0);

    const SetFields first{"12", "5500", "50", "800", true};
    const SetFields second{"10", "", "60", "", false};
    WriteFields(w, first);
    cbo->setEditText(QStringLiteral("  电厂5500 "));
    save->click();
    QCOMPARE(Prompt::lastText(), QStringLiteral("指标方案“电厂5500”已保存"));
    QCOMPARE(Items(cbo), QStringList{QStringLiteral("电厂5500")});
    Box(w, QStringLiteral("txtLiuMax"))->setText(QStringLiteral("0.8"));
    cbo->setEditText(QStringLiteral("焦化 G75"));
    save->click();
    QCOMPARE(Items(cbo), (QStringList{QStringLiteral("焦化 G75"), QStringLiteral("电厂5500")}));
    Box(w, QStringLiteral("txtLiuMax"))->clear();

    WriteFields(w, second);
    cbo->setEditText(QStringLiteral("电厂5500"));
    Prompt::queueAnswer(replace ? QMessageBox::Yes : QMessageBox::No);
    const int before = static_cast<int>(Prompt::shown().size());
    save->click();
    QCOMPARE(Prompt::shown()[before].text, QStringLiteral("指标方案“电厂5500”已存在，要用当前的指标替换它吗？"));
    QCOMPARE(CountRows(test_->folder(), QStringLiteral("Zhibiao_muban")), 2);

    // Choosing a set fills its fields, whatever the boxes held.
    WriteFields(w, {"1", "2", "3", "4", replace});
    Q_EMIT cbo->activated(cbo->findText(QStringLiteral("电厂5500")));
    QCOMPARE(ReadFields(w), replace ? second : first);
    QCOMPARE(ReadIni(test_->folder(), kConfigSection, QStringLiteral("jizhun")), QString(replace ? "0" : "1"));
    QCOMPARE(Box(w, QStringLiteral("txtLiuMax"))->text(), QString());
    Q_EMIT cbo->activated(cbo->findText(QStringLiteral("焦化 G75")));
    QCOMPARE(Box(w, QStringLiteral("txtLiuMax"))->text(), QStringLiteral("0.8"));

    // Delete asks; No keeps the set, Yes removes it.
    cbo->setEditText(QStringLiteral("电厂5500"));
    Prompt::queueAnswer(QMessageBox::No);
    del->click();
    QCOMPARE(Prompt::lastText(), QStringLiteral("确认要删除指标方案“电厂5500”吗？"));
    QCOMPARE(cbo->count(), 2);
    Prompt::queueAnswer(QMessageBox::Yes);
    del->click();
    QCOMPARE(Items(cbo), QStringList{QStringLiteral("焦化 G75")});
    QCOMPARE(Expect(LoadTargetSets(test_->folder())).size(), 1);
}

// The grid, the bounds, the options and the chosen set come back after the
// window is closed and made again; a close whose write fails keeps the file
// of the close before.
void WorkspaceTest::workspaceKeptAcrossRestart()
{
    auto open = [this] { return new WorkspaceWindow(WindowContext{test_->folder()}, false); };
    WorkspaceWindow* w = open();
    Cell(w, "txtMingcheng", 0)->setText(QStringLiteral("大同5500"));
    Cell(w, "txtJiage", 0)->setText(QStringLiteral("620"));
    Cell(w, "txtMeiChan", 0)->setText(QStringLiteral("2.5"));
    Cell(w, "txtMingcheng", 3)->setText(QStringLiteral("神木"));  // a gap stays a gap
    Child<QCheckBox>(w, QStringLiteral("chk_3"))->setChecked(true);
    Child<QCheckBox>(w, QStringLiteral("chk_7"))->setChecked(true);  // a mark on a blank row
    Child<QCheckBox>(w, QStringLiteral("chkJingque"))->setChecked(true);
    Box(w, QStringLiteral("txtLiuMin"))->setText(QStringLiteral("0.6"));
    Box(w, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral(" 12 "));
    Box(w, QStringLiteral("txtChanshu"))->setText(QStringLiteral("abc"));  // kept as typed, checked at the run
    Box(w, QStringLiteral("txtZhongliang"))->setText(QStringLiteral("800"));
    Child<QComboBox>(w, QStringLiteral("cboMuban"))->setEditText(QStringLiteral("未保存的方案"));
    const WorkspaceState left = w->workspaceState();
    QVERIFY(w->close());
    delete w;

    w = open();
    QCOMPARE(w->workspaceState(), left);
    QCOMPARE(Cell(w, "txtMingcheng", 3)->text(), QStringLiteral("神木"));
    QVERIFY(Child<QCheckBox>(w, QStringLiteral("chk_7"))->isChecked());
    QVERIFY(Box(w, QStringLiteral("txtLiuMin"))->isEnabled());  // precision control on again
    QCOMPARE(Child<QComboBox>(w, QStringLiteral("cboMuban"))->currentText(), QStringLiteral("未保存的方案"));

    Cell(w, "txtMingcheng", 0)->setText(QStringLiteral("改了"));
    SimulateFullDiskForWrites(1);
    QVERIFY(w->close());
    QVERIFY(Prompt::lastText().startsWith(QStringLiteral("无法保存工作区")));
    delete w;
    w = open();
    QCOMPARE(w->workspaceState(), left);
    delete w;
}

void WorkspaceTest::damagedWorkspaceFileIsIgnored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    WorkspaceState state;
    state.grid.rows[0].cells[kNameCell] = QStringLiteral("大同");
    const QByteArray good = WorkspaceStateBytes(state);
    QTest::newRow("cut off") << good.left(good.size() / 2);
    QTest::newRow("not text") << QByteArray("\x00\xff\xfe junk", 9);
    QTest::newRow("a row that is no row") << QByteArray(good).replace("\"rows\": [", "\"rows\": [ 1,");
    QTest::newRow("a number for a text") << QByteArray(good).replace("\"大同\"", "5");
    QTest::newRow("another format") << QByteArray(good).replace("\"format\": 1", "\"format\": 2");
    QTest::newRow("empty") << QByteArray();
}

void WorkspaceTest::damagedWorkspaceFileIsIgnored()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(WriteBytes(test_->folder().File(WorkspaceFileName()), bytes));
    QVERIFY(!ParseWorkspaceState(bytes).has_value());
    WorkspaceWindow w(WindowContext{test_->folder()}, false);
    QCOMPARE(w.workspaceState(), WorkspaceState());
}

QTEST_MAIN(WorkspaceTest)
#include "tst_workspace.moc"
