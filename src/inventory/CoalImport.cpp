#include "inventory/CoalImport.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/CsvFile.h"
#include "export/XlsFile.h"
#include "export/XlsxFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

// ---------------------------------------------------------------------------
// Reading a file

QString ImportFileFilter()
{
    return QStringLiteral("煤种表格 (*.xlsx *.xls *.csv *.txt)");
}

namespace {

Result<CellTable> ReadXlsTable(const QString& path, const ProgressCallback& progress)
{
    // No sheet has an empty name, so this reads the first sheet.
    const Result<XlsSheet> read = ReadXlsFile(path, QString());
    if (!read)
        return Fail(QStringLiteral("文件 %1 已损坏或不是有效的 Excel 97-2003 工作簿，无法读取。（%2）")
                        .arg(QFileInfo(path).fileName(), read.message()));
    const XlsSheet& sheet = *read;
    CellTable table;
    TableBudget budget(QFileInfo(path).fileName());
    table.rows.reserve(sheet.rows.size());
    for (const XlsRow& row : sheet.rows) {
        TableRow cells;
        for (int c = 0; c < row.size(); ++c) {
            if (row[c].isEmpty())
                continue;
            QString text = row[c].displayText();
            if (!budget.cell(text.size()))
                return Fail(budget.tooMuch());
            cells.append(TableCell{c, std::move(text), row[c].kind == XlsCell::Kind::Number});
        }
        table.rows.append(std::move(cells));
    }
    if (progress && !progress(1, 1))
        return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
    return table;
}

bool LooksLikeWebPage(const QByteArray& head)
{
    const QByteArray lower = head.toLower();
    return lower.contains("<html") || lower.contains("<table") || lower.contains("<!doctype");
}

}  // namespace

Result<CellTable> ReadTableFile(const QString& path, const ProgressCallback& progress)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.exists())
        return Fail(QStringLiteral("找不到文件 %1").arg(path));
    if (info.isDir())
        return Fail(QStringLiteral("%1 是一个文件夹，不是文件。请选择要导入的表格文件。").arg(path));
    // Reading a pipe or a device would wait for ever or never end.
    if (!info.isFile())
        return Fail(QStringLiteral("%1 不是普通文件（而是设备、管道或套接字），无法导入。").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("无法打开文件 %1：%2").arg(name, file.errorString()));
    const QByteArray head = file.read(1024);
    file.close();
    if (head.isEmpty())
        return Fail(QStringLiteral("文件 %1 是空的。").arg(name));

    if (head.startsWith("PK\x03\x04"))
        return ReadXlsxFile(path, progress);
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return ReadXlsTable(path, progress);

    const QString suffix = info.suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xls") {
        QString message = QStringLiteral("文件 %1 不是 Excel 工作簿，无法读取。").arg(name);
        if (LooksLikeWebPage(head))
            message += QStringLiteral("它是网页格式的文件，请用 Excel 打开后另存为 .xlsx 再导入。");
        return Fail(message);
    }
    if (suffix == u"csv" || suffix == u"txt")
        return ReadCsvFile(path, progress);
    return Fail(QStringLiteral("无法导入文件 %1：只能导入 .xlsx、.xls 和 .csv 文件。").arg(name));
}

// ---------------------------------------------------------------------------
// Columns

namespace {

// Marks that say nothing about which value a header names.
bool IsFiller(QChar c)
{
    return c.isSpace() || QStringView(u"*:%,._-·/()[]【】").contains(c);
}

QString WithoutFillers(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!IsFiller(c))
            out += c;
    return out;
}

// Case-folded, full-width forms made plain.
QString Folded(const QString& header)
{
    return header.normalized(QString::NormalizationForm_KC).toCaseFolded().trimmed();
}

// The header without its bracketed parts at the end ("价格(元/吨)" -> "价格"),
// and the text of the last of them ("(Mad)" -> "Mad").
void SplitTrailingBrackets(const QString& folded, QString* head, QString* inside)
{
    QString s = folded;
    inside->clear();
    for (;;) {
        while (!s.isEmpty() && (s.back().isSpace() || s.back() == u'*' || s.back() == u':' || s.back() == u'%'))
            s.chop(1);
        if (s.isEmpty())
            break;
        const QChar close = s.back();
        const QChar open = close == u')' ? u'(' : close == u']' ? u'[' : close == u'】' ? u'【' : QChar();
        if (open.isNull())
            break;
        const qsizetype at = s.lastIndexOf(open);
        if (at < 0)
            break;
        if (inside->isEmpty())
            *inside = s.mid(at + 1, s.size() - at - 2);
        s.truncate(at);
    }
    *head = s;
}

