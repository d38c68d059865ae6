#include "history/PlanHistory.h"

#include "data/QualityIndex.h"

namespace {

// The value columns a blend row and a coal row share, after Name.
QStringList IndexColumns()
{
    QStringList columns;
    for (const auto& index : QualityIndices())
        columns << QLatin1String(index.column);
    return columns;
}

QString Placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

// Name, the fifteen indices, stock, shovel weight and price of a record.
void AppendCoalValues(const Mei& coal, QStringList* columns, QVariantList* values)
{
    *columns << QStringLiteral("Name") << IndexColumns() << QStringLiteral("kucun")
             << QStringLiteral("meichan") << QStringLiteral("JiaGe");
    *values << TextValue(coal.MingCheng);
    for (int i = 0; i < kIndexCount; ++i)
        *values << TextValue(IndexValue(coal, i));
    *values << TextValue(coal.Kucun) << TextValue(coal.MeiChan) << coal.JiaGe;
}

void Insert(const QString& table, const QStringList& columns, const QVariantList& values)
{
    Execute(QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), Placeholders(columns.size())),
            values);
}

}  // namespace

int SavePlanHeader(const AppFolder& folder, const QString& xinxi)
{
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(QStringLiteral("insert into Lishi_fangan (xinxi) values (?)"),
                               {TextValue(xinxi)});
    return query.lastInsertId().toInt();
}

bool SavePlanBlend(const AppFolder& folder, int planId, const QVector<double>& proportions,
                   const Mei& blend, bool allPricesEqual)
{
    ConnectionScope connection(folder);
    if (!allPricesEqual) {
        QSqlQuery same = RunQuery(
            QStringLiteral("select id from Lishi_Peibibiao where followid=? and JiaGe=? limit 1"),
            {planId, blend.JiaGe});
        if (same.next())
            return false;
    }
    QStringList columns{QStringLiteral("followid")};
    QVariantList values{planId};
    for (int i = 0; i < proportions.size() && i < 10; ++i) {
        columns << QStringLiteral("d%1").arg(i + 1);
        values << proportions[i];
    }
    AppendCoalValues(blend, &columns, &values);
    Insert(QStringLiteral("Lishi_Peibibiao"), columns, values);
    return true;
}

void SavePlanCoals(const AppFolder& folder, int planId, const QVector<Mei>& coals)
{
    ConnectionScope connection(folder);
    for (const Mei& coal : coals) {
        QStringList columns{QStringLiteral("followid")};
        QVariantList values{planId};
        AppendCoalValues(coal, &columns, &values);
        Insert(QStringLiteral("Lishi_meitan"), columns, values);
    }
}

void DeletePlan(const AppFolder& folder, int planId)
{
    ConnectionScope connection(folder);
    Transaction transaction;
    Execute(QStringLiteral("delete from Lishi_Peibibiao where followid=?"), {planId});
    Execute(QStringLiteral("delete from Lishi_meitan where followid=?"), {planId});
    Execute(QStringLiteral("delete from Lishi_fangan where id=?"), {planId});
    transaction.commit();
}

void DeletePlanHeader(const AppFolder& folder, int planId)
{
    ConnectionScope connection(folder);
    Execute(QStringLiteral("delete from Lishi_fangan where id=?"), {planId});
}

QVector<PlanSummary> LoadPlanList(const AppFolder& folder, int limit)
{
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(
        QStringLiteral("select id, fanganhao, xinxi, riqi from Lishi_fangan order by id desc limit ?"),
        {limit});
    QVector<PlanSummary> plans;
    while (query.next()) {
        PlanSummary plan;
        plan.id = query.value(0).toInt();
        plan.fanganhao = query.value(1).toString();
        plan.xinxi = query.value(2).toString();
        plan.riqi = QDateTime::fromString(query.value(3).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        plans << plan;
    }
    return plans;
}

QString LoadPlanInfo(const AppFolder& folder, int planId)
{
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(QStringLiteral("select xinxi from Lishi_fangan where id=? limit 1"), {planId});
    if (!query.next() || query.value(0).isNull())
        return QString();
    return query.value(0).toString();
}

Statement PlanCoalsStatement(int planId)
{
    return {QStringLiteral("select * from Lishi_meitan where followid=? order by id asc"), {planId}};
}

Statement PlanBlendsStatement(int planId)
{
    return {QStringLiteral("select * from Lishi_Peibibiao where followid=? order by JiaGe asc"), {planId}};
}
