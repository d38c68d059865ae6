#include "export/PlanView.h"

#include "history/PlanHistory.h"

#include <QLocale>

void SetupPlanListColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(QStringLiteral("编号"), 0);
    list.addColumn(QStringLiteral("方案名称"), 2000);
    list.addColumn(QStringLiteral("方案日期"), 1800);
}

QString WithoutLineBreaks(const QString& text)
{
    QString out = text;
    out.remove(QStringLiteral("\r\n"));
    return out;
}

void FillPlanList(ListData& list, const AppFolder& folder, int limit)
{
    list.clearRows();
    const QLocale locale;
    for (const PlanSummary& plan : LoadPlanList(folder, limit)) {
        ListRow row;
        row.text = QString::number(plan.id);
        row.subItems << WithoutLineBreaks(plan.xinxi)
                     << (plan.riqi.isValid() ? locale.toString(plan.riqi, QLocale::ShortFormat) : QString());
        list.rows.append(std::move(row));
    }
}

QString JoinCoalNames(const ListData& coals)
{
    return coals.columnCells(1).join(QLatin1Char(','));
}

void LoadPlanView(const AppFolder& folder, int planId, PlanView& view)
{
    ConnectionScope connection(folder);
    view.information = WithoutLineBreaks(LoadPlanInfo(folder, planId));
    FillCoalRows(view.coals, PlanCoalsStatement(planId));
    NameBlendColumns(view.blends, JoinCoalNames(view.coals));
    FillBlendRows(view.blends, PlanBlendsStatement(planId));
}

void DeletePlans(const AppFolder& folder, const QVector<int>& planIds)
{
    ConnectionScope connection(folder);
    for (int id : planIds)
        DeletePlan(folder, id);
}
