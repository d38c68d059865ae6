#include "export/ListData.h"

QString ListRow::cell(int column) const
{
    if (column == 0)
        return text;
    if (column < 1 || column > subItems.size())
        return QString();
    return subItems[column - 1];
}

void ListRow::setCell(int column, const QString& value)
{
    if (column == 0) {
        text = value;
        return;
    }
    if (column < 1)
        return;
    while (subItems.size() < column)
        subItems.append(QString());
    subItems[column - 1] = value;
}

int ListData::findColumn(const QString& header) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].header == header)
            return i;
    return -1;
}

QStringList ListData::columnCells(int column) const
{
    QStringList cells;
    cells.reserve(rows.size());
    for (const ListRow& row : rows)
        cells << row.cell(column);
    return cells;
}

int CompareListCells(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
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
