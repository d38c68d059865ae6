#include "inventory/CoalQueries.h"

#include "data/DaoFunction.h"

#include <QSqlQuery>
#include <QSqlRecord>

int CountCoals(const AppFolder& folder)
{
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(QStringLiteral("select count(*) as zongshu from meitan"));
    if (!query.next())
        return 0;
    return query.record().value(QStringLiteral("zongshu")).toInt();
}

Statement AllCoalsStatement()
{
    return {QStringLiteral("select * from meitan"), {}};
}

Statement SearchStatement(const QString& typed)
{
    return {QStringLiteral("select * from meitan where name like '%' || ? || '%'"),
            {TextValue(typed)}};
}

bool SearchTextMissing(const QString& typed)
{
    for (QChar c : typed)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

QVector<int> IdsFromKeys(const QStringList& keys)
{
    QVector<int> ids;
    ids.reserve(keys.size());
    for (const QString& key : keys) {
        bool ok = false;
        const int id = key.toInt(&ok);
        if (ok && id > 0)
            ids << id;
    }
    return ids;
}

QVector<Mei> LoadCoalsById(const AppFolder& folder, const QVector<int>& ids)
{
    QVector<Mei> coals;
    if (ids.isEmpty())
        return coals;
    // The numbers are whole numbers by type; written as decimal digits they
    // cannot carry anything but a number, and a list of thousands of them
    // stays clear of the database's limit on bound values.
    QStringList list;
    list.reserve(ids.size());
    for (int id : ids)
        list << QString::number(id);
    ConnectionScope connection(folder);
    QSqlQuery query = RunQuery(QStringLiteral("select * from meitan where id in (%1) order by id")
                                   .arg(list.join(QLatin1Char(','))));
    while (query.next()) {
        const QSqlRecord record = query.record();
        Mei coal = CoalFromRecord(record);
        coal.id = record.value(QStringLiteral("id")).toInt();
        coals << coal;
    }
    return coals;
}

void DeleteCoals(const AppFolder& folder, const QVector<int>& ids)
{
    ConnectionScope connection(folder);
    Transaction transaction;
    for (int id : ids)
        DeleteCoal(folder, id);
    transaction.commit();
}
