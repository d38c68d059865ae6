#include "export/PlanListing.h"

#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "history/PlanHistory.h"
#include "history/TonsConversion.h"

void ShowPlan(const PlanView& plan, ShownPlan& shown)
{
    shown.information = plan.information;
    FillCoalRows(shown.coals, plan.coals);
    QStringList names;
    for (const Mei& coal : plan.coals)
        names << coal.MingCheng;
    NameBlendColumns(shown.blends, names);
    FillBlendRows(shown.blends, plan.blends);
}

QString ConvertCaption() { return CoreText::tr("把如下比例转换成吨").words(); }
QString ConvertAgainCaption() { return CoreText::tr("将如下比例转换成吨").words(); }
QString RestoreCaption() { return CoreText::tr("还原").words(); }

Result<TonsOutcome> PressConvert(const AppFolder& folder, int planId, const TonsPress& press, ListData& blends)
{
    TonsOutcome outcome;
    outcome.caption = press.caption;
    if (press.tonnageText.isEmpty())
        return Invalid(CoreText::tr("您要配多少吨，请先填写"));
    if (blends.rowCount() == 0)
        return outcome;
    if (press.caption == RestoreCaption()) {
        const Result<PlanView> plan = LoadPlanView(folder, planId);
        if (!plan)
            return plan.failure();
        FillBlendRows(blends, plan->blends);
        outcome.rowsChanged = true;
        outcome.caption = ConvertAgainCaption();
        return outcome;
    }
    const Result<qint32> tonnage = ParseTonnage(press.tonnageText);
    if (!tonnage)
        return tonnage.failure();

    // One proportion column per participating coal, at most ten.
    const int n = std::min(press.coals.rowCount(), kProportionColumnCount);
    // The plan's stored targets say how it was counted; only a plan stored
    // without them is read from its title, which is in the language of its run.
    bool shovelPlan = IsShovelCountPlan(press.information);
    if (auto connection = ConnectionScope::Open(folder)) {
        if (const auto targets = LoadPlanTargets(planId, n); targets && *targets)
            shovelPlan = (*targets)->shovelMode;
    }
    QStringList weights;
    if (const int column = FindShovelColumn(press.coals); shovelPlan && column >= 0)
        for (int j = 0; j < n; ++j)
            weights << press.coals.cell(j, column);
    QVector<QStringList> proportions;
    proportions.reserve(blends.rowCount());
    for (const ListRow& row : blends.rows) {
        QStringList cells;
        for (int j = 0; j < n; ++j)
            cells << row.cell(kFirstProportionColumn + j);
        proportions << cells;
    }
    const Result<QVector<QStringList>> tons = ConvertToTons(proportions, weights, *tonnage, shovelPlan);
    if (!tons)
        return tons.failure();
    for (int i = 0; i < blends.rowCount(); ++i)
        for (int j = 0; j < n; ++j)
            blends.setCell(i, kFirstProportionColumn + j, (*tons)[i][j]);
    outcome.rowsChanged = true;
    outcome.caption = RestoreCaption();
    return outcome;
}
