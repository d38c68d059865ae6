// Times opening the history window on a plan of ten coals and 999 proportion
// rows: the window's whole load (plan list, information text, both lists
// filled, columns titled and hidden, the window shown) against a bare read of
// the same rows with SQL alone. Also times the coal list widget filled with
// 10,000 coals. Each figure is the median of several runs.

#include "../tests/support/TestFolder.h"

#include "base/Mei.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "history/PlanHistory.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"

#include <QApplication>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <chrono>
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

int MakeBigPlan(const AppFolder& folder)
{
    // A few older plans, then the one shown.
    for (int p = 0; p < 20; ++p)
        Expect(StorePlan(folder, NewPlan{QStringLiteral("较早的方案%1").arg(p), {}, {}}));
    NewPlan plan{QStringLiteral("硫分<=0.8 灰分<=10 配1000吨"), {}, {}};
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
    const int plan = MakeBigPlan(tf.folder());

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

    int shownRows = 0;
    const double window = TimeMs([&] {
        auto* w = new HistoryWindow(WindowContext{tf.folder()}, Settings{});
        w->show();
        QApplication::processEvents();
        shownRows = w->findChild<ReportList*>(QStringLiteral("lsvBottom"))->rowCount();
        delete w;
    });

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

    std::printf("history window open, plan of 10 coals and %d proportion rows: %.1f ms (target < 300 ms)\n",
                shownRows, window);
    std::printf("  baseline, the same rows read with SQL alone:              %.1f ms\n", bare);
    std::printf("coal list widget filled with 10,000 coals and shown:       %.1f ms (target < 500 ms)\n", coalList);
    std::printf("(median of %d runs each)\n", kRuns);
    return window < 300 ? 0 : 1;
}