struct Alias {
    int field;
    const char* names;  // separated by '|'
};

QHash<QString, int> BuildAliases()
{
    QHash<QString, int> aliases;
    auto add = [&aliases](int field, const QString& name) {
        const QString key = WithoutFillers(Folded(name));
        if (!key.isEmpty() && !aliases.contains(key))
            aliases.insert(key, field);
    };
    // The program's own captions first.
    add(kImportName, QStringLiteral("名称"));
    add(kImportName, QStringLiteral("煤名称"));
    for (int i = 0; i < kIndexCount; ++i) {
        const QualityIndex& index = QualityIndices()[i];
        add(ImportIndexField(i), QString::fromUtf8(index.listHeader));
        for (const QString& label : QString::fromUtf8(index.captionAliases).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            add(ImportIndexField(i), label);
    }
    for (const char* label : {"库存", "库 存", "库存吨"})
        add(kImportStock, QString::fromUtf8(label));
    for (const char* label : {"每铲重量", "每铲重", "每铲等于"})
        add(kImportShovel, QString::fromUtf8(label));
    add(kImportPrice, QStringLiteral("价格"));

    // What laboratories and yards write instead: words and analysis symbols
    // (basis suffixes ad, d, ar, daf with or without a comma).
    const Alias others[] = {
        {kImportName, "煤名|煤种|煤种名称|煤种名|煤炭名称|品名|名字|name"},
        {ImportIndexField(0), "内水分|内在水分|内水份|mad|minh"},
        {ImportIndexField(1), "全水分|全水份|水分|水份|mt|mar"},
        {ImportIndexField(2), "热量|低位发热量|低位热量|低位热值|收到基低位发热量|热值|qnet|qnetar|qnetad|qnetd|qnetvar"},
        {ImportIndexField(3), "高位发热量|高位热量|高位热值|qgr|qgrad|qgrd|qgrar|qgrvad|qgrvd"},
        {ImportIndexField(5), "硫|全硫|含硫量|硫含量|st|std|stad|star|s"},
        {ImportIndexField(6), "灰|灰份|灰分|a|ad|aad|aar"},
        {ImportIndexField(7), "挥发|挥发份|v|vd|vad|var"},
        {ImportIndexField(8), "vdaf|挥发分vdaf|挥发份vdaf|干燥无灰基挥发分"},
        {ImportIndexField(9), "g|g值|粘结指数|黏结指数|粘结性指数|粘结g|黏结g|gri|grl"},
        {ImportIndexField(10), "y|y值|胶质层|胶质层厚度|胶质层y|胶质层厚度y"},
        {ImportIndexField(11), "fc|fcad|fcd|fcar"},
        {ImportIndexField(12), "可磨性指数|可模性|hgi|哈氏可磨性|哈氏可磨指数|哈氏可磨性指数"},
        {ImportIndexField(13), "灰熔融性|灰熔融温度|灰熔融点|软化温度"},
        {ImportIndexField(14), "精煤回收率|回收"},
        {kImportStock, "库存量|存量|库存数量|库存吨数"},
        {kImportShovel, "铲重|每铲吨数|每铲|每铲吨"},
        {kImportPrice, "单价|煤价|价钱|含税价|含税单价|到厂价"},
        {kRecordNumberColumn, "编号|id"},
    };
    for (const Alias& alias : others)
        for (const QString& name : QString::fromUtf8(alias.names).split(QLatin1Char('|')))
            add(alias.field, name);
    return aliases;
}

const QHash<QString, int>& Aliases()
{
    static const QHash<QString, int> aliases = BuildAliases();
    return aliases;
}

// A key's field, or kUnknownColumn.
int Lookup(const QString& key)
{
    return key.isEmpty() ? kUnknownColumn : Aliases().value(key, kUnknownColumn);
}

}  // namespace

