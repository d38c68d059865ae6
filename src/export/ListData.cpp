#include "export/ListData.h"

#include "data/QualityIndex.h"
#include "data/iniFunction.h"
#include "workspace/CommonFunction.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <numeric>

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

namespace {

enum class CellRule { Text, Number, Whole };

struct Source {
    QString column;
    CellRule rule;
};

// Where each column of a layout takes its cell from; the first entry is the id.
QVector<Source> CoalSources()
{
    QVector<Source> sources{{QStringLiteral("id"), CellRule::Text},
                            {QStringLiteral("Name"), CellRule::Text}};
    for (const QualityIndex& index : QualityIndices())
        sources.append({QLatin1String(index.column), CellRule::Number});
    sources.append({QStringLiteral("Kucun"), CellRule::Number});
    sources.append({QStringLiteral("MeiChan"), CellRule::Number});
    sources.append({QStringLiteral("JiaGe"), CellRule::Number});
    return sources;
}

QVector<Source> BlendSources()
{
    QVector<Source> sources{{QStringLiteral("id"), CellRule::Text}};
    for (int i = 1; i <= kProportionColumnCount; ++i)
        sources.append({QStringLiteral("d%1").arg(i), CellRule::Whole});
    for (const QualityIndex& index : QualityIndices())
        sources.append({QLatin1String(index.column), CellRule::Number});
    sources.append({QStringLiteral("JiaGe"), CellRule::Number});
    return sources;
}

QString CellText(const QVariant& value, CellRule rule)
{
    switch (rule) {
    case CellRule::Number: return FormatIndexValue(value);
    case CellRule::Whole: return QString::number(ToLongOrZero(value));
    case CellRule::Text: break;
    }
    return value.isNull() ? QString() : value.toString();
}

void FillRows(ListData& list, const Statement& statement, const QVector<Source>& sources)
{
    list.clearRows();
    QSqlQuery query = RunQuery(statement);
    query.setForwardOnly(true);
    // Look the columns up once: field names match regardless of letter case.
    const QSqlRecord record = query.record();
    QVector<int> fields;
    fields.reserve(sources.size());
    for (const Source& source : sources) {
        const int field = record.indexOf(source.column);
        if (field < 0)
            throw DbError(QStringLiteral("查询结果中没有列 %1").arg(source.column));
        fields.append(field);
    }
    while (query.next()) {
        ListRow row;
        row.text = CellText(query.value(fields[0]), sources[0].rule);
        row.subItems.reserve(sources.size() - 1);
        for (int i = 1; i < sources.size(); ++i)
            row.subItems.append(CellText(query.value(fields[i]), sources[i].rule));
        list.rows.append(std::move(row));
    }
}

}  // namespace

void SetupCoalColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(QStringLiteral("编号"), 800);
    list.addColumn(QStringLiteral("名称"), 1800);
    for (const QualityIndex& index : QualityIndices())
        list.addColumn(QString::fromUtf8(index.listHeader), 900);
    list.addColumn(QStringLiteral("库存"), 900);
    list.addColumn(QStringLiteral("每铲重量"), 900);
    list.addColumn(QStringLiteral("价格"), 900);
}

int BlendColumnWidth(int screenWidthPixels)
{
    if (screenWidthPixels < 1280)
        return 700;
    if (screenWidthPixels < 1440)
        return 810;
    if (screenWidthPixels < 1600)
        return 900;
    if (screenWidthPixels < 1920)
        return 1000;
    return 1200;
}

void SetupBlendColumns(ListData& list, int screenWidthPixels)
{
    const int w = BlendColumnWidth(screenWidthPixels);
    list.clearColumns();
    list.addColumn(QStringLiteral("序"), 0);
    for (int i = 1; i <= kProportionColumnCount; ++i)
        list.addColumn(QStringLiteral("D%1").arg(i), w);
    for (const QualityIndex& index : QualityIndices())
        list.addColumn(QString::fromUtf8(index.listHeader), w);
    list.addColumn(QStringLiteral("价格"), w + 100);
}

void NameBlendColumns(ListData& list, const QString& names)
{
    const int last = std::min<int>(kFirstProportionColumn + kProportionColumnCount, list.columnCount());
    for (int c = kFirstProportionColumn; c < last; ++c)
        list.columns[c].header = QStringLiteral("d%1").arg(c - kFirstProportionColumn + 1);
    if (names.isEmpty())
        return;
    const QStringList parts = names.split(QLatin1Char(','));
    for (int i = 0; i < parts.size() && i < kProportionColumnCount; ++i) {
        const int c = kFirstProportionColumn + i;
        if (c < list.columnCount())
            list.columns[c].header = parts[i];
    }
}

void FillCoalRows(ListData& list, const Statement& statement)
{
    static const QVector<Source> sources = CoalSources();
    FillRows(list, statement, sources);
}

void FillBlendRows(ListData& list, const Statement& statement)
{
    static const QVector<Source> sources = BlendSources();
    FillRows(list, statement, sources);
}

void FillCoalRows(ListData& list, const AppFolder& folder, const Statement& statement)
{
    ConnectionScope connection(folder);
    FillCoalRows(list, statement);
}

void FillBlendRows(ListData& list, const AppFolder& folder, const Statement& statement)
{
    ConnectionScope connection(folder);
    FillBlendRows(list, statement);
}

void SortRows(ListData& list, int column, Qt::SortOrder order)
{
    auto less = [column](const ListRow& a, const ListRow& b) {
        return QString::compare(a.cell(column), b.cell(column), Qt::CaseInsensitive) < 0;
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(list.rows.begin(), list.rows.end(), less);
    else
        std::stable_sort(list.rows.begin(), list.rows.end(),
                         [&less](const ListRow& a, const ListRow& b) { return less(b, a); });
}

HiddenIndexSettings ReadHiddenIndexSettings(const AppFolder& folder)
{
    HiddenIndexSettings keys;
    for (const QualityIndex& index : QualityIndices()) {
        const QString key = QLatin1String(index.hideKey);
        if (!key.isEmpty() && ReadIniInt(folder, kConfigSection, key) == 1)
            keys << key;
    }
    return keys;
}

void HideUnusedColumns(ListData& list, const HiddenIndexSettings& settings)
{
    for (const QualityIndex& index : QualityIndices()) {
        const QString key = QLatin1String(index.hideKey);
        if (key.isEmpty() || !settings.contains(key))
            continue;
        // The caking index and the plastic layer go by their letter, wherever
        // it stands in a header; the others by their exact label.
        const bool byLetter = key.size() == 1;
        const QString label = QString::fromUtf8(index.listHeader);
        for (ListColumn& column : list.columns) {
            const bool match = byLetter ? column.header.contains(key, Qt::CaseSensitive)
                                        : column.header == label;
            if (match)
                column.width = 0;
        }
    }
}
