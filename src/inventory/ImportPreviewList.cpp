#include "inventory/ImportPreviewList.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"

#include <algorithm>

namespace {

// The stored form of a value of a good row.
QString StoredText(const Mei& coal, int field)
{
    if (field == kImportPrice)
        return FormatIndexValue(coal.JiaGe);
    if (field == kImportStock)
        return coal.Kucun;
    if (field == kImportShovel)
        return coal.MeiChan;
    return IndexValue(coal, field - 1);
}

bool DroppedPercent(const ImportRow& row)
{
    return std::any_of(row.notes.cbegin(), row.notes.cend(),
                       [](const Text& note) { return note.chinese().endsWith(QStringLiteral("百分号")); });
}

bool Unusual(const ImportRow& row)
{
    return std::any_of(row.notes.cbegin(), row.notes.cend(),
                       [](const Text& note) { return note.chinese().contains(QStringLiteral("常见范围")); });
}

// Texts one after another, as one.
Text Joined(const QList<Text>& texts)
{
    Text text = texts.value(0);
    for (qsizetype i = 1; i < texts.size(); ++i)
        text = CoreText::tr("%1；%2", text, texts[i]);
    return text;
}

// About how wide a text shows in the lists' font, in twips: a Chinese
// character takes about twice the room of a Latin one.
int TextTwips(const QString& text)
{
    int twips = 0;
    for (QChar c : text)
        twips += c.unicode() < 0x2E80 ? 110 : 200;
    return twips;
}

// A value cell of a good row: what the import will store. Where an update
// changes a stored value it shows both; a blank cell shows the stored value
// it keeps.
QString ValueCell(const ImportRow& row, int field, bool update)
{
    if (update && row.stored) {
        for (const FieldChange& change : row.changes)
            if (change.field == field)
                return ChangeText(change).words();
        if (row.texts[field].trimmed().isEmpty())
            return StoredText(*row.stored, field);
    }
    return StoredText(row.coal, field);
}

// The caption of a value column, with its unit.
QString ValueCaption(int field)
{
    const Text caption = CoalFieldLimits(field).unit.isEmpty()
                             ? ImportFieldText(field)
                             : CoreText::tr("%1(%2)", ImportFieldText(field), UnitText(field));
    return caption.words();
}

}  // namespace

Text ChangeText(const FieldChange& change)
{
    return Text::Source("%1 → %2", {change.before.isEmpty() ? CoreText::tr("空") : Text(change.before),
                                    change.after.isEmpty() ? CoreText::tr("空") : Text(change.after)});
}

Text ImportProblemStatus()
{
    return CoreText::tr("有问题");
}

Text ImportRowStatus(const ImportRow& row, ExistingNames existing)
{
    if (!row.ok())
        return ImportProblemStatus();
    if (row.existingId == 0)
        return CoreText::tr("新增");
    return existing == ExistingNames::Update ? CoreText::tr("更新") : CoreText::tr("跳过");
}

ListData ImportPreviewList(const ImportPreview& preview, ExistingNames existing)
{
    ListData list;
    // The list holds words: it is shown as it stands.
    list.addColumn(CoreText::tr("行号").words(), 700);
    list.addColumn(CoreText::tr("状态").words(), 800);
    list.addColumn(ImportFieldText(kImportName).words(), 1600);
    list.addColumn(CoreText::tr("问题或说明").words(), 3600);
    QVector<int> fields;
    for (int f = 1; f < kImportFieldCount; ++f) {
        if (!preview.hasField[f])
            continue;
        fields << f;
        list.columns.append({ValueCaption(f), 900, FieldLimitsTip(f).words()});
    }
    const bool update = existing == ExistingNames::Update;

    list.rows.reserve(preview.rows.size());
    for (const ImportRow& row : preview.rows) {
        ListRow line;
        line.text = QString::number(row.fileRow);
        line.subItems.reserve(kPreviewFirstValue - 1 + fields.size());
        line.subItems << ImportRowStatus(row, existing).words();
        line.subItems << (row.ok() ? row.coal.MingCheng : VisibleText(row.texts[kImportName].trimmed()));
        QList<Text> notes = row.problems + row.notes;
        if (row.ok() && update && row.stored && row.changes.isEmpty())
            notes << CoreText::tr("与库存中的相同");
        line.subItems << Joined(notes).words();
        for (int f : fields)
            line.subItems << (row.ok() ? ValueCell(row, f, update) : VisibleText(row.texts[f].trimmed()));
        list.rows.append(std::move(line));
    }
    // Columns as wide as what they show, within bounds: the notes may be
    // long (the full text is the cell's tooltip), and an update's "old → new"
    // needs twice a value's room.
    // Both choices give the same widths, so that switching keeps the columns.
    QVector<int> widest(list.columnCount(), 0);
    for (int c = kPreviewNotes; c < list.columnCount(); ++c)
        widest[c] = TextTwips(list.columns[c].header);
    for (int r = 0; r < list.rowCount(); ++r) {
        const ImportRow& row = preview.rows[r];
        widest[kPreviewNotes] = std::max(widest[kPreviewNotes], TextTwips(list.rows[r].cell(kPreviewNotes)));
        for (int k = 0; k < fields.size(); ++k) {
            const int c = kPreviewFirstValue + k;
            widest[c] = std::max(widest[c], TextTwips(list.rows[r].cell(c)));
            if (row.ok())
                widest[c] = std::max(widest[c], TextTwips(ValueCell(row, fields[k], true)));
        }
    }
    for (int c = kPreviewNotes; c < list.columnCount(); ++c) {
        list.columns[c].width = c == kPreviewNotes ? std::clamp(widest[c] + 240, 3600, 6600)
                                                   : std::clamp(widest[c] + 240, 900, 3000);
    }
    return list;
}

Text ImportSummaryText(const ImportPreview& preview)
{
    // Each sentence follows the one before it.
    Text text = CoreText::tr("共 %1 行：%2 行可以导入，%3 行有问题不导入。", QString::number(preview.rows.size()),
                             QString::number(preview.goodCount()), QString::number(preview.problemCount()));
    const auto then = [&text](const Text& more) { text = Text::Source("%1%2", {text, more}); };
    if (const int existing = preview.existingCount(); existing > 0)
        then(CoreText::tr("其中 %1 种煤库存中已有同名煤种。", QString::number(existing)));
    const auto percent = std::count_if(preview.rows.cbegin(), preview.rows.cend(), DroppedPercent);
    if (percent > 0)
        then(CoreText::tr("%1 行的数值去掉了百分号，见“问题或说明”列。", QString::number(percent)));
    for (const Text& note : preview.columnNotes)
        then(CoreText::tr("%1。", note));
    const auto unusual = std::count_if(preview.rows.cbegin(), preview.rows.cend(), Unusual);
    if (unusual > 0)
        then(CoreText::tr("%1 行有数值不在常见范围内，请核对。", QString::number(unusual)));
    return text;
}

Text UnknownColumnsText(const ImportPreview& preview)
{
    QList<Text> parts;
    for (const ImportColumn& column : preview.columns)
        if (!column.note.isEmpty())
            parts << CoreText::tr("第 %1 列“%2”：%3", QString::number(column.column + 1), column.header, column.note);
    if (parts.isEmpty())
        return Text();
    return CoreText::tr("不导入的列：%1", Joined(parts));
}