QString ImportFieldLabel(int field)
{
    if (field == kImportName)
        return QStringLiteral("名称");
    if (field >= ImportIndexField(0) && field < ImportIndexField(kIndexCount))
        return QString::fromUtf8(QualityIndices()[field - 1].listHeader);
    if (field == kImportStock)
        return QStringLiteral("库存");
    if (field == kImportShovel)
        return QStringLiteral("每铲重量");
    if (field == kImportPrice)
        return QStringLiteral("价格");
    return QString();
}

int MatchColumnHeader(const QString& header)
{
    const QString folded = Folded(header);
    // The whole header: "挥发分(Vdaf)" is the dry ash-free volatile matter.
    if (const int field = Lookup(WithoutFillers(folded)); field != kUnknownColumn)
        return field;
    // Without a unit in brackets, or the bracketed symbol alone.
    QString head;
    QString inside;
    SplitTrailingBrackets(folded, &head, &inside);
    const QString headKey = WithoutFillers(head);
    if (const int field = Lookup(headKey); field != kUnknownColumn)
        return field;
    if (const int field = Lookup(WithoutFillers(inside)); field != kUnknownColumn)
        return field;
    // A word followed by its symbol ("灰分Ad"): the symbol, else the word.
    qsizetype split = headKey.size();
    while (split > 0 && headKey[split - 1].unicode() < 128)
        --split;
    if (split > 0 && split < headKey.size()) {
        if (const int field = Lookup(headKey.mid(split)); field != kUnknownColumn)
            return field;
        return Lookup(headKey.left(split));
    }
    return kUnknownColumn;
}

// ---------------------------------------------------------------------------
// Preview

int ImportPreview::goodCount() const
{
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return r.ok(); }));
}

int ImportPreview::existingCount() const
{
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return r.ok() && r.existingId != 0; }));
}

QStringList ImportPreview::unknownHeaders() const
{
    QStringList headers;
    for (const ImportColumn& column : columns)
        if (!column.note.isEmpty())
            headers << column.header;
    return headers;
}

namespace {

static_assert(kImportName == kCoalNameField && kImportStock == kCoalStockField && kImportShovel == kCoalShovelField
              && kImportPrice == kCoalPriceField && ImportIndexField(0) == CoalIndexField(0));

QString& ValueOf(Mei& coal, int field)
{
    if (field == kImportStock)
        return coal.Kucun;
    if (field == kImportShovel)
        return coal.MeiChan;
    return IndexValue(coal, field - 1);
}

const QString& ValueOf(const Mei& coal, int field)
{
    return ValueOf(const_cast<Mei&>(coal), field);
}

// A value as the inventory lists it.
QString StoredValueText(const Mei& coal, int field)
{
    if (field == kImportName)
        return coal.MingCheng;
    if (field == kImportPrice)
        return FormatIndexValue(coal.JiaGe);
    return FormatIndexValue(ValueOf(coal, field));
}

// The number a value cell holds: blanks around it allowed, and a "%" after
// it, which is dropped (*percent set). Nothing when the cell is no number.
std::optional<double> CellNumber(const QString& text, bool* percent)
{
    *percent = false;
    if (const auto number = ReadNumberText(text))
        return number;
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.endsWith(u'%') || trimmed.endsWith(u'％')) {
        if (const auto number = ReadNumberText(trimmed.chopped(1))) {
            *percent = true;
            return number;
        }
    }
    return std::nullopt;
}

int FindHeaderRow(const CellTable& table)
{
    for (int r = 0; r < table.rows.size(); ++r)
        for (const TableCell& cell : table.rows[r])
            if (!cell.text.trimmed().isEmpty() && MatchColumnHeader(cell.text) == kImportName)
                return r;
    return -1;
}

QVector<ImportColumn> MatchColumns(const TableRow& header, std::array<int, kImportFieldCount>* columnOf)
{
    columnOf->fill(-1);
    QVector<ImportColumn> columns;
    for (const TableCell& cell : header) {
        ImportColumn column;
        column.column = cell.column;
        column.header = cell.text.trimmed();
        if (column.header.isEmpty())
            continue;
        const int field = MatchColumnHeader(column.header);
        if (field == kRecordNumberColumn) {
            column.field = kRecordNumberColumn;
            column.note = QStringLiteral("编号列，不导入");
        } else if (field == kUnknownColumn) {
            column.note = QStringLiteral("无法识别的列，不导入");
        } else if ((*columnOf)[field] >= 0) {
            column.note = QStringLiteral("与第 %1 列重复，不导入").arg((*columnOf)[field] + 1);
        } else {
            column.field = field;
            (*columnOf)[field] = cell.column;
        }
        columns.append(column);
    }
    return columns;
}

