// Times opening the history window on a plan of ten coals and 999 proportion
// rows: the window's whole load (plan list, information text, both lists
// filled, columns titled and hidden, the window shown) against a bare read of
// the same rows with SQL alone. Also times the coal list widget filled with
// 10,000 coals. Each figure is the median of several runs.

#include "../tests/support/TestFolder.h"

#include "app/ui/Forms.h"
#include "data/Dbconnection.h"
#include "data/Mei.h"
#include "data/QualityIndex.h"
#include "export/ListData.h"
#include "export/ui/ReportList.h"
#include "history/PlanHistory.h"
#include "history/ui/HistoryWindow.h"
#include "workspace/CommonFunction.h"

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
    ConnectionScope scope(folder);
    Transaction transaction;
    // A few older plans, then the one shown.
    for (int p = 0; p < 20; ++p)
        SavePlanHeader(folder, QStringLiteral("较早的方案%1").arg(p));
    const int plan = SavePlanHeader(folder, QStringLiteral("硫分<=0.8 灰分<=10 配1000吨"));
    QVector<Mei> coals;
    for (int j = 0; j < 10; ++j)
        coals << Coal(j);
    for (int r = 0; r < 999; ++r) {
        QVector<double> proportions;
        for (int j = 0; j < 10; ++j)
            proportions << double((r * (j + 3)) % 97);
        Mei blend = Coal(r % 10);
        blend.MingCheng.clear();
        blend.JiaGe = 500 + r * 0.01;  // every price different: every row is stored
        SavePlanBlend(folder, plan, proportions, blend, false);
    }
    SavePlanCoals(folder, plan, coals);
    transaction.commit();
    return plan;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder tf;
    Forms::setFolder(tf.folder());
    const int plan = MakeBigPlan(tf.folder());

    // Baseline: the same plan list, coal rows and proportion rows read with SQL
    // alone, every value fetched.
    const double bare = TimeMs([&] {
        ConnectionScope scope(tf.folder());
        qint64 cells = 0;
        for (const QString& sql : {QStringLiteral("select id, fanganhao, xinxi, riqi from Lishi_fangan order by id desc limit 500"),
                                   QStringLiteral("select xinxi from Lishi_fangan where id=?"),
                                   QStringLiteral("select * from Lishi_meitan where followid=? order by id asc"),
                                   QStringLiteral("select * from Lishi_Peibibiao where followid=? order by JiaGe asc")}) {
            QSqlQuery q = RunQuery(sql, sql.contains(QLatin1Char('?')) ? QVariantList{plan} : QVariantList{});
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
        auto* w = new HistoryWindow;
        w->show();
        QApplication::processEvents();
        shownRows = w->findChild<ReportList*>(QStringLiteral("lsvBottom"))->rowCount();
        delete w;
    });

    // The coal list widget with 10,000 coals, as the inventory fills it.
    {
        ConnectionScope scope(tf.folder());
        Transaction transaction;
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
            Execute(QStringLiteral("insert into meitan (%1) values (%2)").arg(columns, marks), values);
        }
        transaction.commit();
    }
    const double coalList = TimeMs([&] {
        ReportList list;
        list.setCheckBoxes(true);
        ListData data;
        SetupCoalColumns(data);
        FillCoalRows(data, tf.folder(), Statement{QStringLiteral("select * from meitan"), {}});
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
