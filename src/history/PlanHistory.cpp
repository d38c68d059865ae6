#include "history/PlanHistory.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"

#include <QSqlRecord>

#include <algorithm>

namespace {

// Name, the fifteen indices, stock, shovel weight and price of a record.
void AppendCoalValues(const Mei& coal, QStringList* columns, QVariantList* values)
{
    *columns << QStringLiteral("Name");
    for (const auto& index : QualityIndices())
        *columns << QLatin1String(index.column);
    *columns << QStringLiteral("kucun") << QStringLiteral("meichan") << QStringLiteral("JiaGe");
    *values << TextValue(coal.MingCheng);
    for (int i = 0; i < kIndexCount; ++i)
        *values << TextValue(IndexValue(coal, i));
    *values << TextValue(coal.Kucun) << TextValue(coal.MeiChan) << coal.JiaGe;
}

Status Insert(const QString& table, const QStringList& columns, const QVariantList& values)
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return Execute(QStringLiteral("insert into %1 (%2) values (%3)")
                       .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                   values);
}

}  // namespace

QVector<PlanBlendRow> DistinctPriceRows(const QVector<PlanBlendRow>& solutions, bool allPricesEqual)
{
    if (allPricesEqual)
        return solutions;
    QVector<PlanBlendRow> kept;
    for (const PlanBlendRow& row : solutions) {
        const bool seen = std::any_of(kept.cbegin(), kept.cend(),
                                      [&](const PlanBlendRow& k) { return k.blend.JiaGe == row.blend.JiaGe; });
        if (!seen)
            kept << row;
    }
    return kept;
}

Result<int> SavePlanHeader(const QString& xinxi)
{
    return InsertRow(QStringLiteral("Lishi_fangan"), {QStringLiteral("xinxi")}, {TextValue(xinxi)});
}

Status SavePlanBlend(int planId, const PlanBlendRow& row, int coalCount)
{
    QStringList columns{QStringLiteral("followid")};
    QVariantList values{planId};
    for (int i = 0; i < coalCount && i < kProportionColumnCount; ++i) {
        columns << QStringLiteral("d%1").arg(i + 1);
        values << row.parts[i];
    }
    AppendCoalValues(row.blend, &columns, &values);
    return Insert(QStringLiteral("Lishi_Peibibiao"), columns, values);
}

Status SavePlanCoals(int planId, const QVector<Mei>& coals)
{
    for (const Mei& coal : coals) {
        QStringList columns{QStringLiteral("followid")};
        QVariantList values{planId};
        AppendCoalValues(coal, &columns, &values);
        if (Status inserted = Insert(QStringLiteral("Lishi_meitan"), columns, values); !inserted)
            return inserted;
    }
    return {};
}

Status SavePlanTargets(int planId, const PlanTargets& targets)
{
    for (int i = 0; i < kIndexCount; ++i) {
        if (targets.lower[i].isEmpty() && targets.upper[i].isEmpty())
            continue;
        if (Status saved = Execute(QStringLiteral("insert into Lishi_zhibiao (followid, zhibiao, xiaxian, shangxian) "
                                                  "values (?, ?, ?, ?)"),
                                   {planId, QString::fromLatin1(QualityIndices()[i].column),
                                    TextValue(targets.lower[i]), TextValue(targets.upper[i])});
            !saved)
            return saved;
    }
    if (targets.weighting.on) {
        for (int i = 0; i < kIndexCount; ++i)
            if (Status saved = Execute(QStringLiteral("insert into Lishi_jizhun (followid, zhibiao, jizhun) values (?, ?, ?)"),
                                       {planId, QString::fromLatin1(QualityIndices()[i].column),
                                        BasisCode(targets.weighting.basis[i])});
                !saved)
                return saved;
    }
    QStringList mustInclude;
    for (int j = 0; j < targets.mustInclude.size(); ++j)
        if (targets.mustInclude[j])
            mustInclude << QString::number(j + 1);
    return Execute(QStringLiteral("insert into Lishi_canshu (followid, zhongliang, chanshu, chan, bixuan) "
                                  "values (?, ?, ?, ?, ?)"),
                   {planId, TextValue(targets.tonnage), TextValue(targets.proportionCount),
                    targets.shovelMode ? 1 : 0, mustInclude.join(QLatin1Char(','))});
}