bool IsHeatField(int field)
{
    return field >= ImportIndexField(0) && field < ImportIndexField(kIndexCount)
           && CoalFieldLimits(field).unit == QLatin1String("kcal/kg");
}

// Whether a heat column holds MJ/kg: its header says so, or, when it names
// no unit, every number in it is below what any coal gives in kcal/kg.
// The reason, or "" when the column is in kcal/kg.
QString MegajouleReason(const CellTable& table, int headerRow, int column, const QString& header)
{
    const QString folded = header.normalized(QString::NormalizationForm_KC).toCaseFolded();
    if (folded.contains(QLatin1String("mj")) || folded.contains(QStringLiteral("兆焦")))
        return QStringLiteral("表头写的是 MJ/kg");
    if (folded.contains(QLatin1String("kcal")) || folded.contains(QStringLiteral("卡")))
        return QString();
    int numbers = 0;
    for (int r = headerRow + 1; r < table.rows.size(); ++r) {
        const TableCell* cell = table.cell(r, column);
        if (!cell)
            continue;
        bool percent = false;
        const std::optional<double> number = CellNumber(cell->text, &percent);
        if (!number)
            continue;
        if (*number >= kMegajouleBelow)
            return QString();
        ++numbers;
    }
    return numbers > 0 ? QStringLiteral("全部数值都小于 %1").arg(ShortestNumberText(kMegajouleBelow)) : QString();
}

}  // namespace

