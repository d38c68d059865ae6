#include "data/CoalTable.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/Dbconnection.h"

#include <QSqlRecord>

namespace {

// Column names of the coal values, in the order they are written.
QStringList ValueColumns()
{
    QStringList columns{QStringLiteral("Name")};
    for (const auto& index : QualityIndices())
        columns << QLatin1String(index.column);
    columns << QStringLiteral("Meichan") << QStringLiteral("kucun") << QStringLiteral("JiaGe")
            << QStringLiteral("riqi");
    return columns;
}

QVariantList Values(const Mei& coal)
{
    QVariantList values{TextValue(coal.MingCheng)};
    for (int i = 0; i < kIndexCount; ++i)
        values << TextValue(IndexValue(coal, i));
    values << TextValue(coal.MeiChan) << TextValue(coal.Kucun) << coal.JiaGe
           << (coal.Riqi.isValid() ? QVariant(coal.Riqi.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                                   : QVariant());
    return values;
}

// A field by name regardless of letter case; Null when the column is absent.
QVariant Field(const QSqlRecord& record, const char* name)
{
    const int at = record.indexOf(QLatin1String(name));
    return at < 0 ? QVariant() : record.value(at);
}

Result<QVector<Mei>> LoadWhere(const AppFolder& folder, const QString& sql, const QVariantList& values)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(sql, values);
    if (!query)
        return query.failure();
    QVector<Mei> coals;
    while (query->next())
        coals << CoalFromRecord(query->record());
    return coals;
}

// The typed text as a LIKE pattern that matches it anywhere, with every
// character standing for itself.
QString ContainsPattern(const QString& typed)
{
    QString escaped;
    escaped.reserve(typed.size() + 2);
    escaped += QLatin1Char('%');
    for (const QChar c : typed) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    escaped += QLatin1Char('%');
    return escaped;
}

// The rows LoadCoals or SearchCoals read: the condition after "from meitan"
// and its values. The table's own order is the order of its row numbers,
// which a full read follows; said outright, a read of fewer columns keeps it.
// In coal.dat the id is that number; a server has no other, so both order
// by id. A name filter needs the shared connection open (ContainsMatch).
std::pair<QString, QVariantList> CoalFilter(const std::optional<QString>& typed)
{
    if (!typed)
        return {QStringLiteral(" order by id"), {}};
    return {QStringLiteral(" where ") + ContainsMatch(QStringLiteral("name")) + QStringLiteral(" order by id"),
            {ContainsPattern(*typed)}};
}

}  // namespace

Mei CoalFromRecord(const QSqlRecord& record)
{
    Mei coal;
    coal.id = Field(record, "id").toInt();
    const QVariant name = Field(record, "Name");
    coal.MingCheng = name.isNull() ? QString() : name.toString();
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = FormatIndexValue(Field(record, QualityIndices()[i].column));
    coal.Kucun = FormatIndexValue(Field(record, "kucun"));
    coal.MeiChan = FormatIndexValue(Field(record, "meichan"));
    coal.JiaGe = ToRoundedDouble(Field(record, "JiaGe"));
    return coal;
}

Result<int> SaveCoal(const AppFolder& folder, const Mei& coal)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const QStringList columns = ValueColumns();
    QVariantList values = Values(coal);
    if (coal.id == 0)
        return InsertRow(QStringLiteral("meitan"), columns, values);
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral("=?");
    values << coal.id;
    auto query = RunQuery(QStringLiteral("update meitan set %1 where id=?").arg(assignments.join(QStringLiteral(", "))),
                          values);
    if (!query)
        return query.failure();
    if (query->numRowsAffected() == 0)
        return Fail(QStringLiteral("编号为%1的煤种已不存在，可能已被删除，未能保存。").arg(coal.id));
    return coal.id;
}

Result<std::optional<Mei>> LoadCoal(const AppFolder& folder, int id)
{
    auto coals = LoadWhere(folder, QStringLiteral("select * from meitan where id=?"), {id});
    if (!coals)
        return coals.failure();
    if (coals->isEmpty())
        return std::optional<Mei>();
    return std::optional<Mei>(coals->constFirst());
}

Status DeleteCoal(const AppFolder& folder, int id)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    return Execute(QStringLiteral("delete from meitan where id=?"), {id});
}

Status DeleteCoals(const AppFolder& folder, const QVector<int>& ids)
{
    auto transaction = WriteTransaction::Begin(folder);
    if (!transaction)
        return transaction.failure();
    for (int id : ids)
        if (Status deleted = Execute(QStringLiteral("delete from meitan where id=?"), {id}); !deleted)
            return deleted;
    return transaction->Commit();
}

Result<int> CountCoals(const AppFolder& folder)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(QStringLiteral("select count(*) as zongshu from meitan"));
    if (!query)
        return query.failure();
    if (!query->next())
        return 0;
    return query->record().value(QStringLiteral("zongshu")).toInt();
}

Result<QVector<Mei>> LoadCoals(const AppFolder& folder)
{
    const auto [condition, values] = CoalFilter(std::nullopt);
    return LoadWhere(folder, QStringLiteral("select * from meitan") + condition, values);
}

Result<QVector<Mei>> SearchCoals(const AppFolder& folder, const QString& typed)
{
    // The condition's words depend on the database.
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    return LoadWhere(folder, QStringLiteral("select * from meitan") + condition, values);
}

Result<QVector<int>> LoadCoalIds(const AppFolder& folder, const std::optional<QString>& typed)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    auto query = RunQuery(QStringLiteral("select id from meitan") + condition, values);
    if (!query)
        return query.failure();
    QVector<int> ids;
    while (query->next())
        ids << query->value(0).toInt();
    return ids;
}

Status VisitCoals(const AppFolder& folder, const std::optional<QString>& typed, const QStringList& columns,
                  const std::function<void(const Mei&)>& visit)
{
    // Only names of meitan's own columns reach the statement.
    const QStringList known = RequiredTables().constFirst().columns;
    QStringList read{QStringLiteral("id")};
    for (const QString& column : columns) {
        if (!known.contains(column, Qt::CaseInsensitive))
            return Fail(QStringLiteral("数据库操作失败：煤种表中没有 %1 这一列").arg(column));
        read << column;
    }
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    auto query = RunQuery(QStringLiteral("select %1 from meitan").arg(read.join(QStringLiteral(", "))) + condition, values);
    if (!query)
        return query.failure();
    while (query->next())
        visit(CoalFromRecord(query->record()));
    return {};
}

Result<QVector<Mei>> LoadCoalsById(const AppFolder& folder, const QVector<int>& ids)
{
    if (ids.isEmpty())
        return QVector<Mei>();
    // The numbers are whole numbers by type; written as decimal digits they
    // cannot carry anything but a number, and a list of thousands of them
    // stays clear of the database's limit on bound values.
    QStringList list;
    list.reserve(ids.size());
    for (int id : ids)
        list << QString::number(id);
    return LoadWhere(folder,
                     QStringLiteral("select * from meitan where id in (%1) order by id").arg(list.join(QLatin1Char(','))),
                     {});
}

Result<QVector<std::pair<QString, int>>> LoadCoalNames(const AppFolder& folder)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(QStringLiteral("select Name, min(id) from meitan group by Name"));
    if (!query)
        return query.failure();
    QVector<std::pair<QString, int>> names;
    while (query->next())
        names.append({query->value(0).toString(), query->value(1).toInt()});
    return names;
}
