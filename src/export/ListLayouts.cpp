#include "export/ListLayouts.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"

#include <QLocale>

namespace {

const char* const kShovelHeader = QT_TRANSLATE_NOOP("CoreText", "每铲重量");

// Proportion columns are wider on wider screens.
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

}  // namespace

void SetupCoalColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(CoreText::tr("编号").words(), 800, true);
    list.addColumn(CoreText::tr("名称").words(), 1800);
    for (const QualityIndex& index : QualityIndices())
        list.addColumn(Text::Source(index.listHeader).words(), 900, true);
    list.addColumn(CoreText::tr("库存").words(), 900, true);
    list.addColumn(Text::Source(kShovelHeader).words(), 900, true);
    list.addColumn(CoreText::tr("价格").words(), 900, true);
}


void SetupBlendColumns(ListData& list, int screenWidthPixels)
{
    const int w = BlendColumnWidth(screenWidthPixels);
    list.clearColumns();
    list.addColumn(CoreText::tr("序").words(), 0, true);
    for (int i = 1; i <= kProportionColumnCount; ++i)
        list.addColumn(QStringLiteral("D%1").arg(i), w, true);
    for (const QualityIndex& index : QualityIndices())
        list.addColumn(Text::Source(index.listHeader).words(), w, true);
    list.addColumn(CoreText::tr("价格").words(), w + 100, true);
}

void NameBlendColumns(ListData& list, const QStringList& names)
{
    const int last = std::min(kFirstProportionColumn + kProportionColumnCount, list.columnCount());
    for (int c = kFirstProportionColumn; c < last; ++c) {
        const int i = c - kFirstProportionColumn;
        list.columns[c].header = i < names.size() ? names[i] : QStringLiteral("d%1").arg(i + 1);
    }
}

void SetupPlanListColumns(ListData& list)
{
    list.clearColumns();
    list.addColumn(CoreText::tr("编号").words(), 0, true);
    list.addColumn(CoreText::tr("方案名称").words(), 2000);
    list.addColumn(CoreText::tr("方案日期").words(), 1800);
}

ListRow CoalRow(const Mei& coal)
{
    ListRow row;
    row.text = QString::number(coal.id);
    row.subItems.reserve(kCoalColumnCount - 1);
    row.subItems << coal.MingCheng;
    for (int i = 0; i < kIndexCount; ++i)
        row.subItems << IndexValue(coal, i);
    row.subItems << coal.Kucun << coal.MeiChan << FormatIndexValue(coal.JiaGe);
    return row;
}

QString CoalColumnField(int column)
{
    if (column <= 0 || column >= kCoalColumnCount)
        return QStringLiteral("id");
    if (column == 1)
        return QStringLiteral("Name");
    if (column - 2 < kIndexCount)
        return QLatin1String(QualityIndices()[column - 2].column);
    static const QString rest[] = {QStringLiteral("kucun"), QStringLiteral("meichan"), QStringLiteral("JiaGe")};
    return rest[column - 2 - kIndexCount];
}

void FillCoalRows(ListData& list, const QVector<Mei>& coals)
{
    list.clearRows();
    list.rows.reserve(coals.size());
    for (const Mei& coal : coals)
        list.rows.append(CoalRow(coal));
}

void FillBlendRows(ListData& list, const QVector<PlanBlendRow>& rows)
{
    list.clearRows();
    list.rows.reserve(rows.size());
    for (const PlanBlendRow& blend : rows) {
        ListRow row;
        row.text = QString::number(blend.id);
        row.subItems.reserve(kBlendColumnCount - 1);
        for (double part : blend.parts)
            row.subItems << QString::number(ToLongOrZero(part));
        for (int i = 0; i < kIndexCount; ++i)
            row.subItems << IndexValue(blend.blend, i);
        row.subItems << FormatIndexValue(blend.blend.JiaGe);
        list.rows.append(std::move(row));
    }
}

void FillPlanList(ListData& list, const QVector<PlanSummary>& plans)
{
    list.clearRows();
    const QLocale locale;
    for (const PlanSummary& plan : plans) {
        ListRow row;
        row.text = QString::number(plan.id);
        row.subItems << WithoutLineBreaks(plan.xinxi)
                     << (plan.riqi.isValid() ? locale.toString(plan.riqi, QLocale::ShortFormat) : QString());
        list.rows.append(std::move(row));
    }
}

int FindShovelColumn(const ListData& coals)
{
    return coals.findColumn(Text::Source(kShovelHeader).words());
}

void HideUnusedColumns(ListData& list, const Settings& settings)
{
    for (const QualityIndex& index : QualityIndices()) {
        const QString key = QLatin1String(index.hideKey);
        if (key.isEmpty() || !settings.hides(key))
            continue;
        // The caking index and the plastic layer go by their letter, wherever
        // it stands in a header; the others by their exact label.
        const bool byLetter = key.size() == 1;
        const QString label = Text::Source(index.listHeader).words();
        for (ListColumn& column : list.columns) {
            const bool match = byLetter ? column.header.contains(key, Qt::CaseSensitive) : column.header == label;
            if (match)
                column.width = 0;
        }
    }
}