Result<ImportPreview> MakeImportPreview(const CellTable& table, const QHash<QString, int>& existing)
{
    const int headerRow = FindHeaderRow(table);
    if (headerRow < 0)
        return Invalid(QStringLiteral("文件中找不到煤名称列（表头中应有“名称”或“煤名称”等列），无法导入。"));

    ImportPreview preview;
    preview.headerRow = headerRow + 1;
    std::array<int, kImportFieldCount> columnOf{};
    preview.columns = MatchColumns(table.rows[headerRow], &columnOf);
    for (int f = 0; f < kImportFieldCount; ++f)
        preview.hasField[f] = columnOf[f] >= 0;
    for (const ImportColumn& column : preview.columns) {
        if (column.field < 0 || !IsHeatField(column.field))
            continue;
        const QString reason = MegajouleReason(table, headerRow, column.column, column.header);
        if (reason.isEmpty())
            continue;
        preview.megajoules[column.field] = true;
        preview.columnNotes << QStringLiteral("%1一列按 MJ/kg 换算为 kcal/kg（乘以 %2），因为%3")
                                   .arg(ImportFieldLabel(column.field), ShortestNumberText(kKcalPerMegajoule), reason);
    }

    QHash<QString, int> firstRowOfName;
    for (int r = headerRow + 1; r < table.rows.size(); ++r) {
        ImportRow row;
        row.fileRow = r + 1;
        bool blank = true;
        std::array<bool, kImportFieldCount> uncomputed{};
        for (int f = 0; f < kImportFieldCount; ++f) {
            if (columnOf[f] < 0)
                continue;
            if (const TableCell* cell = table.cell(r, columnOf[f])) {
                row.texts[f] = cell->text;
                uncomputed[f] = cell->uncomputed;
            }
            blank = blank && row.texts[f].trimmed().isEmpty() && !uncomputed[f];
        }
        if (blank)
            continue;
        auto formulaProblem = [&](int f) {
            row.problems << QStringLiteral("%1（第 %2 列）是公式，文件中没有它的计算结果，请用表格程序打开、保存后再导入")
                                .arg(ImportFieldLabel(f))
                                .arg(columnOf[f] + 1);
        };

        // The name: blanks around it are dropped, they are never meant; a
        // name is one name however its accents are composed.
        const QString name = NormalizedCoalName(row.texts[kImportName].trimmed());
        row.coal.MingCheng = name;
        if (uncomputed[kImportName]) {
            formulaProblem(kImportName);
        } else if (name.isEmpty()) {
            row.problems << QStringLiteral("没有煤名称");
        } else if (const QString problem = CoalNameProblem(name); !problem.isEmpty()) {
            row.problems << problem;
        } else {
            if (name != row.texts[kImportName])
                row.notes << QStringLiteral("去掉了煤名称前后的空格");
            if (const auto earlier = firstRowOfName.constFind(name); earlier != firstRowOfName.constEnd())
                row.problems << QStringLiteral("与第 %1 行的煤名称重复").arg(*earlier);
            else
                firstRowOfName.insert(name, row.fileRow);
            row.existingId = existing.value(name, 0);
        }

        // The price first, as the coal editor checks it, then the values in
        // order, each through the coal rule the editor applies.
        for (int k = 0; k < kImportFieldCount - 1; ++k) {
            const int f = k == 0 ? kImportPrice : k;
            if (uncomputed[f]) {
                formulaProblem(f);
                continue;
            }
            const QString text = row.texts[f].trimmed();
            if (text.isEmpty()) {
                // An update keeps what the inventory has where the file is blank.
                if (f == kImportPrice && row.existingId == 0)
                    row.problems << QStringLiteral("没有价格");
                continue;
            }
            if (const qsizetype at = FindInvisibleCharacter(text); at >= 0) {
                row.problems << QStringLiteral("%1（第 %2 列）含有控制字符或看不见的字符：%3")
                                    .arg(ImportFieldLabel(f))
                                    .arg(columnOf[f] + 1)
                                    .arg(VisibleText(text));
                continue;
            }
            bool percent = false;
            std::optional<double> number = CellNumber(text, &percent);
            if (!number) {
                row.problems << QStringLiteral("%1不是数字：%2").arg(ImportFieldLabel(f), VisibleText(text));
                continue;
            }
            if (percent)
                row.notes << QStringLiteral("%1去掉了百分号").arg(ImportFieldLabel(f));
            if (preview.megajoules[f]) {
                const double converted = *number * kKcalPerMegajoule;
                row.notes << QStringLiteral("%1由 %2 MJ/kg 换算").arg(ImportFieldLabel(f), ShortestNumberText(*number));
                number = converted;
            }
            const ValueVerdict verdict = CheckCoalValue(f, *number);
            if (verdict.fit == ValueFit::Refused) {
                row.problems << verdict.message;
                continue;
            }
            if (verdict.fit == ValueFit::Implausible)
                row.notes << verdict.message;
            if (f == kImportPrice)
                row.coal.JiaGe = ToRoundedDouble(*number);
            else
                ValueOf(row.coal, f) = FormatIndexValue(*number);
        }
        preview.rows.append(std::move(row));
    }
    if (preview.rows.isEmpty())
        return Invalid(QStringLiteral("文件中只有表头，没有可导入的煤种。"));
    return preview;
}

Result<QHash<QString, int>> InventoryNames(const AppFolder& folder)
{
    const Result<QVector<std::pair<QString, int>>> stored = LoadCoalNames(folder);
    if (!stored)
        return Fail(QStringLiteral("无法读取煤库存：%1").arg(stored.message()));
    // A name held twice (blanks around it and the composition of accents
    // aside) stands for its first coal.
    QHash<QString, int> names;
    for (const auto& [name, id] : *stored) {
        const QString trimmed = NormalizedCoalName(name.trimmed());
        if (!trimmed.isEmpty() && (!names.contains(trimmed) || id < names.value(trimmed)))
            names.insert(trimmed, id);
    }
    return names;
}

Result<ImportPreview> ReadImportFile(const AppFolder& folder, const QString& path, const ProgressCallback& progress)
{
    Result<CellTable> table = ReadTableFile(path, progress);
    if (!table)
        return table.failure();
    Result<QHash<QString, int>> names = InventoryNames(folder);
    if (!names)
        return names.failure();
    Result<ImportPreview> preview = MakeImportPreview(*table, *names);
    if (!preview)
        return preview;
    if (Status attached = AttachStoredCoals(folder, *preview); !attached)
        return attached.failure();
    return preview;
}

