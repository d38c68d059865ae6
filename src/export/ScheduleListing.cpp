#include "export/ScheduleListing.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "export/XlsxWriter.h"
#include "history/PlanTargets.h"

#include <cmath>

namespace {

// The indices the plan bounds, in table order.
QVector<int> BoundedIndices(const ScheduleInput& input)
{
    QVector<int> indices;
    for (int i = 0; i < kIndexCount; ++i)
        if (!input.model.lower[i].trimmed().isEmpty() || !input.model.upper[i].trimmed().isEmpty())
            indices << i;
    return indices;
}

QString Cents(double value)
{
    return QString::number(value, 'f', 2);
}

struct Column {
    QString header;
    int width;
};

QVector<Column> Columns(const ScheduleInput& input)
{
    QVector<Column> columns{{CoreText::tr("天").words(), 500}};
    const char* const parts =
        input.model.shovelMode ? QT_TRANSLATE_NOOP("CoreText", "%1铲数") : QT_TRANSLATE_NOOP("CoreText", "%1份数");
    for (const Mei& coal : input.model.coals) {
        columns << Column{Text::Source(parts, {coal.MingCheng}).words(), 1100};
        columns << Column{CoreText::tr("%1吨", coal.MingCheng).words(), 1100};
    }
    for (const int i : BoundedIndices(input))
        columns << Column{Text::Source(QualityIndices()[i].describeLabel).words(), 900};
    columns << Column{CoreText::tr("吨价").words(), 900} << Column{CoreText::tr("当天成本").words(), 1300};
    return columns;
}

}  // namespace

ListData ScheduleList(const ScheduleInput& input, const Schedule& schedule)
{
    ListData list;
    for (const Column& c : Columns(input))
        list.addColumn(c.header, c.width, true);
    const QVector<int> indices = BoundedIndices(input);
    for (int d = 0; d < static_cast<int>(schedule.days.size()); ++d) {
        const ScheduleDay& day = schedule.days[d];
        ListRow row;
        row.text = QString::number(d + 1);
        for (size_t j = 0; j < day.parts.size(); ++j)
            row.subItems << QString::number(day.parts[j]) << Cents(day.tons[j]);
        for (const int i : indices)
            row.subItems << IndexValue(day.blend, i);
        row.subItems << Cents(day.blend.JiaGe) << Cents(day.cost);
        list.rows << row;
    }
    return list;
}

XlsSheet ScheduleSheet(const ScheduleInput& input, const Schedule& schedule, const QString& title)
{
    XlsSheet sheet;
    sheet.name = CoreText::tr("多日配煤计划").words();
    sheet.appendTextRow({title});
    QStringList headers;
    for (const Column& c : Columns(input)) {
        headers << c.header;
        sheet.columnWidths << c.width * 256 / 120;  // twips to 1/256 of a character, roughly
    }
    sheet.appendTextRow(headers);
    const QVector<int> indices = BoundedIndices(input);
    for (int d = 0; d < static_cast<int>(schedule.days.size()); ++d) {
        const ScheduleDay& day = schedule.days[d];
        XlsRow row{XlsCell::fromNumber(d + 1)};
        for (size_t j = 0; j < day.parts.size(); ++j)
            row << XlsCell::fromNumber(day.parts[j]) << XlsCell::fromNumber(ToRoundedDouble(day.tons[j]), 2);
        for (const int i : indices) {
            const std::optional<double> value = ReadNumberText(IndexValue(day.blend, i));
            row << (value ? XlsCell::fromNumber(*value, 2) : XlsCell());
        }
        row << XlsCell::fromNumber(day.blend.JiaGe, 2) << XlsCell::fromNumber(ToRoundedDouble(day.cost), 2);
        sheet.rows << row;
    }
    sheet.rows << XlsRow{XlsCell::fromText(CoreText::tr("总成本").words()), XlsCell::fromNumber(ToRoundedDouble(schedule.totalCost), 2)};
    return sheet;
}

Status ExportScheduleToXlsx(const ScheduleInput& input, const Schedule& schedule, const QString& title,
                            const QString& path)
{
    XlsxLayout layout;
    layout.boldRows = {0, 1};
    layout.frozenRows = 2;
    return WriteXlsxFile(path, ScheduleSheet(input, schedule, title), layout);
}

std::vector<std::vector<double>> StockCurve(const ScheduleInput& input, const Schedule& schedule)
{
    const int k = static_cast<int>(input.model.coals.size());
    std::vector<std::vector<double>> curve(k);
    for (int j = 0; j < k; ++j) {
        double opening = OpeningStock(input.model.coals[j]).value_or(0.0);
        curve[j].push_back(opening);
        for (const ScheduleDay& day : schedule.days)
            curve[j].push_back(j < static_cast<int>(day.stockAfter.size()) ? day.stockAfter[j] : 0.0);
    }
    return curve;
}

Result<QVector<LoaderSheet>> ScheduleLoaderSheets(const ScheduleInput& input, const Schedule& schedule,
                                                  const QString& title, const QDateTime& issued)
{
    PlanTargets targets;
    targets.lower = input.model.lower;
    targets.upper = input.model.upper;
    targets.tonnage = QString::number(input.tonsPerDay, 'g', 12);
    targets.proportionCount = QString::number(input.parts);
    targets.shovelMode = input.model.shovelMode;
    targets.mustInclude = input.model.mustInclude;
    targets.weighting = input.model.weighting;
    const qint32 tonnage = static_cast<qint32>(std::llround(input.tonsPerDay));
    QVector<LoaderSheet> sheets;
    for (int d = 0; d < static_cast<int>(schedule.days.size()); ++d) {
        const ScheduleDay& day = schedule.days[d];
        LoaderSheetSource source;
        source.title = CoreText::tr("%1 第%2天", title, QString::number(d + 1)).words();
        source.date = issued;
        source.coals = input.model.coals;
        source.parts.assign(day.parts.begin(), day.parts.end());
        source.blend = day.blend;
        source.shovelMode = input.model.shovelMode;
        source.targets = targets;
        Result<LoaderSheet> sheet = MakeLoaderSheet(source, tonnage);
        if (!sheet)
            return sheet.failure();
        sheets << std::move(*sheet);
    }
    return sheets;
}
