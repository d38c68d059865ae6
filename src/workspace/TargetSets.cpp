#include "workspace/TargetSets.h"

#include "data/Dbconnection.h"
#include "data/Schema.h"

#include <QSet>

#include <algorithm>

namespace {

// A name as it is kept and compared: blanks around dropped, composed as
// every name of the program is.
QString KeptName(const QString& name) { return name.trimmed().normalized(QString::NormalizationForm_C); }

Status CheckName(const QString& name)
{
    if (name.isEmpty())
        return Invalid(CoreText::tr("请在“指标方案”中填写方案名称"));
    if (name.size() > kTargetSetNameLength)
        return Invalid(CoreText::tr("指标方案的名称不能超过%1个字", QString::number(kTargetSetNameLength)));
    return {};
}

QStringList Columns()
{
    QStringList columns{QStringLiteral("mingcheng"), QStringLiteral("zhongliang"), QStringLiteral("chanshu"),
                        QStringLiteral("jizhun")};
    for (int i = 0; i < kIndexCount; ++i)
        columns << TargetSetBoundColumn(i, false) << TargetSetBoundColumn(i, true);
    return columns;
}

}  // namespace

Result<QVector<TargetSet>> LoadTargetSets(const AppFolder& folder)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const QStringList columns = Columns();
    // Newest first: should two planners have saved one name at once, the
    // later one counts.
    auto query = RunQuery(
        QStringLiteral("select %1 from Zhibiao_muban order by id desc").arg(columns.join(QStringLiteral(", "))));
    if (!query)
        return query.failure();
    QVector<TargetSet> sets;
    QSet<QString> seen;
    while (query->next()) {
        TargetSet set;
        set.name = KeptName(query->value(0).toString());
        if (set.name.isEmpty() || seen.contains(set.name))
            continue;
        seen.insert(set.name);
        set.tonnage = query->value(1).toString();
        set.proportionCount = query->value(2).toString();
        set.basisWeighting = query->value(3).toInt() != 0;
        for (int i = 0; i < kIndexCount; ++i) {
            set.lower[i] = query->value(4 + 2 * i).toString();
            set.upper[i] = query->value(5 + 2 * i).toString();
        }
        sets << set;
    }
    std::sort(sets.begin(), sets.end(), [](const TargetSet& a, const TargetSet& b) { return a.name < b.name; });
    return sets;
}

Result<TargetSetSave> SaveTargetSet(const AppFolder& folder, const TargetSet& set, bool replace)
{
    const QString name = KeptName(set.name);
    if (Status checked = CheckName(name); !checked)
        return checked.failure();
    TargetSetSave outcome = TargetSetSave::Saved;
    const Status stored = InTransaction(folder, [&]() -> Status {
        outcome = TargetSetSave::Saved;
        auto existing = RunQuery(QStringLiteral("select id from Zhibiao_muban where mingcheng = ?"), {name});
        if (!existing)
            return existing.status();
        if (existing->next()) {
            if (!replace) {
                outcome = TargetSetSave::Exists;
                return {};
            }
            if (Status deleted = Execute(QStringLiteral("delete from Zhibiao_muban where mingcheng = ?"), {name});
                !deleted)
                return deleted;
        }
        QVariantList values{TextValue(name), TextValue(set.tonnage), TextValue(set.proportionCount),
                            set.basisWeighting ? 1 : 0};
        for (int i = 0; i < kIndexCount; ++i)
            values << TextValue(set.lower[i]) << TextValue(set.upper[i]);
        const Result<int> id = InsertRow(QStringLiteral("Zhibiao_muban"), Columns(), values);
        return id.status();
    });
    if (!stored)
        return stored.failure();
    return outcome;
}

Result<bool> DeleteTargetSet(const AppFolder& folder, const QString& name)
{
    const QString kept = KeptName(name);
    bool found = false;
    const Status deleted = InTransaction(folder, [&]() -> Status {
        auto existing = RunQuery(QStringLiteral("select count(*) from Zhibiao_muban where mingcheng = ?"), {kept});
        if (!existing)
            return existing.status();
        found = existing->next() && existing->value(0).toInt() > 0;
        if (!found)
            return {};
        return Execute(QStringLiteral("delete from Zhibiao_muban where mingcheng = ?"), {kept});
    });
    if (!deleted)
        return deleted.failure();
    return found;
}
