// Times opening the history window on a plan of ten coals, thirty bounds and
// 999 proportion rows: the window's whole load (plan list, information text,
// both lists filled, columns titled and hidden, the plan's targets listed,
// every row's price charted, the window shown) against a bare read of the
// same rows with SQL alone, and against the same plan stored without its
// targets. Then times selecting each row of a plan a run of ten coals and
// thirty bounds stored (the row's analysis, the target list, the sentence,
// the chart's mark and the share bar, repainted) against one integer solve
// at that row's total. Also times the coal list widget filled with 10,000
// coals. Each open figure is the median of several runs.

#include "../tests/support/TestFolder.h"
#include "BenchPlans.h"

#include "base/Mei.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "history/PlanAnalysis.h"
#include "history/PlanHistory.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"

#include <QApplication>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return Median(times);
}

Mei Coal(int j)
{
    Mei coal;
    coal.MingCheng = QStringLiteral("煤种%1").arg(j + 1);
    coal.JiaGe = 400 + 13.7 * j;
    coal.Kucun = FormatIndexValue(500 + 37.5 * j);
    coal.MeiChan = FormatIndexValue(1.5 + 0.25 * (j % 5));
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = FormatIndexValue(3.0 + i * 1.7 + j * 0.31);
    return coal;
}

// Thirty bounds around the synthetic coals' values, and a tonnage.
PlanTargets ThirtyBounds()
{
    PlanTargets targets;
    for (int i = 0; i < kIndexCount; ++i) {
        targets.lower[i] = FormatIndexValue(3.0 + i * 1.7);
        targets.upper[i] = FormatIndexValue(3.0 + i * 1.7 + 3.0);
    }
    targets.tonnage = QStringLiteral("1000");
    targets.proportionCount = QStringLiteral("999");
    targets.mustInclude = QVector<bool>(10, false);
    return targets;
}