Status AttachStoredCoals(const AppFolder& folder, ImportPreview& preview)
{
    QVector<int> ids;
    for (const ImportRow& row : preview.rows)
        if (row.ok() && row.existingId != 0)
            ids << row.existingId;
    if (ids.isEmpty())
        return {};
    const Result<QVector<Mei>> stored = LoadCoalsById(folder, ids);
    if (!stored)
        return Fail(QStringLiteral("无法读取煤库存：%1").arg(stored.message()));
    QHash<int, std::shared_ptr<const Mei>> byId;
    for (const Mei& coal : *stored)
        byId.insert(coal.id, std::make_shared<const Mei>(coal));
    for (ImportRow& row : preview.rows) {
        row.stored = row.ok() ? byId.value(row.existingId) : nullptr;
        row.changes.clear();
        if (!row.stored)
            continue;
        for (int f = 0; f < kImportFieldCount; ++f) {
            if (!preview.hasField[f] || (f != kImportName && row.texts[f].trimmed().isEmpty()))
                continue;
            const QString before = StoredValueText(*row.stored, f);
            const QString after = StoredValueText(row.coal, f);
            if (before != after)
                row.changes.append({f, before, after});
        }
    }
    return {};
}

// ---------------------------------------------------------------------------
// Import

QString ImportCounts::message() const
{
    return QStringLiteral("导入 %1 种煤，更新 %2 种，跳过 %3 行").arg(added).arg(updated).arg(skipped);
}

namespace {

constexpr int kRowsPerProgress = 100;

// The stored coal with the values of the file put in; a blank cell, like a
// column the file lacks, keeps the stored value.
Mei Merged(Mei stored, const ImportRow& row, const std::array<bool, kImportFieldCount>& hasField)
{
    stored.MingCheng = row.coal.MingCheng;
    for (int f = 1; f < kImportFieldCount; ++f) {
        if (!hasField[f] || row.texts[f].trimmed().isEmpty())
            continue;
        if (f == kImportPrice)
            stored.JiaGe = row.coal.JiaGe;
        else
            ValueOf(stored, f) = ValueOf(row.coal, f);
    }
    return stored;
}

}  // namespace

Result<ImportCounts> ImportCoals(const AppFolder& folder, const ImportPreview& preview, ExistingNames existing,
                                 const QDateTime& savedAt, const ProgressCallback& progress)
{
    ImportCounts counts;
    const int good = preview.goodCount();
    counts.skipped = preview.rows.size() - good;
    const Failure cancelled = Fail(ImportCancelledMessage(), FailureKind::Cancelled);
    auto failed = [](const QString& why) { return Fail(QStringLiteral("导入失败，没有导入任何煤种：%1").arg(why)); };
    auto transaction = WriteTransaction::Begin(folder);
    if (!transaction)
        return failed(transaction.message());
    const Result<QHash<QString, int>> ids = InventoryNames(folder);
    if (!ids)
        return failed(ids.message());
    int done = 0;
    for (const ImportRow& row : preview.rows) {
        if (!row.ok())
            continue;
        if (progress && done % kRowsPerProgress == 0 && !progress(done, good))
            return cancelled;
        ++done;
        const int id = ids->value(row.coal.MingCheng, 0);
        // A row without a price counted on the stored coal's; if that coal
        // has gone since the preview, the row is no new coal either.
        if ((id != 0 && existing == ExistingNames::Skip) || (id == 0 && row.texts[kImportPrice].trimmed().isEmpty())) {
            ++counts.skipped;
            continue;
        }
        Mei coal = row.coal;
        if (id != 0) {
            const Result<std::optional<Mei>> stored = LoadCoal(folder, id);
            if (!stored)
                return failed(stored.message());
            coal = Merged(stored->value_or(Mei()), row, preview.hasField);
        }
        coal.id = id;
        coal.Riqi = savedAt;
        if (Result<int> saved = SaveCoal(folder, coal); !saved)
            return failed(saved.message());
        ++(id == 0 ? counts.added : counts.updated);
    }
    if (progress && !progress(good, good))
        return cancelled;
    if (Status committed = transaction->Commit(); !committed)
        return failed(committed.message());
    return counts;
}
