#include "data/DaoFunction.h"

#include "data/Dbconnection.h"
#include "data/QualityIndex.h"
#include "workspace/CommonFunction.h"

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

}  // namespace

Mei CoalFromRecord(const QSqlRecord& record)
{
    Mei coal;
    const QVariant name = Field(record, "Name");
    coal.MingCheng = name.isNull() ? QString() : name.toString();
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = FormatIndexValue(Field(record, QualityIndices()[i].column));
    coal.Kucun = FormatIndexValue(Field(record, "kucun"));
    coal.MeiChan = FormatIndexValue(Field(record, "meichan"));
    coal.JiaGe = ToRoundedDouble(Field(record, "JiaGe"));
    return coal;
}

void SaveCoal(const AppFolder& folder, const Mei& coal)
{
    ConnectionScope connection(folder);
    const QStringList columns = ValueColumns();
    QVariantList values = Values(coal);
    if (coal.id == 0) {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        Execute(QStringLiteral("insert into meitan (%1) values (%2)")
                    .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                values);
        return;
    }
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral("=?");
    values << coal.id;
    QSqlQuery query = RunQuery(QStringLiteral("update meitan set %1 where id=?")
                                   .arg(assignments.join(QStringLiteral(", "))),
                               values);
    if (query.numRowsAffected() == 0)
        throw DbError(QStringLiteral("编号为%1的煤种已不存在，可能已被删除，未能保存。").arg(coal.id));
}

Mei LoadCoal(const AppFolder& folder, int id)
{
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(QStringLiteral("select * from meitan where id=?"), {id});
    if (!query.next())
        return Mei();
    return CoalFromRecord(query.record());
}

void DeleteCoal(const AppFolder& folder, int id)
{
    ConnectionScope connection(folder);
    Execute(QStringLiteral("delete from meitan where id=?"), {id});
}
