#include "inventory/ImportPreviewList.h"

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
                       [](const QString& note) { return note.endsWith(QStringLiteral("百分号")); });
}

}  // namespace

QString ImportProblemStatus()
{
    return QStringLiteral("有问题");
}

QString ImportRowStatus(const ImportRow& row, ExistingNames existing)
{
    if (!row.ok())
        return ImportProblemStatus();
    if (row.existingId == 0)
        return QStringLiteral("新增");
    return existing == ExistingNames::Update ? QStringLiteral("更新") : QStringLiteral("跳过");
}

ListData ImportPreviewList(const ImportPreview& preview, ExistingNames existing)
{
    ListData list;
    list.addColumn(QStringLiteral("行号"), 700);
    list.addColumn(QStringLiteral("状态"), 800);
    list.addColumn(ImportFieldLabel(kImportName), 1600);
    list.addColumn(QStringLiteral("问题或说明"), 3600);
    QVector<int> fields;
    for (int f = 1; f < kImportFieldCount; ++f) {
        if (!preview.hasField[f])
            continue;
        fields << f;
        list.addColumn(ImportFieldLabel(f), 900);
    }

    list.rows.reserve(preview.rows.size());
    for (const ImportRow& row : preview.rows) {
        ListRow line;
        line.text = QString::number(row.fileRow);
        line.subItems.reserve(kPreviewFirstValue - 1 + fields.size());
        line.subItems << ImportRowStatus(row, existing);
        line.subItems << (row.ok() ? row.coal.MingCheng : row.texts[kImportName].trimmed());
        line.subItems << (row.problems + row.notes).join(QStringLiteral("；"));
        for (int f : fields)
            line.subItems << (row.ok() ? StoredText(row.coal, f) : row.texts[f].trimmed());
        list.rows.append(std::move(line));
    }
    return list;
}

QString ImportSummaryText(const ImportPreview& preview)
{
    QString text = QStringLiteral("共 %1 行：%2 行可以导入，%3 行有问题不导入。")
                       .arg(preview.rows.size())
                       .arg(preview.goodCount())
                       .arg(preview.problemCount());
    if (const int existing = preview.existingCount(); existing > 0)
        text += QStringLiteral("其中 %1 种煤库存中已有同名煤种。").arg(existing);
    const auto percent = std::count_if(preview.rows.cbegin(), preview.rows.cend(), DroppedPercent);
    if (percent > 0)
        text += QStringLiteral("%1 行的数值去掉了百分号，见“问题或说明”列。").arg(percent);
    return text;
}

QString UnknownColumnsText(const ImportPreview& preview)
{
    QStringList parts;
    for (const ImportColumn& column : preview.columns)
        if (!column.note.isEmpty())
            parts << QStringLiteral("第 %1 列“%2”：%3").arg(column.column + 1).arg(column.header, column.note);
    if (parts.isEmpty())
        return QString();
    return QStringLiteral("不导入的列：") + parts.join(QStringLiteral("；"));
}