int MakeBigPlan(const AppFolder& folder, bool withTargets)
{
    // A few older plans, then the one shown.
    for (int p = 0; p < 20; ++p)
        Expect(StorePlan(folder, NewPlan{QStringLiteral("较早的方案%1").arg(p), {}, {}}));
    NewPlan plan{QStringLiteral("硫分<=0.8 灰分<=10 配1000吨"), {}, {}};
    if (withTargets)
        plan.targets = ThirtyBounds();
    for (int j = 0; j < 10; ++j)
        plan.coals << Coal(j);
    for (int r = 0; r < 999; ++r) {
        PlanBlendRow row;
        for (int j = 0; j < 10; ++j)
            row.parts[j] = double((r * (j + 3)) % 97);
        row.blend = Coal(r % 10);
        row.blend.MingCheng.clear();
        row.blend.JiaGe = 500 + r * 0.01;  // every price different: every row is stored
        plan.rows << row;
    }
    return Expect(StorePlan(folder, plan));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder tf;
    const int plan = MakeBigPlan(tf.folder(), true);
    TestFolder older;
    MakeBigPlan(older.folder(), false);

    // Baseline: the same plan list, coal rows and proportion rows read with SQL
    // alone, every value fetched.
    const double bare = TimeMs([&] {
        auto scope = Expect(ConnectionScope::Open(tf.folder()));
        qint64 cells = 0;
        for (const QString& sql : {QStringLiteral("select id, fanganhao, xinxi, riqi from Lishi_fangan order by id desc limit 500"),
                                   QStringLiteral("select xinxi from Lishi_fangan where id=?"),
                                   QStringLiteral("select * from Lishi_meitan where followid=? order by id asc"),
                                   QStringLiteral("select * from Lishi_Peibibiao where followid=? order by JiaGe asc")}) {
            QSqlQuery q = Expect(RunQuery(sql, sql.contains(QLatin1Char('?')) ? QVariantList{plan} : QVariantList{}));
            q.setForwardOnly(true);
            const int columns = q.record().count();
            while (q.next())
                for (int c = 0; c < columns; ++c)
                    cells += q.value(c).isValid();
        }
        if (cells == 0)
            std::puts("no rows read");
    });

    int shownRows = 0, targetRows = 0;
    const double window = TimeMs([&] {
        auto* w = new HistoryWindow(WindowContext{tf.folder()}, Settings{});
        w->show();
        QApplication::processEvents();
        shownRows = w->findChild<ReportList*>(QStringLiteral("lsvBottom"))->rowCount();
        targetRows = w->findChild<ReportList*>(QStringLiteral("lsvLimits"))->rowCount();
        delete w;
    });
    const double withoutTargets = TimeMs([&] {
        auto* w = new HistoryWindow(WindowContext{older.folder()}, Settings{});
        w->show();
        QApplication::processEvents();
        delete w;
    });

    // Selecting rows of a plan a run stored: every row once, each for the
    // first time (the window keeps a row's analysis once made).
    std::vector<double> selecting, solving;
    int runRows = 0;
    {
        TestFolder run;
        PlanTargets targets;
        QVector<Mei> coals;
        bench::MakeTenCoalPlan(false, false, 999, targets, coals);
        const BlendProblem problem = Expect(PlanProblem(targets, coals));
        const std::vector<bench::SolvedRow> solved = bench::SolvePlanRows(problem, 999);
        NewPlan stored{QStringLiteral("十种煤三十个指标"), coals, {}, targets};
        for (const bench::SolvedRow& s : solved) {
            PlanBlendRow row;
            for (size_t j = 0; j < s.row.parts.size(); ++j)
                row.parts[j] = s.row.parts[j];
            row.blend.JiaGe = s.row.price;
            stored.rows << row;
        }
        Expect(StorePlan(run.folder(), stored));
        auto* w = new HistoryWindow(WindowContext{run.folder()}, Settings{});
        w->show();
        QApplication::processEvents();
        auto* blends = w->findChild<ReportList*>(QStringLiteral("lsvBottom"));
        runRows = blends->rowCount();
        std::vector<int> totals;
        for (int r = 0; r < runRows; ++r) {
            double total = 0;
            for (int j = 0; j < 10; ++j)
                total += blends->listData().cell(r, kFirstProportionColumn + j).toDouble();
            totals.push_back(int(std::lround(total)));
        }
        for (int r = 0; r < runRows; ++r) {
            const auto start = Clock::now();
            blends->selectRow(r);
            QApplication::processEvents();
            selecting.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            const auto solveStart = Clock::now();
            const LinearSolution s = SolveLinearProgram(BlendProgram(problem, totals[r]));
            solving.push_back(std::chrono::duration<double, std::milli>(Clock::now() - solveStart).count());
            if (s.status != LinearStatus::Optimal)
                std::puts("a stored total has no solution");
        }
        delete w;
    }
    auto percentile = [](std::vector<double> v, double p) {
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
    };

    // The coal list widget with 10,000 coals, as the inventory fills it.
    {
        auto scope = Expect(ConnectionScope::Open(tf.folder()));
        auto transaction = Expect(Transaction::Begin());
        for (int i = 0; i < 10000; ++i) {
            const Mei coal = Coal(i % 50);
            QVariantList values{QStringLiteral("煤%1").arg(i), coal.JiaGe, coal.Kucun, coal.MeiChan};
            QString columns = QStringLiteral("Name, JiaGe, kucun, Meichan");
            QString marks = QStringLiteral("?, ?, ?, ?");
            for (int k = 0; k < kIndexCount; ++k) {
                columns += QStringLiteral(", ") + QLatin1String(QualityIndices()[k].column);
                marks += QStringLiteral(", ?");
                values << IndexValue(coal, k);
            }
            Expect(Execute(QStringLiteral("insert into meitan (%1) values (%2)").arg(columns, marks), values));
        }
        Expect(transaction.Commit());
    }
    const double coalList = TimeMs([&] {
        ReportList list;
        list.setCheckBoxes(true);
        ListData data;
        SetupCoalColumns(data);
        FillCoalRows(data, Expect(LoadCoals(tf.folder())));
        list.setListData(std::move(data));
        list.resize(1000, 600);
        list.show();
        QApplication::processEvents();
    });

    std::printf("history window open, plan of 10 coals, %d bounds and %d proportion rows: %.1f ms (target < 300 ms)\n",
                2 * targetRows, shownRows, window);
    std::printf("  baseline, the same rows read with SQL alone:              %.1f ms (ratio %.1f)\n", bare,
                window / bare);
    std::printf("  the same plan stored without its targets:                 %.1f ms (ratio %.2f)\n",
                withoutTargets, window / withoutTargets);
    std::printf("selecting a row of a run's plan (%d rows, 10 coals, 30 bounds): median %.1f ms, 90%% %.1f ms, "
                "max %.1f ms (target < 200 ms)\n",
                runRows, percentile(selecting, 0.5), percentile(selecting, 0.9), percentile(selecting, 1.0));
    std::printf("  baseline, one integer solve at the row's total:           median %.2f ms, 90%% %.2f ms "
                "(ratio of medians %.1f)\n",
                percentile(solving, 0.5), percentile(solving, 0.9),
                percentile(selecting, 0.5) / percentile(solving, 0.5));
    std::printf("coal list widget filled with 10,000 coals and shown:       %.1f ms (target < 500 ms)\n", coalList);
    std::printf("(median of %d runs each)\n", kRuns);
    return window < 300 && percentile(selecting, 1.0) < 200 ? 0 : 1;
}