Result<std::optional<PlanTargets>> LoadPlanTargets(int planId, int coalCount)
{
    auto settings = RunQuery(QStringLiteral("select zhongliang, chanshu, chan, bixuan from Lishi_canshu "
                                            "where followid=? order by id limit 1"),
                             {planId});
    if (!settings)
        return settings.failure();
    if (!settings->next())
        return std::optional<PlanTargets>();
    PlanTargets targets;
    targets.tonnage = settings->value(0).toString();
    targets.proportionCount = settings->value(1).toString();
    targets.shovelMode = settings->value(2).toInt() != 0;
    targets.mustInclude = QVector<bool>(coalCount, false);
    for (const QString& position : settings->value(3).toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int j = position.trimmed().toInt(&ok) - 1;
        if (ok && j >= 0 && j < coalCount)
            targets.mustInclude[j] = true;
    }

    auto bounds = RunQuery(
        QStringLiteral("select zhibiao, xiaxian, shangxian from Lishi_zhibiao where followid=? order by id"), {planId});
    if (!bounds)
        return bounds.failure();
    while (bounds->next()) {
        const QString key = bounds->value(0).toString();
        for (int i = 0; i < kIndexCount; ++i) {
            if (key.compare(QLatin1String(QualityIndices()[i].column), Qt::CaseInsensitive) == 0) {
                targets.lower[i] = bounds->value(1).toString();
                targets.upper[i] = bounds->value(2).toString();
                break;
            }
        }
    }

    // Rows here: the plan was computed with basis weighting. An index without
    // a row, or with a code this program does not know, keeps its default basis.
    auto bases = RunQuery(QStringLiteral("select zhibiao, jizhun from Lishi_jizhun where followid=? order by id"),
                          {planId});
    if (!bases)
        return bases.failure();
    while (bases->next()) {
        targets.weighting.on = true;
        const QString key = bases->value(0).toString();
        for (int i = 0; i < kIndexCount; ++i)
            if (key.compare(QLatin1String(QualityIndices()[i].column), Qt::CaseInsensitive) == 0)
                targets.weighting.basis[i] = BasisFromCode(bases->value(1).toString()).value_or(targets.weighting.basis[i]);
    }
    return std::optional<PlanTargets>(std::move(targets));
}

Result<int> StorePlan(const AppFolder& folder, const NewPlan& plan)
{
    int planId = 0;
    const Status stored = InTransaction(folder, [&]() -> Status {
        const Result<int> header = SavePlanHeader(plan.xinxi);
        if (!header)
            return header.failure();
        planId = *header;
        for (const PlanBlendRow& row : plan.rows)
            if (Status saved = SavePlanBlend(planId, row, static_cast<int>(plan.coals.size())); !saved)
                return saved;
        if (Status saved = SavePlanCoals(planId, plan.coals); !saved)
            return saved;
        if (plan.targets)
            if (Status saved = SavePlanTargets(planId, *plan.targets); !saved)
                return saved;
        return AnnounceChange(kPlansChannel);
    });
    if (!stored)
        return stored.failure();
    return planId;
}

Status DeletePlan(const AppFolder& folder, int planId)
{
    return InTransaction(folder, [&]() -> Status {
        for (const char* sql : {"delete from Lishi_Peibibiao where followid=?", "delete from Lishi_meitan where followid=?",
                                "delete from Lishi_zhibiao where followid=?", "delete from Lishi_canshu where followid=?",
                                "delete from Lishi_jizhun where followid=?", "delete from Lishi_fangan where id=?"})
            if (Status deleted = Execute(QLatin1String(sql), {planId}); !deleted)
                return deleted;
        return AnnounceChange(kPlansChannel);
    });
}

Result<QVector<PlanSummary>> LoadPlanList(const AppFolder& folder, int limit)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(
        QStringLiteral("select id, fanganhao, xinxi, riqi from Lishi_fangan order by id desc limit ?"), {limit});
    if (!query)
        return query.failure();
    QVector<PlanSummary> plans;
    while (query->next()) {
        PlanSummary plan;
        plan.id = query->value(0).toInt();
        plan.fanganhao = query->value(1).toString();
        plan.xinxi = query->value(2).toString();
        plan.riqi = DateTimeValue(query->value(3));
        plans << plan;
    }
    return plans;
}

QString WithoutLineBreaks(const QString& text)
{
    QString out = text;
    out.remove(QStringLiteral("\r\n"));
    return out;
}

Result<PlanView> LoadPlanView(const AppFolder& folder, int planId)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    PlanView view;

    auto info = RunQuery(QStringLiteral("select xinxi from Lishi_fangan where id=? limit 1"), {planId});
    if (!info)
        return info.failure();
    if (info->next() && !info->value(0).isNull())
        view.information = WithoutLineBreaks(info->value(0).toString());

    auto coals = RunQuery(QStringLiteral("select * from Lishi_meitan where followid=? order by id asc"), {planId});
    if (!coals)
        return coals.failure();
    while (coals->next())
        view.coals << CoalFromRecord(coals->record());

    auto rows = RunQuery(QStringLiteral("select * from Lishi_Peibibiao where followid=? order by JiaGe asc"), {planId});
    if (!rows)
        return rows.failure();
    const QSqlRecord record = rows->record();
    std::array<int, kProportionColumnCount> partFields{};
    for (int i = 0; i < kProportionColumnCount; ++i)
        partFields[i] = record.indexOf(QStringLiteral("d%1").arg(i + 1));
    while (rows->next()) {
        PlanBlendRow row;
        const QSqlRecord values = rows->record();
        row.blend = CoalFromRecord(values);
        row.id = row.blend.id;
        row.blend.id = 0;
        for (int i = 0; i < kProportionColumnCount; ++i)
            row.parts[i] = partFields[i] < 0 ? 0.0 : ToNumber(values.value(partFields[i])).value_or(0.0);
        view.blends << row;
    }

    Result<std::optional<PlanTargets>> targets = LoadPlanTargets(planId, static_cast<int>(view.coals.size()));
    if (!targets)
        return targets.failure();
    view.targets = std::move(*targets);
    return view;
}
