#include "history/PlanSearch.h"

#include "data/Dbconnection.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString DayStart(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QString Escaped(const QString& word)
{
    QString escaped;
    for (const QChar c : word) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

}  // namespace

Result<PlanQuery> MakePlanQuery(const QString& typed, bool useDays, const QDate& from, const QDate& to)
{
    PlanQuery query;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    query.words = typed.split(blanks, Qt::SkipEmptyParts);
    if (useDays) {
        if (from.isValid() && to.isValid() && from > to)
            return Invalid(CoreText::tr("开始日期 %1 晚于结束日期 %2。", from.toString(QStringLiteral("yyyy-MM-dd")),
                                        to.toString(QStringLiteral("yyyy-MM-dd"))));
        if (from.isValid())
            query.from = from;
        if (to.isValid())
            query.to = to;
    }
    return query;
}

Result<PlanPage> SearchPlans(const AppFolder& folder, const PlanQuery& query, int page, int pageSize)
{
    // The condition's words depend on the database.
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    QStringList conditions;
    QVariantList values;
    for (const QString& word : query.words) {
        conditions << ContainsMatch(QStringLiteral("xinxi"));
        values << QStringLiteral("%") + Escaped(word) + QStringLiteral("%");
    }
    if (query.from) {
        conditions << QStringLiteral("riqi >= ?");
        values << DayStart(*query.from);
    }
    if (query.to) {
        conditions << QStringLiteral("riqi < ?");
        values << DayStart(query.to->addDays(1));
    }
    const QString where =
        conditions.isEmpty() ? QString() : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));

    auto counted = RunQuery(QStringLiteral("select count(*) from Lishi_fangan") + where, values);
    if (!counted)
        return counted.failure();
    PlanPage result;
    result.total = counted->next() ? counted->value(0).toInt() : 0;
    pageSize = std::max(1, pageSize);
    result.pageCount = std::max(1, (result.total + pageSize - 1) / pageSize);
    result.page = std::clamp(page, 1, result.pageCount);
    auto rows = RunQuery(QStringLiteral("select id, fanganhao, xinxi, riqi from Lishi_fangan") + where
                             + QStringLiteral(" order by id desc limit ? offset ?"),
                         values + QVariantList{pageSize, (result.page - 1) * pageSize});
    if (!rows)
        return rows.failure();
    while (rows->next()) {
        PlanSummary plan;
        plan.id = rows->value(0).toInt();
        plan.fanganhao = rows->value(1).toString();
        plan.xinxi = rows->value(2).toString();
        plan.riqi = DateTimeValue(rows->value(3));
        result.plans << plan;
    }
    return result;
}
